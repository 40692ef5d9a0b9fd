"""Screen reading for the end-to-end checks: screenshots as RGB rows, quick
window grabs straight from the X server, and how far the floor slid
vertically between two grabs; also the checks' shared command line.

Standard library only (the grabs call libX11 through ctypes).
"""
import argparse
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time


class Image:
    """An RGB picture: `pixels` holds width * height * 3 bytes, row by row."""

    def __init__(self, path=None, width=0, height=0, pixels=b""):
        self.path = path
        self.width = width
        self.height = height
        self.pixels = pixels
        if path is not None and not pixels:
            self._read(path)

    def _read(self, path):
        # Through ImageMagick as binary PPM, whatever the file's format.
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                              capture_output=True).stdout
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("unexpected image format from convert: %r" % fields[:1])
        self.width = int(fields[1])
        self.height = int(fields[2])
        self.pixels = data[pos:pos + self.width * self.height * 3]

    def save(self, path):
        """Writes the picture as PNG (PPM first, then ImageMagick converts)."""
        ppm = path + ".ppm"
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            f.write(self.pixels)
        subprocess.run(["convert", ppm, path], check=True, capture_output=True)
        os.remove(ppm)
        self.path = path

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]

    def points(self, box=None, step=2):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(y0, y1, step):
            for x in range(x0, x1, step):
                yield x, y, self.at(x, y)

    def fraction(self, predicate, box=None, step=2):
        total = hits = 0
        for _, _, rgb in self.points(box, step):
            total += 1
            hits += 1 if predicate(rgb) else 0
        return hits / total if total else 0.0

    def count(self, predicate, box=None, step=2):
        """How many sampled pixels match."""
        return sum(1 for _, _, rgb in self.points(box, step) if predicate(rgb))

    def centroid(self, predicate, step=2):
        xs = ys = n = 0
        for x, y, rgb in self.points(None, step):
            if predicate(rgb):
                xs += x
                ys += y
                n += 1
        return (xs / n, ys / n, n) if n else (None, None, 0)

    def difference(self, other, box=None, step=2, threshold=40):
        """Share of sampled pixels whose colour changed noticeably."""
        total = changed = 0
        for x, y, a in self.points(box, step):
            b = other.at(x, y)
            total += 1
            if sum(abs(p - q) for p, q in zip(a, b)) > threshold:
                changed += 1
        return changed / total if total else 0.0

    def row_means(self, step=2):
        """Mean brightness (R + G + B) of each row, over every step-th pixel.

        A sideways slide of the picture hardly changes these, a vertical one
        moves them along: the floor's horizontal grid lines and tile edges
        show as dips and steps at their rows.
        """
        means = []
        row_bytes = self.width * 3
        for y in range(self.height):
            row = self.pixels[y * row_bytes:(y + 1) * row_bytes]
            picked = row[0::3 * step] + row[1::3 * step] + row[2::3 * step]
            means.append(sum(picked) / (len(picked) / 3))
        return means


def vertical_shift(before, after, band, max_shift=48):
    """How many pixels the picture moved down from `before` to `after`.

    Compares the row means of `after` in band (first row, end row) with those
    of `before` max_shift rows either way, and returns (shift, cost) for the
    shift with the smallest mean absolute difference; a negative shift is a
    move up. The band must keep max_shift rows clear of both picture edges.
    """
    y0, y1 = band
    if y0 - max_shift < 0 or y1 + max_shift > min(before.height, after.height):
        raise ValueError("band %r too close to the edge for shifts of %d" % (band, max_shift))
    a = before.row_means()
    b = after.row_means()
    best = None
    for dy in range(-max_shift, max_shift + 1):
        cost = sum(abs(b[y] - a[y - dy]) for y in range(y0, y1)) / (y1 - y0)
        if best is None or cost < best[1]:
            best = (dy, cost)
    return best


