#!/usr/bin/env bash
# Installs the Debian package as a user would and takes it out again.
#
#   deb_test.sh <drovane3d_*.deb> <drovane.ico>     (as root)
#
# lintian shows no errors; apt-get installs the package; the desktop entry
# and the AppStream file validate; the icons are the .ico's images; both
# manual pages render; the game, started from the desktop entry's Exec line
# in Xvfb with openbox, draws a frame and exits 0 when its window is closed;
# apt-get purge leaves none of the package's files behind.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$(realpath "$1") ico=$(realpath "$2")
out=$(dirname "$deb")  # logs and the screenshot go beside the package
id=io.github.drovane.Drovane3D
failures=0
source "$here/session_lib.sh"

if [ "${3:-}" = --in-session ]; then  # the game, inside the X session
  desktop=/usr/share/applications/$id.desktop
  # Field codes (%f, %u, ...) stand for files to open; there are none.
  read -r -a command < <(sed -n 's/^Exec=//p' "$desktop" | sed 's/ %[a-zA-Z]//g')
  play desktop-entry "$out/desktop-entry.png" "${command[@]}"
  want=$(sed -n 's/^StartupWMClass=//p' "$desktop")
  [ "$wm_class" = "$want" ] || fail "WM_CLASS is '$wm_class', the desktop entry says '$want'"
  exit "$failures"
fi

if dpkg -s drovane3d >/dev/null 2>&1; then
  echo "FAIL: drovane3d is installed already; this test installs and purges it"
  exit 1
fi

lintian "$deb" >"$out/lintian.txt" 2>&1
if grep -q '^E:' "$out/lintian.txt"; then fail "lintian reports errors:"; fi
sed 's/^/  lintian: /' "$out/lintian.txt" | grep -v 'root privileges' || true

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >"$out/apt-install.log" 2>&1 || { echo "FAIL: apt-get install"; cat "$out/apt-install.log"; exit 1; }
mapfile -t files < <(dpkg -L drovane3d | while read -r f; do [ -f "$f" ] && echo "$f"; done)
echo "installed ${#files[@]} files"

desktop-file-validate "/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# The desktop icons and the Windows icon are the same pictures, size by size.
for size in 16 32 48 64 128 256; do
  png=/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  frame=$(identify -format '%w %p\n' "$ico" | awk -v s="$size" '$1 == s { print $2 }')
  if [ -z "$frame" ] || ! cmp -s <(convert "$png" -depth 8 rgba:-) <(convert "$ico[$frame]" -depth 8 rgba:-); then
    fail "the ${size}x$size icon differs from the .ico's"
  fi
done

for page in man6/drovane3d.6.gz man1/drovane-sim.1.gz; do
  out=$(MANWIDTH=80 man --warnings -l "/usr/share/man/$page" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "man $page: $out"
  MANWIDTH=80 man -l "/usr/share/man/$page" 2>/dev/null | grep -q "EXIT STATUS" || fail "man $page renders no EXIT STATUS"
done

bash "$here/../../scripts/xvfb-session.sh" bash "$0" "$deb" "$ico" --in-session
session=$?
[ "$session" = 0 ] || failures=$((failures + session))

apt-get purge -y -qq drovane3d >"$out/apt-purge.log" 2>&1 || fail "apt-get purge"
for f in "${files[@]}"; do
  [ ! -e "$f" ] || fail "left after purge: $f"
done

if [ "$failures" != 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the Debian package installs, runs and purges cleanly"
