#!/usr/bin/env bash
# Prepares the program's working directory from the bundled sample files:
#   scripts/prepare-workdir.sh SAMPLE_DIR WORK_DIR
# A working directory that already holds vellara.ini is the user's own and is
# left as it is; otherwise the sample files are copied in, never over a file
# that is already there.
set -euo pipefail
sample="$1"
workdir="$2"
if [ -e "$workdir/vellara.ini" ]; then
  exit 0
fi
mkdir -p "$workdir"
cp -R -n "$sample/." "$workdir/"
