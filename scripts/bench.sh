#!/usr/bin/env bash
# Builds and runs every benchmark program; each prints its own ratios.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DQUENDROLT_BUILD_BENCHMARKS=ON
export QT_QPA_PLATFORM=offscreen
for bench in "$root"/build/bench/bench_*; do
  echo "== $(basename "$bench")"
  (cd "$(mktemp -d)" && "$bench")
done
