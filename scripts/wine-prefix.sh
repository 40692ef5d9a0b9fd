#!/usr/bin/env bash
# Prepares the Wine prefix the Windows tests run in (build/wineprefix), once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/wineprefix"
if [ -f "$prefix/.drovane-ready" ]; then
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$root/build"
WINEPREFIX="$prefix" WINEDEBUG=-all wine64 wineboot -i >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w
touch "$prefix/.drovane-ready"
