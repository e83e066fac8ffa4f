#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that a Linux desktop
# finds what it needs there: test_install.sh BUILD_DIR
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in appstreamcli desktop-file-validate man; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh"
done
desktop_file=share/applications/org.vellara.Vellara.desktop

# --- An install into a prefix
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/vellara bin/vellara-start libexec/vellara/prepare-workdir.sh; do
  [ -x "$prefix/$f" ] || fail "$f is not installed as a program"
done
for f in $desktop_file share/icons/hicolor/scalable/apps/vellara.svg \
         share/metainfo/org.vellara.Vellara.metainfo.xml share/man/man1/vellara.1.gz \
         share/vellara/sample/vellara.ini "share/vellara/sample/Celtic Cross.lat" \
         share/vellara/sample/decks/major/cards.dat share/vellara/sample/decks/major/back.wmf; do
  [ -f "$prefix/$f" ] || fail "$f is missing"
done
# Developer tools stay out of an installed copy.
[ ! -e "$prefix/bin/vellara-render" ] || fail "vellara-render is installed"
grep -qx "Exec=$prefix/bin/vellara-start" "$prefix/$desktop_file" || fail "the menu entry does not start vellara-start"
sh -n "$prefix/bin/vellara-start" || fail "vellara-start is not a valid script"
desktop-file-validate "$prefix/$desktop_file" || fail "the menu entry is not valid"
appstreamcli validate-tree --no-net "$prefix" >"$tmp/appstream.log" 2>&1 \
  || { cat "$tmp/appstream.log"; fail "the AppStream metadata is not valid"; }
page="$prefix/share/man/man1/vellara.1.gz"
warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "the manual page has faults: $warnings"

# The starter's preparation step, as it runs it, gives a ready working folder.
prepare_line="$(grep prepare-workdir "$prefix/bin/vellara-start")"
home="$tmp/home"
XDG_DATA_HOME="$home" sh -c "dir=\"\$XDG_DATA_HOME/vellara\"; $prepare_line"
[ -f "$home/vellara/vellara.ini" ] || fail "the starter does not prepare the working folder"
[ -f "$home/vellara/decks/major/00.wmf" ] || fail "the sample deck is not copied"
echo "install layout OK"
