#!/usr/bin/env bash
# Fresh machine to passing tests: packages, build, every test headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DQUENDROLT_BUILD_TESTS=ON -DQUENDROLT_WERROR=ON
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 900 -j 2
