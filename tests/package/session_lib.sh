# Helpers for the package tests: start a game, see it draw, close it.
# Source it; needs DISPLAY (scripts/xvfb-session.sh). play sets `window` and
# `wm_class` (the window's WM_CLASS instance name).

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

wait_for() {  # <seconds> <command...>: polls until the command succeeds
  local limit=$1 start=$SECONDS
  shift
  until "$@"; do
    [ $((SECONDS - start)) -lt "$limit" ] || return 1
    sleep 0.2
  done
}

window_appears() {
  window=$(xdotool search --onlyvisible --name '^Drovane 3D$' 2>/dev/null | head -1)
  [ -n "$window" ]
}

# A drawn frame: a screenshot that is not mostly black (a mapped window that
# has not been drawn yet reads as black).
frame_drawn() {  # <png>
  import -window "$window" "$1" 2>/dev/null || return 1
  [ "$(convert "$1" -resize 1x1! -format '%[fx:int(255 * mean)]' info:)" -gt 40 ]
}

# play <name> <screenshot.png> <command...>: starts the game, waits for a
# drawn frame, closes the window as a user would and expects exit status 0.
play() {
  local name=$1 shot=$2 pid status
  shift 2
  "$@" >/dev/null 2>&1 &
  pid=$!
  if ! wait_for 60 window_appears; then
    fail "$name: no window within 60 s"
    kill "$pid" 2>/dev/null
    return
  fi
  wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/^[^"]*"\([^"]*\)".*/\1/p')
  wait_for 20 frame_drawn "$shot" || fail "$name: nothing drawn (see $shot)"
  wmctrl -i -c "$window"
  wait_for 20 eval '! kill -0 '"$pid"' 2>/dev/null' || { fail "$name: still running"; kill "$pid"; }
  wait "$pid"
  status=$?
  [ "$status" = 0 ] || fail "$name: exit status $status"
  echo "$name: drew a frame, exit status $status"
}
