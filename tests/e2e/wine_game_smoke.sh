#!/usr/bin/env bash
# End-to-end smoke test of the Windows game (a MinGW drovane3d.exe) under Wine
# in a private X session (Xvfb with a 1024x768 mode, openbox).
#
#   wine_game_smoke.sh <wine> <drovane3d.exe> <wine-exit-status.exe> <xvfb-session.sh> <prefix>
#
# <prefix> is a prepared Wine prefix (scripts/wine-prefix.sh); the test works
# on a private copy, so its registry values and its wineserver are its own.
# Exit status 77 (skipped) only when no game is given.
#
# Three runs of the game:
#   1. defaults: the window "Drovane 3D" appears with a 640x480 client area and
#      draws the floor and the balls; holding the up arrow slides the floor
#      down the picture and the down arrow slides it up;
#      Alt+Enter switches the display to 1024x768 full screen and back;
#      closing the window ends the process with exit code 0.
#   2. colours set in the registry (HKCU\Software\Vorlix\Drovane) are drawn.
#   3. without a 1024x768 mode Wine refuses the switch: Alt+Enter leaves a
#      working 640x480 window, and closing it still exits with 0.
# Screenshots and the game's output are kept in ./wine_game_smoke/.
set -uo pipefail

if [ "${1:-}" != --in-session ]; then
  wine=${1:-} game=${2:-} launcher=${3:-} session=${4:-} template=${5:-}
  if [ -z "$game" ]; then
    echo "DROVANE_WINDOWS_GAME is empty: the Windows game is not tested"
    exit 77
  fi
  for file in "$wine" "$game" "$launcher" "$session"; do
    if [ ! -f "$file" ]; then
      echo "FAIL: missing: '$file'"
      exit 1
    fi
  done
  exec bash "$session" bash "$0" --in-session "$@"
fi
shift
wine=$1 game=$2 launcher=$3 template=$5

screen=$(cd "$(dirname "$0")/../e2e" && pwd)/screen.py
artifacts=$PWD/wine_game_smoke
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
failures=0
game_pid=""

cleanup() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null
  fi
  # Ends only what runs in this test's own prefix.
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
note() { echo "$(date +%T.%N | cut -c1-12) $*"; }

if [ -f "$template/.drovane-ready" ]; then
  # The template's own server writes its registry when it exits: copy after.
  WINEPREFIX=$template wineserver -w
  cp -a "$template" "$WINEPREFIX"
else
  note "no prepared prefix at $template: making one"
  bash "$(dirname "$0")/../../scripts/wine-prefix.sh" "$WINEPREFIX" || exit 1
fi

# ---- helpers ---------------------------------------------------------------

# classify <png>: counts pixels by colour in a 160x120 sample of the image
# (nearest pixels, no blending; 19200 in all), and sets floor, green,
# lavender, yellow and magenta.
classify() {
  read -r floor green lavender yellow magenta < <(
    convert "$1" -sample 160x120! -depth 8 txt:- | awk -F'[(),]' '
      NR > 1 {
        r = $3 + 0; g = $4 + 0; b = $5 + 0
        if (r > 150 && g > 150 && b > 150 && r - b < 20 && b - r < 20) floor++  # grey and white tiles
        if (g > 180 && r < 100 && b < 100) green++                               # player, default
        if (b > 200 && r > 80 && r < 200 && b - r > 40) lavender++               # normal balls
        if (r > 200 && g > 200 && b < 100) yellow++
        if (r > 180 && b > 180 && g < 100) magenta++
      }
      END { print floor + 0, green + 0, lavender + 0, yellow + 0, magenta + 0 }')
}

# The X window of the game's visible top-level window ("" if none).
game_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Drovane 3D$' 2>/dev/null); do
    echo "$id"
    return
  done
}

# wait_for <seconds> <command...>: polls until the command succeeds.
wait_for() {
  local limit=$1 start=$SECONDS
  shift
  until "$@"; do
    if [ $((SECONDS - start)) -ge "$limit" ]; then
      return 1
    fi
    sleep 0.2
  done
}

window_appears() { window=$(game_window); [ -n "$window" ]; }

# A drawn frame: a screenshot of the window that is not mostly black (a
# window that is mapped but not yet drawn reads as black).
shot=""
frame_drawn() {
  import -window "$window" "$shot" 2>/dev/null || return 1
  local mean
  mean=$(convert "$shot" -resize 1x1! -format '%[fx:int(255 * mean)]' info:) || return 1
  [ "$mean" -gt 40 ]
}

# screenshot <name>: waits for a drawn frame of the current window.
screenshot() {
  shot=$artifacts/$1.png
  wait_for 20 frame_drawn
}

