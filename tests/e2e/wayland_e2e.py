#!/usr/bin/env python3
"""End-to-end checks of drovane3d on a Wayland compositor: natively (SDL's
Wayland driver) and through Xwayland (SDL's X11 driver). Run one check per
fresh session, Weston inside a private Xvfb, e.g.

    xvfb-session.sh weston-session.sh [--xwayland] wayland_e2e.py \\
        --exe build/app/drovane3d --out shots native_start

Weston shows its output as an X window (WESTON_WINDOW): screenshots are
taken of it and keys typed into it reach the focused Wayland client.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time
import types

sys.dont_write_bytecode = True  # nothing written into the source tree
from drovane_e2e import (CheckFailed, ZOOM_IN_SECONDS, expect, is_green, is_light_blue,  # noqa: E402
                         most_of_three, settle, tool)
from screen import Grabber, check_arguments  # noqa: E402
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


def launch(exe, config_home, xwayland):
    env = dict(os.environ, XDG_CONFIG_HOME=config_home)
    if xwayland:
        env.update(DISPLAY=os.environ["XWAYLAND_DISPLAY"], SDL_VIDEODRIVER="x11")
    else:
        env.pop("DISPLAY", None)
        env["SDL_VIDEODRIVER"] = "wayland"
    return subprocess.Popen([exe], env=env)


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


def start(session, game, xwayland=False):
    # Under Xwayland the frame is Weston's own: only the picture is looked for.
    image, ok = session.wait_for("start", shows_game if xwayland else is_windowed,
                                 timeout=15, keep=True)
    expect(game.poll() is None, "the game runs")
    expect(ok, "the game draws%s (%s)" % ("" if xwayland else " below a title bar", shown(image)))
    settle()
    return image


def check_native_start(session, game):
    image = session.shot("start")
    x0, y0, x1, y1 = title_bar(image)
    print("title bar: %dx%d at %d,%d" % (x1 - x0, y1 - y0, x0, y0))


def check_native_zoom(session, game):
    box = windowed_view(session.shot("before"))
    tool("xdotool", "mousemove", "--window", session.window, "640", "512")
    before = session.shot("start", keep=True).count(is_green, box)
    session.hold("plus", ZOOM_IN_SECONDS)
    settle(0.3)
    nearer = most_of_three(lambda: session.shot("zoom-in", keep=True),
                           lambda image: image.count(is_green, box))
    session.hold("minus", 4.0)
    settle(0.3)
    farther = session.shot("zoom-out", keep=True).count(is_green, box)
    expect(nearer > before * 1.3, "plus zooms in: the ball grows (%d -> %d samples)" % (before, nearer))
    expect(farther < nearer * 0.7, "minus zooms out: the ball shrinks (%d -> %d samples)"
           % (nearer, farther))


def switch(session, game, name, predicate, what):
    session.key("alt+Return")
    image, ok = session.wait_for(name, predicate, keep=name == "full")
    expect(game.poll() is None and ok, "%s: %s (%s)" % (name, what, shown(image)))


def check_native_alt_enter(session, game):
    for trip in range(1, ROUND_TRIPS + 1):
        switch(session, game, "full-%d" % trip, is_full_screen, "the game fills the screen")
        switch(session, game, "windowed-%d" % trip, is_windowed,
               "the window is back with its title bar")


def ends(game, what, stop, code):
    began = time.monotonic()
    stop()
    elapsed = seconds_to_end(types.SimpleNamespace(process=game), began, LIMIT)
    expect(elapsed is not None and elapsed <= LIMIT, "%s ends the game within %.0f s (%s)"
           % (what, LIMIT, "running" if elapsed is None else "%.3f s" % elapsed))
    # Death by a signal (negative here) is the only way to a core dump.
    expect(game.returncode == code, "the exit code is %d (got %d)" % (code, game.returncode))


def sigterm(session, game):
    ends(game, "SIGTERM", lambda: game.send_signal(signal.SIGTERM), 0)


def compositor_lost(session, game, full_screen=False):
    if full_screen:
        switch(session, game, "full", is_full_screen, "the game is full screen")
        settle(0.5)
    ends(game, "a lost compositor", lambda: os.kill(int(os.environ["WESTON_PID"]), signal.SIGKILL),
         DISPLAY_LOST & 0xFF)


CHECKS = {
    "native_start": check_native_start,
    "native_zoom": check_native_zoom,
    "native_alt_enter": check_native_alt_enter,
    "native_sigterm": sigterm,
    "native_compositor_lost": compositor_lost,
    "xwayland_lost_windowed": compositor_lost,
    "xwayland_lost_full_screen": lambda session, game: compositor_lost(session, game, True),
}


def main():
    args = check_arguments(__doc__, CHECKS, x_session=False)
    xwayland = args.check.startswith("xwayland")
    if "WESTON_WINDOW" not in os.environ or (xwayland and "XWAYLAND_DISPLAY" not in os.environ):
        print("run this inside scripts/weston-session.sh%s" % (" --xwayland" if xwayland else ""),
              file=sys.stderr)
        return 2
    for number in SIGNALS.values():
        signal.signal(number, signal.SIG_DFL)  # the game inherits them
    out = args.shots(args.check)
    with tempfile.TemporaryDirectory() as config_home:
        game = launch(args.exe, config_home, xwayland)
        try:
            session = Session(out)
            start(session, game, xwayland)
            CHECKS[args.check](session, game)
        except CheckFailed as failure:
            print("FAILED:", failure, file=sys.stderr)
            return 1
        finally:
            if game.poll() is None:
                game.kill()
                game.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
