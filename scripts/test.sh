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
# The normal suite runs while the sanitizer build compiles: many of its tests
# wait on child processes, and the compiler fills those gaps. Its output is
# shown when it ends; either suite failing fails the run.
log="$root/build/normal-suite.log"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 -j 2 > "$log" 2>&1) &
normal=$!
status=0
"$root/scripts/test_sanitized.sh" || status=$?
normal_status=0
wait "$normal" || normal_status=$?
echo "== the normal suite"
cat "$log"
if ((normal_status != 0)); then status=$normal_status; fi
exit "$status"
