#!/usr/bin/env python3
"""End-to-end checks of how drovane3d ends when stopped from outside: a stop
signal (SIGINT, SIGTERM, SIGHUP) while windowed or full screen, the X
server going away under it, active or inactive, and a full-screen game
killed (kill -9, xkill) leaving the screen's mode as it was. Run one check
per fresh X session, e.g.

    xvfb-session.sh stop_e2e.py --exe build/app/drovane3d --out shots sigterm_fullscreen
"""
import os
import select
import signal
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
from drovane_e2e import CheckFailed, Game, expect, settle, switch_mode, tool  # noqa: E402
from screen import check_arguments  # noqa: E402

LIMIT = 5.0  # seconds from the signal or the server's end to the process's
DISPLAY_LOST = 0x80070037  # HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST); Linux keeps 0x37
SIGNALS = {"sigint": signal.SIGINT, "sigterm": signal.SIGTERM, "sighup": signal.SIGHUP}


def screen_mode():
    first = tool("xrandr", "--current").splitlines()[0]  # "... current 1280 x 1024, ..."
    return first.split("current")[1].split(",")[0].replace(" ", "")


def session_server():
    """The pid of this session's Xvfb: xvfb-session.sh started it beside us."""
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except (OSError, ValueError):
            continue
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        parent = int(stat[stat.rindex(")") + 2:].split()[1])
        if name == "Xvfb" and parent == os.getppid():
            return int(entry)
    raise CheckFailed("this session's Xvfb was not found")


def seconds_to_end(game, start, limit):
    """Seconds from start until the game's process ended (a pidfd becomes
    readable then, with no polling delay), or None when it runs on."""
    pidfd = os.pidfd_open(game.process.pid)
    try:
        ended = select.select([pidfd], [], [], max(0.0, start + limit + 2.0 - time.monotonic()))[0]
    finally:
        os.close(pidfd)
    if not ended:
        return None
    elapsed = time.monotonic() - start
    game.process.wait()
    return elapsed


def check_signal(game, number, fullscreen):
    settle()
    if fullscreen:
        go_fullscreen(game)
    start = time.monotonic()
    os.kill(game.process.pid, number)
    elapsed = seconds_to_end(game, start, LIMIT)
    expect(elapsed is not None and elapsed <= LIMIT,
           "%s ends the game within %.1f s (%s)" % (number.name, LIMIT,
                                                    "running" if elapsed is None else "%.2f s" % elapsed))
    code = game.process.returncode
    expect(code == 0, "the exit code is 0 (got %d)" % code)
    expect(screen_mode() == "1280x1024", "the desktop's mode is 1280x1024 (%s)" % screen_mode())


def go_fullscreen(game):
    """Alt+Enter, then waits until the game's window covers the display."""
    tool("xdotool", "key", "alt+Return")
    deadline = time.time() + 10
    g, shown = {}, []
    while time.time() < deadline:
        found = tool("xdotool", "search", "--name", "^Drovane 3D$").split()
        if found:
            game.window = found[0]
            g = game.geometry()
            shown = tool("xdotool", "getdisplaygeometry").split()
            if [str(g.get("WIDTH")), str(g.get("HEIGHT"))] == shown:
                break
        time.sleep(0.1)
    expect([str(g.get("WIDTH")), str(g.get("HEIGHT"))] == shown,
           "the game is full screen (%sx%s on %s)" % (g.get("WIDTH"), g.get("HEIGHT"), shown))
    settle(0.5)


def check_killed_fullscreen(game, how):
    """A full-screen game that dies without cleaning up (kill -9, or xkill,
    which closes its X connection) leaves the screen's mode as it was: the
    session offers 1024x768, so a real mode change would show here."""
    settle()
    go_fullscreen(game)
    if how == "xkill":
        tool("xkill", "-id", game.window)
    else:
        os.kill(game.process.pid, signal.SIGKILL)
    elapsed = seconds_to_end(game, time.monotonic(), 5.0)
    expect(elapsed is not None, "%s ends the game (%s)" % (
        how, "running" if elapsed is None else "%.2f s" % elapsed))
    expect(screen_mode() == "1280x1024",
           "after %s the screen's mode is still 1280x1024 (%s)" % (how, screen_mode()))


def check_display_lost(game, inactive):
    settle()
    if inactive:
        tool("xdotool", "windowminimize", game.window)  # the game sleeps in WaitMessage
        settle(0.5)
    server = session_server()
    start = time.monotonic()
    os.kill(server, signal.SIGKILL)
    elapsed = seconds_to_end(game, start, LIMIT)
    expect(elapsed is not None and elapsed <= LIMIT,
           "a lost display ends the game within %.1f s (%s)" % (
               LIMIT, "running" if elapsed is None else "%.2f s" % elapsed))
    code = game.process.returncode
    # Death by a signal (negative here) is the only way to a core dump.
    expect(code == DISPLAY_LOST & 0xFF,
           "the exit code is 0x%X's low byte %d, no abort or core dump (got %d)"
           % (DISPLAY_LOST, DISPLAY_LOST & 0xFF, code))


CHECKS = {"display_lost_active": lambda game: check_display_lost(game, False),
          "display_lost_inactive": lambda game: check_display_lost(game, True),
          "kill9_fullscreen": lambda game: check_killed_fullscreen(game, "kill -9"),
          "xkill_fullscreen": lambda game: check_killed_fullscreen(game, "xkill")}
for name, number in SIGNALS.items():
    CHECKS[name + "_windowed"] = lambda game, n=number: check_signal(game, n, False)
    CHECKS[name + "_fullscreen"] = lambda game, n=number: check_signal(game, n, True)


def main():
    args = check_arguments(__doc__, CHECKS)
    # The game inherits these: a signal ignored by whatever started the test
    # (a background job ignores SIGINT) would stay ignored in the game.
    for number in SIGNALS.values():
        signal.signal(number, signal.SIG_DFL)
    out = args.shots(args.check)
    with tempfile.TemporaryDirectory() as config_home:
        game = Game(args.exe, out, config_home)
        try:
            CHECKS[args.check](game)
        except CheckFailed as failure:
            print("FAILED:", failure, file=sys.stderr)
            return 1
        finally:
            game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
