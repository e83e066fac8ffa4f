#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it in its working
# directory under the build folder, where it keeps vellara.ini and the layouts.
# The first run fills that folder with the sample deck and layouts; later runs
# keep what the user saved there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
# Only the program: the tests, benchmarks and tools wait for the test command.
BUILD_TARGET=vellara "$root/scripts/build.sh" "$root/build"
workdir="$root/build/run-dir"
"$root/scripts/prepare-workdir.sh" "$root/data/sample" "$workdir"
cd "$workdir"
exec "$root/build/src/vellara"
