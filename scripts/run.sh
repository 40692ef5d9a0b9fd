#!/usr/bin/env bash
# Installs what the game needs, builds a release build and starts the game.
#
#   bash scripts/run.sh
#
# Run as root on a fresh Debian 12 machine (to install packages), or as any
# user once they are there. With a display ($DISPLAY set) the game simply
# runs. Without one it runs for a few seconds in a private virtual X server
# (scripts/xvfb-session.sh), a screenshot is saved (its path is printed), the
# window is closed as a user would close it (through the window manager), and
# the game's exit code is reported.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"
exe="$build/app/drovane3d"

# Inside the virtual X server: start, look, close, report.
if [ "${1:-}" = --inside-x ]; then
  shot=$2
  seconds=${DROVANE_RUN_SECONDS:-4}
  "$exe" &
  pid=$!
  window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Drovane 3D$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      echo "run: drovane3d ended before its window appeared (exit code $status)" >&2
      exit 1
    fi
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "run: no window titled \"Drovane 3D\" appeared" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep "$seconds"
  import -window "$window" "$shot"
  echo "run: screenshot saved to $shot"
  wmctrl -i -c "$window"
  wait "$pid" && status=0 || status=$?
  echo "run: drovane3d exited with code $status"
  exit "$status"
fi

cd "$root"
bash scripts/install-deps.sh run
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDROVANE_BUILD_TESTS=OFF -DDROVANE_BUILD_BENCHMARKS=OFF -DDROVANE_BUILD_E2E=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target drovane3d

if [ -n "${DISPLAY:-}" ]; then
  exec "$exe"
fi
echo "run: no DISPLAY; running the game for a few seconds in a virtual X server"
bash "$root/scripts/xvfb-session.sh" bash "$root/scripts/run.sh" --inside-x "$build/drovane3d-screenshot.png"
