#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that a Linux desktop
# finds what it needs there: test_install.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in bin/vellara bin/vellara-start libexec/vellara/prepare-workdir.sh; do
  [ -x "$prefix/$f" ] || fail "$f is not installed as a program"
done
for f in share/applications/vellara.desktop share/icons/hicolor/scalable/apps/vellara.svg \
         share/vellara/sample/vellara.ini "share/vellara/sample/Celtic Cross.lat" \
         share/vellara/sample/decks/major/cards.dat share/vellara/sample/decks/major/back.wmf; do
  [ -f "$prefix/$f" ] || fail "$f is missing"
done
# Developer tools stay out of an installed copy.
[ ! -e "$prefix/bin/vellara-render" ] || fail "vellara-render is installed"

desktop="$prefix/share/applications/vellara.desktop"
grep -qx "Exec=$prefix/bin/vellara-start" "$desktop" || fail "the menu entry does not start vellara-start"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "the menu entry is not valid"
fi
sh -n "$prefix/bin/vellara-start" || fail "vellara-start is not a valid script"

# The starter's preparation step, as it runs it, gives a ready working folder.
prepare_line="$(grep prepare-workdir "$prefix/bin/vellara-start")"
home="$(mktemp -d)"
trap 'rm -rf "$prefix" "$home"' EXIT
XDG_DATA_HOME="$home" sh -c "dir=\"\$XDG_DATA_HOME/vellara\"; $prepare_line"
[ -f "$home/vellara/vellara.ini" ] || fail "the starter does not prepare the working folder"
[ -f "$home/vellara/decks/major/00.wmf" ] || fail "the sample deck is not copied"
echo "install layout OK"
