#!/usr/bin/env python3
"""End-to-end checks of drovane3d in a real X server.

Each check starts the game, drives it with xdotool, reads the screen with
`import -window` and judges pixel colours. Run one check per fresh X session
(scripts/xvfb-session.sh), e.g.

    xvfb-session.sh drovane_e2e.py --exe build/app/drovane3d --out shots first_frame

Standard library only; the screenshots stay in --out (their paths are
printed) so a failure can be looked at.
"""
import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
from screen import GRAB_INTERVAL, Grabber, Image, arrow_slide, check_arguments  # noqa: E402

TITLE = "Drovane 3D"
CLEAR_GREY = (51, 51, 51)  # the clear colour 0.2, 0.2, 0.2


class CheckFailed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)
    print("ok:", message)


def tool(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def is_green(rgb):  # the player's ball
    r, g, b = rgb
    return g > 90 and g > r + 50 and g > b + 50


def is_red(rgb):  # chasers, by default
    r, g, b = rgb
    return r > 90 and g < 0.3 * r and b < 0.3 * r  # orange tiles have g near r / 2


def is_light_blue(rgb):  # normal balls, by default
    r, g, b = rgb
    return b > 200 and 90 < r < 230 and b > g + 20 and g >= r + 6


def is_pure_blue(rgb):  # chasers coloured blue by the settings file
    r, g, b = rgb
    return b > 90 and r < 60 and g < 60


def is_yellow(rgb):  # normal balls coloured yellow by the settings file
    r, g, b = rgb
    return r > 150 and g > 150 and b < 80


def is_orange(rgb):  # floor tile 0 coloured orange by the settings file
    r, g, b = rgb
    return r > 120 and g > 50 and r > g + 40 and b < 60


def is_clear(rgb):
    return all(abs(c - k) <= 3 for c, k in zip(rgb, CLEAR_GREY))


class Game:
    def __init__(self, exe, out, config_home):
        self.out = out
        env = dict(os.environ)
        env["XDG_CONFIG_HOME"] = config_home  # only the test's own settings
        self.process = subprocess.Popen([exe], env=env)
        self.window = None
        deadline = time.time() + 15
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise CheckFailed("drovane3d ended at start with code %d" % self.process.returncode)
            found = subprocess.run(["xdotool", "search", "--name", "^%s$" % TITLE],
                                   capture_output=True, text=True).stdout.split()
            if found:
                self.window = found[0]
                break
            time.sleep(0.05)
        if self.window is None:
            raise CheckFailed("no window titled %r appeared" % TITLE)
        self.shots = 0
        self.wait_until_playing(time.time() + 15)

    def wait_until_playing(self, deadline):
        """Waits, until deadline at most, for the window to have the keyboard
        focus and show its first frame. The window exists before either: keys
        sent before it has the focus go nowhere, and on a busy machine the
        first frame can come later than a fixed pause (measured: 1.2 s). The
        checks judge what they see afterwards either way."""
        started = time.time()
        path = os.path.join(self.out, "starting.png")
        while time.time() < deadline and self.process.poll() is None:
            focus = subprocess.run(["xdotool", "getwindowfocus"],
                                   capture_output=True, text=True).stdout.strip()
            grabbed = subprocess.run(["import", "-window", self.window, path],
                                     capture_output=True).returncode == 0
            if focus == self.window and grabbed and Image(path).count(is_green) > 50:
                print("focused and drawn after %.2f s" % (time.time() - started))
                return
            time.sleep(0.05)
        print("not focused and drawn after %.2f s" % (time.time() - started))

    def geometry(self):
        """WIDTH, HEIGHT, X, Y of the window; empty while it cannot be read."""
        info = {}
        found = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.window],
                               capture_output=True, text=True)
        if found.returncode != 0:
            return info
        for line in found.stdout.splitlines():
            key, _, value = line.partition("=")
            info[key] = int(value) if value.lstrip("-").isdigit() else value
        return info

    def shot(self, name):
        self.shots += 1
        path = os.path.join(self.out, "%02d-%s.png" % (self.shots, name))
        tool("import", "-window", self.window, path)
        print("screenshot:", path)
        return Image(path)

    def key(self, *keys):
        tool("xdotool", "key", "--window", self.window, *keys)

    def hold(self, key, seconds):
        tool("xdotool", "keydown", key)
        time.sleep(seconds)
        tool("xdotool", "keyup", key)

    def close(self, timeout=10):
        tool("wmctrl", "-i", "-c", self.window)
        return self.process.wait(timeout)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def settle(seconds=1.0):
    time.sleep(seconds)


