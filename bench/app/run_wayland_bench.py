#!/usr/bin/env python3
"""Measures the game on a Wayland compositor (SDL's Wayland driver) from
outside: wake-ups per second and CPU while active and while inactive (a
second client, weston-flower, has the focus), and how long SIGTERM takes to
end it. Run inside Weston inside a virtual X server:

    xvfb-session.sh weston-session.sh run_wayland_bench.py --exe build/app/drovane3d

Wake-ups and CPU count every thread of the process, as run_bench.py does.
"""
import argparse
import os
import select
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
from run_bench import Sample, usage  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--active-seconds", type=float, default=10.0)
    parser.add_argument("--inactive-seconds", type=float, default=20.0)
    args = parser.parse_args()
    if "WAYLAND_DISPLAY" not in os.environ:
        print("run this inside scripts/weston-session.sh", file=sys.stderr)
        return 2

    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, XDG_CONFIG_HOME=tmp, SDL_VIDEODRIVER="wayland")
        env.pop("DISPLAY", None)
        for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(number, signal.SIG_DFL)  # the game inherits them
        game = subprocess.Popen([os.path.abspath(args.exe)], env=env)
        time.sleep(3.0)  # start and warm up; Weston focuses the new window
        active = Sample(game.pid)
        time.sleep(args.active_seconds)
        active_end = Sample(game.pid)

        other = subprocess.Popen(["weston-flower"], env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        time.sleep(1.0)
        inactive = Sample(game.pid)
        time.sleep(args.inactive_seconds)
        inactive_end = Sample(game.pid)
        other.terminate()
        other.wait()

        pidfd = os.pidfd_open(game.pid)
        began = time.monotonic()
        game.send_signal(signal.SIGTERM)
        ended = select.select([pidfd], [], [], 10.0)[0]
        latency = time.monotonic() - began
        os.close(pidfd)
        if not ended:
            game.kill()
        code = game.wait()

    for label, before, after in (("active", active, active_end),
                                 ("inactive (another client focused)", inactive, inactive_end)):
        span = after.time - before.time
        cpu, switches = usage(before, after)
        print("%s, %.1f s: %.2f wake-ups per second, CPU %.3f%% of one core"
              % (label, span, switches / span, 100 * cpu / span))
    print("SIGTERM: exit code %d after %.3f s%s" % (code, latency, "" if ended else " (killed)"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