geometry() {  # x y width height of the window's client area on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                           /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}
screen_size() { xrandr | awk '/current/ { sub(",", "", $10); print $8 "x" $10; exit }'; }

start_game() {  # <name>
  note "starting the game ($1)"
  "$wine" "$launcher" "$game" >"$artifacts/$1.out" 2>&1 &
  game_pid=$!
  if ! wait_for 60 window_appears; then
    fail "$1: no window \"Drovane 3D\" within 60 s"
    return 1
  fi
  note "window $window"
  # Keys go to the focused window: make sure it is this one.
  timeout 5 xdotool windowactivate --sync "$window" >/dev/null 2>&1
}

# close_game <name>: closes the window as a user would; the process must end
# with exit code 0 (the launcher reports the whole code).
close_game() {
  local status start=$SECONDS
  window=$(game_window)
  if [ -z "$window" ]; then
    fail "$1: no window left to close"
    return
  fi
  wmctrl -i -c "$window"
  while kill -0 "$game_pid" 2>/dev/null && [ $((SECONDS - start)) -lt 20 ]; do
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    fail "$1: still running 20 s after its window was closed"
    return
  fi
  wait "$game_pid"
  status=$?
  game_pid=""
  note "exited with status $status after $((SECONDS - start)) s"
  if [ "$status" != 0 ]; then
    fail "$1: exit status $status: $(tail -1 "$artifacts/$1.out")"
  fi
}

# ---- 1. defaults, the arrow key, full screen and back --------------------------

run_defaults() {
  start_game defaults || return
  local g
  g=$(geometry "$window")
  [ "${g#* * }" = "640 480" ] || fail "defaults: client area is $g, expected 640 480"

  if ! screenshot defaults-start; then
    fail "defaults: nothing drawn within 20 s (see defaults-start.png)"
    return
  fi
  classify "$shot"
  note "of 19200 sampled pixels: floor $floor, player $green, normal balls $lavender"
  [ "$floor" -gt 4800 ] || fail "defaults: the grey and white floor is not drawn ($floor pixels)"
  [ "$green" -gt 12 ] || fail "defaults: the green player ball is not drawn ($green pixels)"
  [ "$lavender" -gt 120 ] || fail "defaults: the normal balls are not drawn ($lavender pixels)"

  # The camera follows the player's ball: holding Up slides the floor down
  # the picture steadily, Down slides it back up (judged from quick grabs,
  # see tests/e2e/screen.py).
  note "holding the arrow keys"
  python3 "$screen" arrow "$window" "$artifacts" >"$artifacts/arrows.log" 2>&1
  local status=$?
  sed 's/^/  /' "$artifacts/arrows.log"
  [ "$status" = 0 ] || fail "defaults: holding the arrow keys did not move the view as expected"

  note "Alt+Enter: full screen"
  xdotool key alt+Return
  full_screen() {
    window=$(game_window)
    [ -n "$window" ] && [ "$(geometry "$window")" = "0 0 1024 768" ] && [ "$(screen_size)" = 1024x768 ]
  }
  if wait_for 20 full_screen; then
    screenshot fullscreen || fail "fullscreen: nothing drawn (see fullscreen.png)"
  else
    fail "fullscreen: window at $(geometry "$(game_window)"), screen $(screen_size)"
  fi

  note "Alt+Enter: back to the window"
  xdotool key alt+Return
  windowed() {
    window=$(game_window)
    [ -n "$window" ] && [ "$(screen_size)" = 1280x1024 ] && g=$(geometry "$window") &&
      [ "${g#* * }" = "640 480" ]
  }
  if wait_for 20 windowed; then
    screenshot windowed-again || fail "windowed again: nothing drawn (see windowed-again.png)"
  else
    fail "back from full screen: window at $(geometry "$(game_window)"), screen $(screen_size)"
  fi
  close_game defaults
}

# ---- 2. colours from the registry ------------------------------------------

run_registry_colours() {
  local key='HKCU\Software\Vorlix\Drovane'
  # Floor tile 1 yellow, the player's ball magenta (COLORREF is 0x00BBGGRR).
  "$wine" reg add "$key" /v Color1 /t REG_DWORD /d 0x0000FFFF /f >/dev/null 2>&1 &&
    "$wine" reg add "$key" /v Color4 /t REG_DWORD /d 0x00FF00FF /f >/dev/null 2>&1 ||
    { fail "registry: reg add failed"; return; }

  start_game registry || return
  if screenshot registry; then
    classify "$shot"
    note "of 19200 sampled pixels: yellow $yellow, magenta $magenta, green $green"
    [ "$yellow" -gt 1920 ] || fail "registry: floor tile 1 is not yellow ($yellow pixels)"
    [ "$magenta" -gt 12 ] || fail "registry: the player's ball is not magenta ($magenta pixels)"
    [ "$green" -lt 4 ] || fail "registry: the default green is still drawn ($green pixels)"
  else
    fail "registry: nothing drawn (see registry.png)"
  fi
  close_game registry
  "$wine" reg delete "$key" /f >/dev/null 2>&1
}

# ---- 3. a display that cannot change mode ----------------------------------

run_refused_mode() {
  xrandr --delmode screen 1024x768 2>/dev/null || { fail "refused: xrandr --delmode failed"; return; }
  start_game refused || return
  screenshot refused-start || fail "refused: nothing drawn at start"
  local before=$window
  note "Alt+Enter without a 1024x768 mode"
  xdotool key alt+Return
  # The full-screen window cannot be made; a new 640x480 window takes the
  # old one's place.
  replaced() {
    window=$(game_window)
    [ -n "$window" ] && [ "$window" != "$before" ]
  }
  if wait_for 20 replaced; then
    local g
    g=$(geometry "$window")
    [ "${g#* * }" = "640 480" ] || fail "refused: client area $g, expected 640 480"
    [ "$(screen_size)" = 1280x1024 ] || fail "refused: the screen is $(screen_size)"
    screenshot refused-after || fail "refused: nothing drawn after the refused switch"
  else
    fail "refused: no new window after the refused switch (window: '$(game_window)')"
  fi
  close_game refused
}

run_defaults
run_registry_colours
run_refused_mode

if [ "$failures" != 0 ]; then
  echo "$failures check(s) failed; screenshots in $artifacts"
  exit 1
fi
echo "the Windows game runs under Wine"
