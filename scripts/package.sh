#!/usr/bin/env bash
# Sets up the machine, builds the program in build/ and makes the Debian
# package from it: build/vellara_<version>-1_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
cpack --config "$root/build/CPackConfig.cmake" -B "$root/build" >/dev/null
ls "$root"/build/vellara_*.deb
