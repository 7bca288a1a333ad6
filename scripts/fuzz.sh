#!/usr/bin/env bash
# Explores: builds the libFuzzer harnesses of tests/fuzz with clang in
# build-fuzz/ (every library with coverage for the fuzzer) and runs each for
# the given seconds (60 by default), starting from its committed corpus.
# New inputs it finds stay in build-fuzz/corpus/<harness>/, never in the
# source tree; a crash or a failed property is written to
# build-fuzz/artifacts/<harness>-crash-<sha1> (or -leak-, -timeout-, -oom-)
# and named at the end. Each finding becomes a committed reproducer in
# tests/fuzz/reproducers/<harness>/ (replayed by the sanitizer suite in CI)
# and a unit test of the fix.
# Usage: scripts/fuzz.sh [seconds-per-harness] [harness...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/sanitizer_env.sh"
# Leaks are looked for by the sanitizer suite; libFuzzer's own check would
# stop a harness at the first Qt or GMP cache it keeps to the end.
export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
# The readers under test write and fsync scratch files for every input: in
# memory when the machine has /dev/shm, or the disk sets the pace.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
seconds="${1:-60}"
shift || true
cd "$root"

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
  for source in tests/fuzz/*_fuzz.cpp; do
    name="$(basename "$source" .cpp)"
    harnesses+=("${name%_fuzz}")
  done
fi

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DQUENDROLT_FUZZ=ON -DQUENDROLT_BUILD_TESTS=OFF \
      -DQUENDROLT_BUILD_BENCHMARKS=OFF -DQUENDROLT_WERROR=ON > /dev/null
targets=()
for harness in "${harnesses[@]}"; do targets+=("${harness}_fuzz"); done
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/corpus build-fuzz/artifacts build-fuzz/logs
status=0
for harness in "${harnesses[@]}"; do
  corpus="build-fuzz/corpus/$harness"
  mkdir -p "$corpus"
  log="build-fuzz/logs/$harness.log"
  if (cd build-fuzz && "./tests/fuzz/${harness}_fuzz" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="artifacts/${harness}-" \
        "corpus/$harness" "$root/tests/fuzz/corpus/$harness") > "$log" 2>&1; then
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')"
    echo "fuzz $harness: ${seconds} s, $runs executions"
  else
    echo "fuzz $harness: FAILED, see $log"
    grep -E 'ERROR|property failed|runtime error|SUMMARY|Test unit written' "$log" | head -20 || true
    echo "  findings: $(ls "build-fuzz/artifacts/$harness-"* 2>/dev/null | tr '\n' ' ')"
    status=1
  fi
done
exit $status