# How long '+' is held to zoom in: at 60 fps it takes the camera from 480 to
# about 240 units. Never to the nearest zoom (75): there a ball resting against
# the player's, on the camera's side, hides all of it but a thin rim, while
# from 90 units out no ball can hide it whole.
ZOOM_IN_SECONDS = 0.8


def most_of_three(shot, measure):
    """The largest measure(image) of three screenshots: a ball passing in front
    of the player's only ever hides some of it, and never for long."""
    return max(measure(shot()) for _ in range(3))


# --- the checks --------------------------------------------------------------

def check_title_and_size(game):
    expect(tool("xdotool", "getwindowname", game.window).strip() == TITLE,
           "window title is %r" % TITLE)
    g = game.geometry()
    expect((g["WIDTH"], g["HEIGHT"]) == (640, 480),
           "client area is 640x480 (got %dx%d)" % (g["WIDTH"], g["HEIGHT"]))


def check_first_frame(game):
    settle()
    image = game.shot("first-frame")
    expect((image.width, image.height) == (640, 480), "screenshot is 640x480")
    cx, cy, n = image.centroid(is_green)
    expect(n > 50, "the green player ball is drawn (%d samples)" % n)
    expect(abs(cx - 320) < 100 and abs(cy - 240) < 120,
           "the green ball is near the centre (at %.0f, %.0f)" % (cx, cy))
    floor = image.fraction(lambda rgb: min(rgb) > 120 and max(rgb) - min(rgb) < 30)
    expect(floor > 0.10, "grey and white floor tiles cover the view (%.0f%%)" % (100 * floor))
    expect(image.fraction(is_light_blue) > 0.002, "light blue normal balls are in view")


def check_arrow_moves_view(game):
    settle()
    failures = arrow_slide(game.window, game.out)
    for failure in failures:
        print("not so:", failure)
    expect(not failures, "holding Up slides the floor down the picture, Down slides it up")
    moved = game.shot("after-arrows")
    cx, cy, n = moved.centroid(is_green)
    expect(n > 50 and abs(cx - 320) < 120 and abs(cy - 240) < 140,
           "the green ball stays near the centre (at %s, %s)" % (cx, cy))


def check_wheel_tilts(game):
    settle()
    level = game.shot("start")
    tool("xdotool", "mousemove", "--window", game.window, "320", "240")
    start = level.fraction(is_clear)
    for _ in range(8):
        tool("xdotool", "click", "4")
        time.sleep(0.05)
    settle(0.5)
    one_way = game.shot("wheel-away")
    for _ in range(16):
        tool("xdotool", "click", "5")
        time.sleep(0.05)
    settle(0.5)
    other_way = game.shot("wheel-towards")
    a, b = one_way.fraction(is_clear), other_way.fraction(is_clear)
    expect(abs(a - start) > 0.03 or abs(b - start) > 0.03,
           "the wheel changes how much background shows (%.0f%% -> %.0f%% / %.0f%%)"
           % (100 * start, 100 * a, 100 * b))
    expect((a - start) * (b - start) < 0 or abs(a - b) > 0.05,
           "the two wheel directions tilt opposite ways")


def check_zoom(game):
    settle()
    start = game.shot("start").count(is_green)
    game.hold("plus", ZOOM_IN_SECONDS)
    settle(0.3)
    nearer = most_of_three(lambda: game.shot("zoom-in"), lambda image: image.count(is_green))
    game.hold("minus", 4.0)
    settle(0.3)
    farther = game.shot("zoom-out").count(is_green)
    expect(nearer > start * 1.3, "plus zooms in: the ball grows (%d -> %d samples)" % (start, nearer))
    expect(farther < nearer * 0.7, "minus zooms out: the ball shrinks (%d -> %d samples)"
           % (nearer, farther))


