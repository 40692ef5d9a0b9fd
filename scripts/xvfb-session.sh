#!/usr/bin/env bash
# Runs one command inside a private X session and returns its exit status.
#
#   xvfb-session.sh <command> [arguments...]
#
# The session: a fresh Xvfb (1280x1024x24, its own display number), an extra
# 1024x768 mode so programs can really switch the display to it, openbox as
# the window manager (keeps window sizes, focuses new windows, places a
# full-screen window at 0,0). Everything is torn down afterwards, so a program
# that dies while full screen leaves nothing behind for the next test.
#
# DISPLAY is set for the command; XVFB_SESSION_LOG names a file that collects
# the server's and the window manager's output (default: discarded), and
# XVFB_SESSION_DEPTH the screen's depth (default 24; 30 for a deep-colour one)
# and XVFB_SESSION_SIZE its size (default 1280x1024).
set -uo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 <command> [arguments...]" >&2
  exit 2
fi

log=${XVFB_SESSION_LOG:-/dev/null}
xvfb_pid=""
wm_pid=""
fd_file=""

cleanup() {
  if [ -n "$wm_pid" ]; then
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  if [ -n "$fd_file" ]; then
    rm -f "$fd_file"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "xvfb-session: $*" >&2
  exit 125
}

# -displayfd writes the chosen display number to the descriptor once the
# server accepts connections; -noreset keeps server state (modes, pointer)
# when the last client goes.
fd_file=$(mktemp)
exec 3>"$fd_file"
Xvfb -displayfd 3 -screen 0 "${XVFB_SESSION_SIZE:-1280x1024}x${XVFB_SESSION_DEPTH:-24}" -nolisten tcp -noreset >>"$log" 2>&1 &
xvfb_pid=$!
exec 3>&-

display=""
for _ in $(seq 1 200); do
  display=$(tr -d '[:space:]' <"$fd_file")
  [ -n "$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb exited before it was ready"
  sleep 0.02
done
[ -n "$display" ] || fail "Xvfb did not report a display number"
export DISPLAY=":$display"

# A real 1024x768 mode beside the 1280x1024 default; Wine also needs a
# primary output before it lists modes.
xrandr --newmode 1024x768 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync >>"$log" 2>&1 ||
  fail "xrandr --newmode failed"
xrandr --addmode screen 1024x768 >>"$log" 2>&1 || fail "xrandr --addmode failed"
xrandr --output screen --primary >>"$log" 2>&1 || fail "xrandr --primary failed"

openbox >>"$log" 2>&1 &
wm_pid=$!
ready=0
for _ in $(seq 1 200); do
  if wmctrl -m >/dev/null 2>&1; then
    ready=1
    break
  fi
  kill -0 "$wm_pid" 2>/dev/null || fail "openbox exited before it was ready"
  sleep 0.05
done
[ "$ready" = 1 ] || fail "openbox did not answer wmctrl -m"

"$@"
status=$?
exit "$status"
