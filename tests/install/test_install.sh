#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that a Linux desktop
# finds what it needs there; then builds the Debian package, checks it, and
# installs, starts and removes it in a scratch root:
#   test_install.sh BUILD_DIR [package|no-package]
set -euo pipefail
build="$1"
package="${2:-package}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb lintian appstreamcli desktop-file-validate man; do
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
if [ "$package" = no-package ]; then
  echo "install OK"
  exit 0
fi

# --- The package
cpack --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 \
  || { cat "$tmp/cpack.log"; fail "cpack could not build the package"; }
deb="$tmp/pkg/vellara_2.5-1_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = misc ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Description | wc -l)" -gt 2 ] || fail "the description has no long part"
# Computed from the binary, and the fonts no binary shows.
for dep in libqt6widgets6 libc6 fonts-urw-base35; do
  [[ ", $(field Depends)," =~ ,\ $dep[\ ,] ]] || fail "Depends lacks $dep: $(field Depends)"
done

files="$(dpkg-deb --fsys-tarfile "$deb" | tar -t)"
for f in usr/bin/vellara usr/bin/vellara-start usr/$desktop_file \
         usr/share/metainfo/org.vellara.Vellara.metainfo.xml usr/share/man/man1/vellara.1.gz \
         usr/share/doc/vellara/copyright usr/share/doc/vellara/changelog.Debian.gz \
         usr/share/vellara/sample/decks/major/00.wmf; do
  grep -qx "./$f" <<<"$files" || fail "the package lacks /$f"
done
! grep -v '^\./usr/' <<<"$files" | grep -qvx './' || fail "the package holds files outside /usr"
! grep -q vellara-render <<<"$files" || fail "the package holds vellara-render"
! dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep -q . || fail "the package holds files not owned by root"

# Warnings are checked too; the one left names the missing Debian bug to close.
lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs "$deb" 2>/dev/null \
  || fail "lintian finds faults in the package"

# Installed in a scratch root, the library dependencies are not there: dpkg is
# told to go on without them.
root="$tmp/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg_root() {
  dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null "$@" \
    >>"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log"; fail "dpkg $*"; }
}
dpkg_root -i "$deb"

desktop="$root/usr/$desktop_file"
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
exec_line="$(grep '^Exec=' "$desktop")"
[ "$exec_line" = "Exec=/usr/bin/vellara-start" ] || fail "the menu entry runs '$exec_line'"
[ -x "$root/usr/bin/vellara-start" ] || fail "the menu entry's command is not installed"
for path in $(grep -o '"/usr/[^"]*"' "$root/usr/bin/vellara-start" | tr -d '"'); do
  [ -e "$root$path" ] || fail "vellara-start names $path, which the package lacks"
done
appstreamcli validate-tree --no-net "$root" >"$tmp/appstream.log" 2>&1 \
  || { cat "$tmp/appstream.log"; fail "the AppStream metadata is not valid"; }

page="$root/usr/share/man/man1/vellara.1.gz"
warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "the manual page has faults: $warnings"
zgrep -q '^\.I /usr/share/vellara/sample$' "$page" || fail "the manual page does not name the installed sample"
[ "$(readlink "$root/usr/share/man/man1/vellara-start.1.gz")" = vellara.1.gz ] \
  || fail "vellara-start has no manual page"

# The menu entry's command, pointed at the scratch root, prepares a new
# user's working folder and starts the program there, which then keeps running.
home="$tmp/home"
mkdir -p "$home"
sed 's|"/usr/|"'"$root"'/usr/|g' "$root/usr/bin/vellara-start" >"$tmp/vellara-start"
status=0
env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 sh "$tmp/vellara-start" \
  >"$tmp/start.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$tmp/start.log"; fail "the program ended at start with status $status"; }
[ -f "$home/.local/share/vellara/vellara.ini" ] || fail "the starter does not prepare the working folder"
[ -f "$home/.local/share/vellara/decks/major/00.wmf" ] || fail "the sample deck is not copied"

dpkg_root -r vellara
left="$(find "$root" -mindepth 1 -path "$root/var" -prune -o -print)"
[ -z "$left" ] || fail "removing the package leaves: $left"
echo "install and package OK"
