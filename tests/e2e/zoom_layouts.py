#!/usr/bin/env python3
"""End-to-end check that the zoom keys follow the keyboard layout: in a fresh
X session (scripts/xvfb-session.sh) set the layout, start drovane3d, press
the key that types '+' until the green ball has grown and, with --minus, the
key that types '-' until it has shrunk. Keys are held in bursts until the
screenshots show the change, so a busy machine only takes more of them.
"""
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree
from drovane_e2e import (CheckFailed, Game, expect, is_green, most_of_three, settle,  # noqa: E402
                         tool)
from screen import check_arguments  # noqa: E402

BURST_SECONDS = 0.3
MAX_BURSTS = 25  # at 60 fps the whole zoom range takes 17


def ball_height(image):
    """Height in pixels of the green ball's bounding box (0: none seen)."""
    rows = [y for x, y, rgb in image.points(step=2) if is_green(rgb)]
    return max(rows) - min(rows) + 1 if len(rows) > 20 else 0


def tallest(game, name):
    return most_of_three(lambda: game.shot(name), ball_height)


def hold_until(game, key, name, done):
    """Holds key down in short bursts until done(height) is true of the ball
    after one. A burst moves the camera at most 90 units (60 fps), so '+'
    stops short of the nearest zoom, where a resting ball can hide the
    player's (see ZOOM_IN_SECONDS)."""
    heights = []
    for _ in range(MAX_BURSTS):
        game.hold(key, BURST_SECONDS)
        heights.append(tallest(game, name))
        if done(heights[-1]):
            break
    print("%s: ball heights after each burst: %s" % (key, heights))
    return heights[-1]


def check(game, layout, minus):
    tool("xdotool", "windowactivate", "--sync", game.window)
    settle()
    start = tallest(game, "start")
    expect(start > 10, "the green ball is in view (%d px tall)" % start)
    nearer = hold_until(game, "plus", "plus", lambda h: h > 2.5 * start)
    expect(nearer > 2 * start, "%s: holding '+' zooms in (ball %d -> %d px)" % (layout, start, nearer))
    if minus:
        farther = hold_until(game, "minus", "minus", lambda h: 0 < h < 0.6 * start)
        expect(0 < farther < 0.8 * start,
               "%s: holding '-' zooms out (ball %d -> %d px)" % (layout, nearer, farther))


def main():
    def layout_options(parser):
        parser.add_argument("--layout", required=True, help="an XKB layout: us, de, fr ...")
        parser.add_argument("--minus", action="store_true", help="also check the '-' key")
    args = check_arguments(__doc__, add=layout_options)
    out = args.shots("zoom_layout_" + args.layout)
    # Before the game starts: SDL reads the keymap when it opens the display.
    tool("setxkbmap", args.layout)
    with tempfile.TemporaryDirectory() as config_home:
        game = Game(args.exe, out, config_home)
        try:
            check(game, args.layout, args.minus)
            if game.process.poll() is not None:
                raise CheckFailed("drovane3d ended during the check")
        except CheckFailed as failure:
            print("FAILED:", failure, file=sys.stderr)
            return 1
        finally:
            game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
