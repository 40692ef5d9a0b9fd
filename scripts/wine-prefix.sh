#!/usr/bin/env bash
# Prepares the Wine prefix the Windows tests run in (build/wineprefix), once.
# Takes about 12 s and needs no display. A prefix whose preparation was
# interrupted is broken (programs do not start), so it only counts as ready
# once the marker is written, and is otherwise made again from scratch.
#   wine-prefix.sh [prefix]     default: build/wineprefix
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$root/build/wineprefix}
# Wine takes only an absolute prefix.
case $prefix in
  /*) ;;
  *) prefix=$PWD/$prefix ;;
esac
if [ -f "$prefix/.drovane-ready" ]; then
  exit 0
fi

# Debian installs wine64 outside PATH; /usr/bin/wine is a wrapper that runs it.
wine=$(command -v wine64 || true)
if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
fi
if [ -z "$wine" ]; then
  wine=$(command -v wine || true)
fi
if [ -z "$wine" ]; then
  echo "wine-prefix: no wine64 or wine found" >&2
  exit 1
fi

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
log="$(dirname "$prefix")/wineboot.log"
if ! WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY= "$wine" wineboot -i >"$log" 2>&1; then
  echo "wine-prefix: wineboot failed, see $log" >&2
  exit 1
fi
WINEPREFIX="$prefix" wineserver -w
touch "$prefix/.drovane-ready"
