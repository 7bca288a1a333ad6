#!/usr/bin/env bash
# Fresh machine to passing tests: packages, build, every test headless; then
# the same suite again built with clang's AddressSanitizer and
# UndefinedBehaviorSanitizer, with every fuzz harness replaying its committed
# corpus and reproducers. Nothing here explores at random: the same commit
# gets the same verdict on every run (exploring is scripts/fuzz.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
# The benchmarks are built by scripts/bench.sh, not here: CI has 20 minutes.
"$root/scripts/build.sh" -DQUENDROLT_BUILD_TESTS=ON -DQUENDROLT_BUILD_BENCHMARKS=OFF -DQUENDROLT_WERROR=ON
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
# Three at a time on two cores: many tests wait on child processes.
ctest --output-on-failure --timeout 900 -j 3

"$root/scripts/test_sanitized.sh"
