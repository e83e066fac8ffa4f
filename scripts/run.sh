#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it in its working
# directory under the build folder, where it keeps vellara.ini and the layouts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
workdir="$root/build/run-dir"
mkdir -p "$workdir"
cd "$workdir"
exec "$root/build/src/vellara"
