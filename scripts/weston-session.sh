#!/usr/bin/env bash
# Runs one command inside a private Weston compositor and returns its exit
# status. Run it inside an X session (scripts/xvfb-session.sh): Weston shows
# its 1200x960 output as a window on that X server (x11 backend, pixman
# renderer), which gives it a seat, so xdotool on the X server types into the
# focused Wayland client. (With --fullscreen, Weston sometimes waited for
# ever for the window manager at start.)
#
#   weston-session.sh [--xwayland] <command> [arguments...]
#
# The command gets, besides DISPLAY (still the X server underneath):
#   WAYLAND_DISPLAY, XDG_RUNTIME_DIR  the compositor's socket
#   WESTON_PID                        to kill the compositor under a client
#   WESTON_WINDOW                     Weston's X window: screenshots, input
#   XWAYLAND_DISPLAY                  with --xwayland: Weston's Xwayland
# WESTON_SESSION_LOG names a file for Weston's output (default: discarded).
set -uo pipefail

xwayland=()
if [ "${1:-}" = --xwayland ]; then
  xwayland=(--xwayland)
  shift
fi
if [ $# -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
  echo "usage: DISPLAY=<X server> $0 [--xwayland] <command> [arguments...]" >&2
  exit 2
fi

log=${WESTON_SESSION_LOG:-/dev/null}
runtime=$(mktemp -d)  # mktemp makes it 0700, as Wayland wants
weston_log=$runtime/weston.log
weston_pid=""

cleanup() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null
    for _ in $(seq 1 50); do
      kill -0 "$weston_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$weston_pid" 2>/dev/null
    wait "$weston_pid" 2>/dev/null
  fi
  cat "$weston_log" >>"$log" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "weston-session: $*" >&2
  exit 125
}

export XDG_RUNTIME_DIR=$runtime
weston --backend=x11-backend.so --use-pixman --width=1200 --height=960 --socket=wayland-test \
  --no-config --idle-time=0 "${xwayland[@]}" >"$weston_log" 2>&1 &
weston_pid=$!
ready=0
for _ in $(seq 1 400); do
  if [ -S "$runtime/wayland-test" ] && grep -q "launching '.*weston-desktop-shell'" "$weston_log"; then
    ready=1
    break
  fi
  kill -0 "$weston_pid" 2>/dev/null || fail "weston exited before it was ready"
  sleep 0.05
done
[ "$ready" = 1 ] || fail "weston did not open its socket"
window=$(sed -n 's/.*x11 output [0-9]*x[0-9]*, window id \([0-9]*\).*/\1/p' "$weston_log" | head -n 1)
[ -n "$window" ] || fail "weston's X window is unknown"
# Now and then openbox leaves Weston's first map request unanswered (seen
# in about one start of ten): ask again.
viewable=0
for attempt in $(seq 1 200); do
  if xwininfo -id "$window" 2>/dev/null | grep -q IsViewable; then
    viewable=1
    break
  fi
  if [ $((attempt % 20)) = 0 ]; then
    xdotool windowmap "$window" >/dev/null 2>&1
  fi
  sleep 0.05
done
[ "$viewable" = 1 ] || fail "weston's X window was not shown"
export WAYLAND_DISPLAY=wayland-test WESTON_PID=$weston_pid WESTON_WINDOW=$window
if [ ${#xwayland[@]} -gt 0 ]; then
  XWAYLAND_DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$weston_log" | head -n 1)
  [ -n "$XWAYLAND_DISPLAY" ] || fail "weston's Xwayland display is unknown"
  export XWAYLAND_DISPLAY
fi

"$@"
status=$?
exit "$status"
