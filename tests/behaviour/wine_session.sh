#!/usr/bin/env bash
# Runs a Windows test executable under Wine in a private X session (Xvfb with
# openbox: without a window manager Wine gives windows no focus), on a private
# copy of the prepared prefix ($WINEPREFIX, else build/wineprefix), so its
# wineserver and desktop belong to this run alone.
#
#   wine_session.sh <xvfb-session.sh> <wine> <wine-exit-status.exe> <test.exe> [args...]
set -uo pipefail

if [ "${1:-}" != --in-session ]; then
  session=$1
  shift
  exec bash "$session" bash "$0" --in-session "$@"
fi
shift
wine=$1
shift

template=${WINEPREFIX:-$(cd "$(dirname "$0")/../.." && pwd)/build/wineprefix}
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=${WINEDEBUG:--all}
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if [ -f "$template/.drovane-ready" ]; then
  cp -a "$template" "$WINEPREFIX"
else
  bash "$(dirname "$0")/../../scripts/wine-prefix.sh" "$WINEPREFIX" || exit 1
fi
"$wine" "$@"
