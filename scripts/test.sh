#!/usr/bin/env bash
# Sets up the machine, builds and runs the whole test suite through ctest.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   AddressSanitizer and UBSan, warnings as errors, in build-asan/
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  "$root/scripts/build.sh" "$build" -DVELLARA_SANITIZE=ON -DVELLARA_WERROR=ON -DVELLARA_BUILD_BENCHMARKS=OFF
else
  build="$root/build"
  "$root/scripts/build.sh" "$build" -DVELLARA_SANITIZE=OFF -DVELLARA_WERROR=ON
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