CALM_PAIRS = 4  # grab pairs just before the key that must show no shove


def check_new_game(game):
    # Between grabs 0.07 s apart the picture changes only where balls move
    # (the floor drifts when the player's ball is shoved): a new game puts
    # every ball and the camera somewhere else at once, so one pair of grabs
    # across the key press differs far more than any pair before it
    # (measured: 50-85% at the press, at most 8-22% between grabs before).
    # Grabs 0.5 s apart were no good: moving balls and a drifting floor
    # changed 39-55% of the picture without input. A chaser shoving the
    # player's ball slides the whole floor too (up to 59% between grabs):
    # a try with such a shove in the last grabs before the key is taken
    # again. On a busy machine chasers kept shoving through three tries in
    # a row, so there are five.
    settle()
    grabber = Grabber()
    try:
        for _ in range(5):
            before = grabber.series(game.window, 8, GRAB_INTERVAL)
            game.key("r")
            after = grabber.series(game.window, 8, GRAB_INTERVAL)
            expect(len(before) == 8 and len(after) == 8, "the window could be grabbed")
            images = [image for _, image in before + after]
            changes = [a.difference(b) for a, b in zip(images, images[1:])]
            quiet = max(changes[len(before) - 1 - CALM_PAIRS:len(before) - 1])
            jump = max(changes[len(before) - 1:])
            print("share of the picture changed between grabs: %s"
                  % " ".join("%.2f" % c for c in changes))
            if quiet < 0.3:
                break
            settle()
    finally:
        grabber.close()
    expect(jump > 0.35 and jump > 1.5 * quiet,
           "typing r starts a new game (%.0f%% of the picture changed at once, at most %.0f%%"
           " between grabs before)" % (100 * jump, 100 * quiet))
    before[-1][1].save(os.path.join(game.out, "before-r.png"))
    after[-1][1].save(os.path.join(game.out, "after-r.png"))
    expect(after[-1][1].count(is_green) > 50, "the new game shows the green ball")


def switch_mode(game, width, height, screen, timeout=10):
    """Presses Alt+Enter and follows the game's window (a mode switch replaces
    it) until its client area is width x height and the display is screen
    (["W", "H"]), or the time is up; returns the last geometry and display."""
    # Through the focus, not --window: the game destroys its window on the
    # key-down, and events sent to that window afterwards would fail.
    tool("xdotool", "key", "alt+Return")
    deadline = time.time() + timeout
    g, shown = {}, []
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--name", "^%s$" % TITLE],
                               capture_output=True, text=True).stdout.split()
        if found:
            game.window = found[0]
            g = game.geometry()
            shown = tool("xdotool", "getdisplaygeometry").split()
            if (g.get("WIDTH"), g.get("HEIGHT")) == (width, height) and shown == screen:
                break
        time.sleep(0.1)
    return g, shown


def picture_rows(image):
    """First and last row that is not black: the picture between the bars."""
    rows = [y for y, mean in enumerate(image.row_means(step=4)) if mean > 6]
    return (rows[0], rows[-1]) if rows else (None, None)


