#!/usr/bin/env bash
# Configures and builds in Release into build/, then lays out the run
# directory run/ with cmake --install: the program, the tester and the two
# help texts. Extra arguments go to the configure step, for example
# -DQUENDROLT_BUILD_TESTS=OFF to build only what runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build --parallel "$(nproc)"
cmake --install build --prefix run --component run > /dev/null
