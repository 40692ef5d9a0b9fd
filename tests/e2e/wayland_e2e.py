#!/usr/bin/env python3
"""End-to-end checks of drovane3d on a Wayland compositor: natively (SDL's
Wayland driver) and through Xwayland (SDL's X11 driver). Run one check per
fresh session, Weston inside a private Xvfb, e.g.

    xvfb-session.sh weston-session.sh [--xwayland] wayland_e2e.py \\
        --exe build/app/drovane3d --out shots native_start

Weston shows its output as an X window (WESTON_WINDOW): screenshots are
taken of it and keys typed into it reach the focused Wayland client.
"""
import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
from drovane_e2e import CheckFailed, expect, is_green, is_light_blue, settle, tool  # noqa: E402
from screen import Grabber  # noqa: E402
from stop_e2e import DISPLAY_LOST, SIGNALS, seconds_to_end  # noqa: E402

LIMIT = 5.0  # seconds allowed from a signal or the compositor's end to the exit
ROUND_TRIPS = 20
CLIENT = (640, 480)


def is_title_bar(rgb):  # libdecor's title bar; Weston's panel is (41, 39, 38)
    return max(rgb) <= 25


def is_panel(rgb):
    return all(abs(c - k) <= 6 for c, k in zip(rgb, (41, 39, 38)))


def title_bar(image):
    """The title bar's box (x0, y0, x1, y1) over a window CLIENT wide, or None:
    at least 15 rows that are dark across about the client's width."""
    rows = []
    for y in range(40, image.height - 100):
        dark = [x for x in range(0, image.width, 4) if is_title_bar(image.at(x, y))]
        if len(dark) * 4 >= 0.8 * CLIENT[0] and dark[-1] - dark[0] <= CLIENT[0] + 20:
            rows.append((y, dark[0], dark[-1] + 1))
        elif len(rows) >= 15:
            break
        else:
            rows = []
    if len(rows) < 15:
        return None
    return rows[0][1], rows[0][0], rows[0][2], rows[-1][0] + 1


def panel_shows(image):
    """Weston's panel along the top of the output, hidden by a full-screen window."""
    samples = [image.at(x, 12) for x in range(0, image.width, 16)]
    return sum(1 for rgb in samples if is_panel(rgb)) > 0.6 * len(samples)


def shown(image):
    return image.path or "screenshot not kept"


class Session:
    def __init__(self, out):
        self.out = out
        self.window = os.environ["WESTON_WINDOW"]
        self.grabber = Grabber()  # import takes a second a shot on a busy machine
        self.shots = 0

    def shot(self, name, keep=False):
        """Weston's output; kept as a PNG file (shown(image)) when asked."""
        image = self.grabber.grab(self.window)
        if image is None:
            raise CheckFailed("Weston's window could not be read")
        if keep:
            self.shots += 1
            image.save(os.path.join(self.out, "%02d-%s.png" % (self.shots, name)))
        return image

    def key(self, *keys):
        tool("xdotool", "key", *keys)

    def hold(self, key, seconds):
        tool("xdotool", "keydown", key)
        time.sleep(seconds)
        tool("xdotool", "keyup", key)

    def wait_for(self, name, predicate, timeout=10.0, keep=False):
        """Screenshots until predicate(image) holds; the last image and whether
        it did. The last is kept as a file when asked, or when it did not."""
        deadline = time.monotonic() + timeout
        while True:
            image = self.shot(name)
            ok = predicate(image)
            if ok or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        if keep or not ok:
            image.save(os.path.join(self.out, "%s.png" % name))
        return image, ok


class Game:
    def __init__(self, exe, config_home, xwayland):
        env = dict(os.environ, XDG_CONFIG_HOME=config_home)
        if xwayland:
            env.update(DISPLAY=os.environ["XWAYLAND_DISPLAY"], SDL_VIDEODRIVER="x11")
        else:
            env.pop("DISPLAY", None)
            env["SDL_VIDEODRIVER"] = "wayland"
        self.process = subprocess.Popen([exe], env=env)
        self.env = env

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()


def windowed_view(image):
    """The game's client area below the title bar, or None."""
    bar = title_bar(image)
    if bar is None:
        return None
    return bar[0], bar[3], bar[0] + CLIENT[0], bar[3] + CLIENT[1]


def shows_game(image, box=None):
    return (image.fraction(is_green, box, step=4) > 0.001 and
            image.fraction(is_light_blue, box, step=4) > 0.002)


def is_windowed(image):
    if not panel_shows(image):
        return False
    box = windowed_view(image)
    return box is not None and shows_game(image, box)


def is_full_screen(image):
    return not panel_shows(image) and shows_game(image) and title_bar(image) is None


def start(session, game):
    image, ok = session.wait_for("start", is_windowed, timeout=15, keep=True)
    expect(game.running(), "the game runs")
    expect(ok, "the game's window shows the game below a title bar (%s)" % shown(image))
    return image


def check_native_start(session, game):
    image = start(session, game)
    x0, y0, x1, y1 = title_bar(image)
    print("title bar: %dx%d at %d,%d" % (x1 - x0, y1 - y0, x0, y0))


