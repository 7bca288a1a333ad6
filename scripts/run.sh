#!/usr/bin/env bash
# Fresh machine to running program: packages, build, run directory, start.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DQUENDROLT_BUILD_TESTS=OFF
cd "$root/run"
exec ./quendrolt