class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, enough to read the pixels.
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
        ("data", ctypes.POINTER(ctypes.c_char)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
    ]


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int),
                ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("rest", ctypes.c_char * 256)]  # the fields after these are not read


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Grabber:
    """Reads a window's pixels straight from the X server ($DISPLAY).

    A grab takes a few milliseconds where `import` takes a tenth of a second
    or more on a busy machine, so a series of grabs can be spaced as a check
    needs.
    """

    ZPIXMAP = 2
    ALL_PLANES = 0xFFFFFFFF

    def __init__(self):
        name = ctypes.util.find_library("X11") or "libX11.so.6"
        self.x = ctypes.CDLL(name)
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XGetImage.restype = ctypes.POINTER(_XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        self.x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                                ctypes.POINTER(_XWindowAttributes)]
        self.x.XSetErrorHandler.argtypes = [_ERROR_HANDLER]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        # Xlib's default handler ends the process on an X error (a window
        # that went away): note it and let the call fail instead.
        self.errors = 0

        def on_error(display, event):
            self.errors += 1
            return 0

        self._handler = _ERROR_HANDLER(on_error)
        self.x.XSetErrorHandler(self._handler)
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display %r" % os.environ.get("DISPLAY"))

    def close(self):
        if self.display:
            self.x.XCloseDisplay(self.display)
            self.display = None

    def grab(self, window):
        """The window's current picture as an Image; None if it cannot be read."""
        window = int(window)
        attributes = _XWindowAttributes()
        if not self.x.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
            return None
        width, height = attributes.width, attributes.height
        image = self.x.XGetImage(self.display, window, 0, 0, width, height,
                                 self.ALL_PLANES, self.ZPIXMAP)
        if not image:
            return None
        try:
            xi = image.contents
            if (xi.bits_per_pixel != 32 or xi.red_mask != 0xFF0000 or xi.green_mask != 0xFF00
                    or xi.blue_mask != 0xFF or xi.byte_order != 0):
                raise RuntimeError("unexpected X image layout (%d bits, masks %x %x %x)"
                                   % (xi.bits_per_pixel, xi.red_mask, xi.green_mask, xi.blue_mask))
            raw = ctypes.string_at(xi.data, xi.bytes_per_line * height)
            if xi.bytes_per_line != width * 4:
                raw = b"".join(raw[y * xi.bytes_per_line:y * xi.bytes_per_line + width * 4]
                               for y in range(height))
        finally:
            self.x.XDestroyImage(image)
        # Little-endian 32-bit pixels: blue, green, red, unused.
        rgb = bytearray(width * height * 3)
        rgb[0::3] = raw[2::4]
        rgb[1::3] = raw[1::4]
        rgb[2::3] = raw[0::4]
        return Image(None, width, height, bytes(rgb))

    def series(self, window, count, interval):
        """count grabs about interval seconds apart, with their times."""
        grabs = []
        next_time = time.monotonic()
        for _ in range(count):
            now = time.monotonic()
            if now < next_time:
                time.sleep(next_time - now)
            stamp = time.monotonic()
            image = self.grab(window)
            if image is not None:
                grabs.append((stamp, image))
            next_time = stamp + interval
        return grabs


# --- the arrow keys move the view ---------------------------------------------

# Rows below the player's ball (which stays near the middle of the 640x480
# picture) where mostly floor shows, with room for shifts either way.
FLOOR_BAND = (260, 430)
MAX_SHIFT = 48
# s; at full speed the floor slides about a tenth of a tile between grabs,
# well short of the half tile where a slide could pass for one the other way
# (a shove on top can double it).
GRAB_INTERVAL = 0.035