def check_native_zoom(session, game):
    start(session, game)
    settle()
    box = windowed_view(session.shot("before"))
    tool("xdotool", "mousemove", "--window", session.window, "640", "512")
    before = session.shot("start", keep=True).fraction(is_green, box)
    session.hold("plus", 2.5)
    settle(0.3)
    nearer = session.shot("zoom-in", keep=True).fraction(is_green, box)
    session.hold("minus", 4.0)
    settle(0.3)
    farther = session.shot("zoom-out", keep=True).fraction(is_green, box)
    expect(nearer > before * 1.3, "plus zooms in: the ball grows (%.4f -> %.4f)" % (before, nearer))
    expect(farther < nearer * 0.7, "minus zooms out: the ball shrinks (%.4f -> %.4f)"
           % (nearer, farther))


def check_native_alt_enter(session, game):
    start(session, game)
    settle()
    for trip in range(1, ROUND_TRIPS + 1):
        session.key("alt+Return")
        image, ok = session.wait_for("full-%d" % trip, is_full_screen)
        expect(game.running(), "round trip %d: the game runs after the switch to full screen"
               % trip)
        expect(ok, "round trip %d: the game fills the screen, no title bar (%s)"
               % (trip, shown(image)))
        session.key("alt+Return")
        image, ok = session.wait_for("windowed-%d" % trip, is_windowed)
        expect(game.running(), "round trip %d: the game runs after the switch back" % trip)
        expect(ok, "round trip %d: the window is back with its title bar (%s)"
               % (trip, shown(image)))


def check_native_sigterm(session, game):
    start(session, game)
    settle()
    began = time.monotonic()
    os.kill(game.process.pid, signal.SIGTERM)
    elapsed = seconds_to_end(game, began, LIMIT)
    expect(elapsed is not None and elapsed <= LIMIT, "SIGTERM ends the game within %.0f s (%s)"
           % (LIMIT, "running" if elapsed is None else "%.3f s" % elapsed))
    expect(game.process.returncode == 0, "the exit code is 0 (got %d)" % game.process.returncode)


def compositor_lost(session, game, full_screen):
    if full_screen:
        session.key("alt+Return")
        image, ok = session.wait_for("full", is_full_screen, keep=True)
        expect(ok, "the game is full screen (%s)" % shown(image))
        settle(0.5)
    began = time.monotonic()
    os.kill(int(os.environ["WESTON_PID"]), signal.SIGKILL)
    elapsed = seconds_to_end(game, began, LIMIT)
    expect(elapsed is not None and elapsed <= LIMIT,
           "a lost compositor ends the game within %.0f s (%s)"
           % (LIMIT, "running" if elapsed is None else "%.3f s" % elapsed))
    code = game.process.returncode
    # Death by a signal (negative here) is the only way to a core dump.
    expect(code == DISPLAY_LOST & 0xFF, "the exit code is 0x%X's low byte %d (got %d)"
           % (DISPLAY_LOST, DISPLAY_LOST & 0xFF, code))


def check_native_compositor_lost(session, game):
    start(session, game)
    settle()
    compositor_lost(session, game, False)


def xwayland_start(session, game):
    # Xwayland's windows get their frame from Weston, drawn as libdecor's is.
    image, ok = session.wait_for("start", shows_game, timeout=15, keep=True)
    expect(game.running() and ok, "the game draws through Xwayland (%s)" % shown(image))
    settle()


def check_xwayland_lost_windowed(session, game):
    xwayland_start(session, game)
    compositor_lost(session, game, False)


def check_xwayland_lost_full_screen(session, game):
    xwayland_start(session, game)
    compositor_lost(session, game, True)


CHECKS = {
    "native_start": check_native_start,
    "native_zoom": check_native_zoom,
    "native_alt_enter": check_native_alt_enter,
    "native_sigterm": check_native_sigterm,
    "native_compositor_lost": check_native_compositor_lost,
    "xwayland_lost_windowed": check_xwayland_lost_windowed,
    "xwayland_lost_full_screen": check_xwayland_lost_full_screen,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--out", required=True, help="directory for screenshots")
    parser.add_argument("check", choices=sorted(CHECKS))
    args = parser.parse_args()
    xwayland = args.check.startswith("xwayland")
    if "WESTON_WINDOW" not in os.environ or (xwayland and "XWAYLAND_DISPLAY" not in os.environ):
        print("run this inside scripts/weston-session.sh%s" % (" --xwayland" if xwayland else ""),
              file=sys.stderr)
        return 2
    for number in SIGNALS.values():
        signal.signal(number, signal.SIG_DFL)  # the game inherits them
    out = os.path.join(os.path.abspath(args.out), args.check)
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as config_home:
        game = Game(os.path.abspath(args.exe), config_home, xwayland)
        try:
            CHECKS[args.check](Session(out), game)
        except CheckFailed as failure:
            print("FAILED:", failure, file=sys.stderr)
            return 1
        finally:
            game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