def check_fullscreen(game):
    """Full screen at 1024x768 is scaled, never a mode change: the window
    covers the 1280x1024 screen, which keeps its mode, and shows the 4:3
    picture 1280x960 between black bars."""
    settle()
    g, screen = switch_mode(game, 1280, 1024, ["1280", "1024"])
    expect((g.get("WIDTH"), g.get("HEIGHT"), g.get("X"), g.get("Y")) == (1280, 1024, 0, 0),
           "Alt+Enter gives a window covering the screen (got %sx%s at %s,%s)"
           % (g.get("WIDTH"), g.get("HEIGHT"), g.get("X"), g.get("Y")))
    expect(screen == ["1280", "1024"], "the display keeps its mode (got %s)" % "x".join(screen))
    settle()
    full = game.shot("fullscreen")
    expect(full.count(is_green) > 50, "the full-screen window draws the game")
    top, bottom = picture_rows(full)
    expect(top is not None and abs(top - 32) <= 2 and abs(bottom - 991) <= 2,
           "black bars of 32 rows above and below the picture (rows %s to %s)" % (top, bottom))
    middle = (top + bottom) // 2 if top is not None else 512
    edges = [full.at(x, middle) for x in (0, 1, 1278, 1279)]
    expect(all(sum(rgb) > 30 for rgb in edges),
           "the picture reaches both sides of the screen: 4:3 at 1280x960 (%s)" % edges)
    g, screen = switch_mode(game, 640, 480, ["1280", "1024"])
    expect((g.get("WIDTH"), g.get("HEIGHT")) == (640, 480),
           "Alt+Enter again gives back the 640x480 client area (got %sx%s)"
           % (g.get("WIDTH"), g.get("HEIGHT")))
    settle()
    expect(game.shot("windowed-again").count(is_green) > 50,
           "the window draws the game again after the switch back")


def check_settings_colours(game):
    settle()
    image = game.shot("settings")
    tile = image.fraction(is_orange)
    expect(tile > 0.05, "orange floor tiles from the settings file show (%.0f%%)" % (100 * tile))
    expect(image.fraction(is_yellow) > 0.002, "normal balls are yellow as the settings say")
    expect(image.fraction(is_light_blue) == 0.0, "no ball keeps the default light blue")
    expect(image.count(is_green) > 50, "the player's ball keeps its default green")
    # The one chaser steers at the player's ball: look down from far away so
    # it comes into view.
    tool("xdotool", "mousemove", "--window", game.window, "320", "240")
    for _ in range(30):
        tool("xdotool", "click", "5")
    game.hold("minus", 3.0)
    # From that far a ball covers about 75 to 370 pixels; no other colour in the
    # scene comes near pure blue or red, so 20 pixels of either are a chaser.
    seen_blue = seen_red = False
    deadline = time.time() + 20
    while time.time() < deadline and not seen_blue:
        time.sleep(1.0)
        image = game.shot("waiting-for-chaser")
        seen_blue = image.count(is_pure_blue, step=1) >= 20
        seen_red = seen_red or image.count(is_red, step=1) >= 20
    expect(seen_blue, "a blue chaser comes into view")
    expect(not seen_red, "no red chaser was ever drawn")


def check_close(game):
    settle()
    code = game.close()
    expect(code == 0, "closing through the window manager ends with exit code 0 (got %d)" % code)


CHECKS = {
    "title_and_size": check_title_and_size,
    "first_frame": check_first_frame,
    "arrow_moves_view": check_arrow_moves_view,
    "wheel_tilts": check_wheel_tilts,
    "zoom": check_zoom,
    "new_game": check_new_game,
    "fullscreen": check_fullscreen,
    "settings_colours": check_settings_colours,
    "close": check_close,
}

# Floor tile 0 orange (Color0), normal balls yellow (Color2), chasers blue
# (Color3).
SETTINGS = """Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]
"Color0"=dword:000080ff
"Color2"=dword:0000ffff
"Color3"=dword:00ff0000
"""


def main():
    args = check_arguments(__doc__, CHECKS)
    out = args.shots(args.check)
    with tempfile.TemporaryDirectory() as config_home:
        if args.check == "settings_colours":
            os.makedirs(os.path.join(config_home, "drovane"))
            with open(os.path.join(config_home, "drovane", "settings.reg"), "w") as f:
                f.write(SETTINGS.replace("\n", "\r\n"))
        game = Game(args.exe, out, config_home)
        try:
            CHECKS[args.check](game)
            if args.check != "close" and game.process.poll() is not None:
                raise CheckFailed("drovane3d ended during the check")
        except CheckFailed as failure:
            print("FAILED:", failure, file=sys.stderr)
            return 1
        finally:
            if game.process.poll() is None and args.check != "close":
                try:
                    code = game.close()
                    print("drovane3d exited with code %d" % code)
                except subprocess.TimeoutExpired:
                    game.kill()
            game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