def median(values):
    ordered = sorted(values)
    return ordered[len(ordered) // 2] if ordered else 0


def floor_shifts(grabs):
    """Vertical floor shift between each pair of consecutive grabs (down > 0)."""
    return [vertical_shift(a, b, FLOOR_BAND, MAX_SHIFT)[0]
            for (_, a), (_, b) in zip(grabs, grabs[1:])]


def _keep(grabs, out, name):
    if out:
        for which, (_, image) in (("first", grabs[0]), ("last", grabs[-1])):
            image.save(os.path.join(out, "%s-%s.png" % (name, which)))
            print("screenshot:", image.path)


def arrow_slide(window, out=None, grabber=None, tries=2):
    """Holds Up, then Down, and judges how the floor slides under the camera.

    The camera follows the player's ball, so while Up pushes the ball away
    from the viewer the floor slides down the picture, a little more every
    pair of grabs; Down slides it back up. Without input the ball only moves
    when other balls shove it. A crowd of balls in the way can throw the
    player's ball back for a second (seen once: 20 of 39 pairs turned), so a
    failed try is made once more from wherever the ball has got to. Returns
    a list of failure messages (empty when the view moves as it should).
    """
    own = grabber is None
    grabber = grabber or Grabber()
    try:
        for attempt in range(1, tries + 1):
            failures = _slide_once(window, out, grabber)
            if not failures or attempt == tries:
                return failures
            for failure in failures:
                print("try %d: %s" % (attempt, failure))
    finally:
        if own:
            grabber.close()


def _slide_once(window, out, grabber):
    still = grabber.series(window, 16, GRAB_INTERVAL)
    subprocess.run(["xdotool", "keydown", "Up"], check=True)
    # The push ramps up to full speed over 0.8 s; the key may take a few
    # frames to arrive on a busy machine.
    time.sleep(1.2)
    up = grabber.series(window, 40, GRAB_INTERVAL)
    subprocess.run(["xdotool", "keyup", "Up"], check=True)
    # The ball keeps its speed: Down first brakes it, then turns it. The
    # series starts once the floor slides up (at most 5 s): on a busy
    # machine the braking took longer than 1.2 s.
    subprocess.run(["xdotool", "keydown", "Down"], check=True)
    time.sleep(0.8)
    turn_by = time.monotonic() + 5.0
    while time.monotonic() < turn_by:
        pair = grabber.series(window, 2, GRAB_INTERVAL)
        if len(pair) == 2 and floor_shifts(pair)[0] <= -2:
            break
    down = grabber.series(window, 40, GRAB_INTERVAL)
    subprocess.run(["xdotool", "keyup", "Down"], check=True)
    failures = []
    for name, grabs in (("still", still), ("up", up), ("down", down)):
        if len(grabs) < 8:
            failures.append("only %d of the %s grabs could be read" % (len(grabs), name))
        else:
            _keep(grabs, out, name)
    if failures:
        return failures
    shifts = {name: floor_shifts(grabs) for name, grabs in
              (("still", still), ("up", up), ("down", down))}
    for name, values in shifts.items():
        print("floor shift per %.3f s, %s: %s (sum %d, median %d)"
              % (GRAB_INTERVAL, name, " ".join(str(v) for v in values), sum(values),
                 median(values)))
    # The series without input is only shown: a chaser that keeps bumping
    # the player's ball can slide the floor as steadily as a key, so it is
    # no baseline. Down, sliding the floor the other way, is the control.
    # A ball that shoves the player's ball back can turn a few pairs around
    # (usually no more than 9 of 29), hence the median and a modest sum.
    # Pairs without a shift are left out: on a busy machine the game draws
    # fewer frames than there are grabs, and a repeated frame shows none. A
    # view that does not move at all still fails on the sum.
    for name, sign, way in (("up", 1, "down"), ("down", -1, "up")):
        along = [sign * v for v in shifts[name] if v != 0] or [0]
        steady = sum(1 for v in along if v >= 2)
        if steady * 2 < len(along):
            failures.append("holding %s slid the floor %s in only %d of %d grab pairs"
                            % (name.capitalize(), way, steady, len(along)))
        if median(along) < 4:
            failures.append("holding %s: median slide %d px per pair, expected at least 4 px %s"
                            % (name.capitalize(), sign * median(along), way))
        if sum(along) < 60:
            failures.append("holding %s slid the floor %s by only %d px in all"
                            % (name.capitalize(), way, sum(along)))
    return failures


def check_arguments(doc, checks=None, add=None, x_session=True):
    """The command line of an end-to-end script: --exe, --out, the check's name
    when `checks` are given, and whatever `add(parser)` adds. --exe comes back
    absolute; `args.shots(name)` makes and returns the screenshot folder. With
    `x_session`, ends the script (exit 2) when there is no X display."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--out", required=True, help="directory for screenshots")
    if checks is not None:
        parser.add_argument("check", choices=sorted(checks))
    if add is not None:
        add(parser)
    args = parser.parse_args()
    if x_session and not os.environ.get("DISPLAY"):
        print("no DISPLAY: run this inside scripts/xvfb-session.sh", file=sys.stderr)
        sys.exit(2)
    args.exe = os.path.abspath(args.exe)
    out = os.path.abspath(args.out)

    def shots(name):
        folder = os.path.join(out, name)
        os.makedirs(folder, exist_ok=True)
        return folder
    args.shots = shots
    return args


def main(argv):
    """screen.py arrow <window id> [<directory for screenshots>]: exit 0 if
    the arrow keys move the view, 1 if not."""
    if len(argv) < 3 or argv[1] != "arrow":
        print(main.__doc__)
        return 2
    out = argv[3] if len(argv) > 3 else None
    failures = arrow_slide(argv[2], out)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
