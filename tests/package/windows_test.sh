#!/usr/bin/env bash
# The Windows packages under Wine, in a private X session (Xvfb, openbox).
#
#   windows_test.sh <wine> <installer.exe> <portable.zip> <xvfb-session.sh> <prefix>
#
# <prefix> is a prepared Wine prefix (scripts/wine-prefix.sh); the test works
# on a private copy. The installer runs silently (/S) and puts the files,
# a Start-menu shortcut and an Add/Remove Programs entry in place; the
# installed game draws a frame and exits 0 when closed; the uninstaller runs
# silently and leaves no file, shortcut or entry of ours. The zip unpacks to
# one folder holding the executables, README and LICENSE, and the game runs
# from there.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${6:-}" != --in-session ]; then
  exec bash "$4" bash "$0" "$@" --in-session
fi
wine=$1 installer=$(realpath "$2") zip=$(realpath "$3") template=$(realpath "$5")
failures=0
source "$here/session_lib.sh"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
# The template's own server writes its registry when it exits: copy after.
WINEPREFIX=$template wineserver -w
cp -a "$template" "$WINEPREFIX"

drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Drovane 3D"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Drovane 3D/Drovane 3D.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Drovane 3D'
files_of_prefix() { (cd "$drive" && find . -type f -not -path './windows/*' | sort); }
files_of_prefix >"$work/before"

timeout 120 "$wine" "$installer" /S || fail "the installer exited with status $?"
wineserver -w
for file in drovane3d.exe drovane-sim.exe README.md LICENSE Uninstall.exe; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
echo "installed:"
(cd "$drive" && find "Program Files/Drovane 3D" "ProgramData/Microsoft/Windows/Start Menu/Programs/Drovane 3D" -type f | sed 's/^/  /')
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no Add/Remove Programs entry"

play installed "$work/installed.png" "$wine" "$folder/drovane3d.exe"
wineserver -w

# The uninstaller copies itself to a temporary folder and returns at once.
timeout 120 "$wine" "$folder/Uninstall.exe" /S || fail "the uninstaller exited with status $?"
wineserver -w
# That copy is left for Windows to delete at the next start: start again.
timeout 120 "$wine" wineboot -r >/dev/null 2>&1
wineserver -w
files_of_prefix >"$work/after"
left=$(comm -13 "$work/before" "$work/after")
[ -z "$left" ] || fail "left after uninstalling: $left"
for dir in "$folder" "$(dirname "$shortcut")"; do
  [ ! -e "$dir" ] || fail "left after uninstalling: $dir"
done
"$wine" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the Add/Remove Programs entry is left"

mkdir "$work/zip"
(cd "$work/zip" && unzip -q "$zip")
portable=$(ls "$work/zip")
contents=$(ls "$work/zip/$portable" | tr '\n' ' ')
[ "$contents" = "LICENSE README.md drovane-sim.exe drovane3d.exe " ] ||
  fail "the zip holds '$portable': $contents"
play portable "$work/portable.png" "$wine" "$work/zip/$portable/drovane3d.exe"

if [ "$failures" != 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the Windows installer and zip work under Wine"
