#!/usr/bin/env bash
# Configures and builds everything in Release into build/, then lays out the
# run directory run/: the program, the tester and the two help texts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel "$(nproc)"

mkdir -p run
cp build/quendrolt run/
if [ -f build/pfgw64_133mm.exe ]; then cp build/pfgw64_133mm.exe run/; fi
for text in user_manual.txt help_calculator.txt; do
  if [ -f "docs/$text" ]; then cp "docs/$text" run/; fi
done
