#!/usr/bin/env python3
"""Measures the running game: frames per second, CPU use while active and
while inactive, time from start to the first frame, and heap allocations
by our own code per frame in steady state.

Run inside a virtual X server (scripts/xvfb-session.sh), with the probe
library built from frame_probe.c:

    xvfb-session.sh run_bench.py --exe build/app/drovane3d \
        --probe build/bench/app/libdrovane_frame_probe.so
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime


def window_of(title):
    out = subprocess.run(["xdotool", "search", "--name", "^%s$" % title],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--seconds", type=float, default=5.0)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        record = os.path.join(tmp, "probe.txt")
        env = dict(os.environ, LD_PRELOAD=os.path.abspath(args.probe),
                   DROVANE_PROBE_OUT=record, XDG_CONFIG_HOME=tmp)
        launched = time.monotonic()
        game = subprocess.Popen([os.path.abspath(args.exe)], env=env)
        window = None
        while window is None and time.monotonic() - launched < 20:
            window = window_of("Drovane 3D")
            time.sleep(0.02)
        if window is None:
            print("no window", file=sys.stderr)
            game.kill()
            return 1

        time.sleep(2.0)  # warm up
        active = (time.monotonic(), cpu_seconds(game.pid))
        time.sleep(args.seconds)
        active_end = (time.monotonic(), cpu_seconds(game.pid))

        subprocess.run(["xdotool", "windowminimize", window], check=True)
        time.sleep(1.0)
        inactive = (time.monotonic(), cpu_seconds(game.pid))
        time.sleep(args.seconds)
        inactive_end = (time.monotonic(), cpu_seconds(game.pid))

        subprocess.run(["wmctrl", "-i", "-c", window], check=True)
        code = game.wait(10)

        start = None
        total_allocs = 0
        swaps = []
        with open(record) as f:
            for line in f:
                parts = line.split()
                if parts[0] == "start":
                    start = float(parts[1])
                elif parts[0] == "own_allocs":
                    total_allocs = int(parts[1])
                elif parts[0] == "swap":
                    swaps.append((float(parts[1]), int(parts[2])))

    def in_span(a, b):
        return [s for s in swaps if a <= s[0] < b]

    act = in_span(active[0], active_end[0])
    ina = in_span(inactive[0], inactive_end[0])
    span = active_end[0] - active[0]
    print("exit code: %d" % code)
    print("time from start to first frame: %.0f ms" % ((swaps[0][0] - start) * 1000))
    print("frames per second while active: %.1f (%d frames in %.1f s)"
          % (len(act) / span, len(act), span))
    if len(act) > 1:
        gaps = [b[0] - a[0] for a, b in zip(act, act[1:])]
        print("frame interval: min %.1f ms, mean %.1f ms, max %.1f ms"
              % (1000 * min(gaps), 1000 * sum(gaps) / len(gaps), 1000 * max(gaps)))
        allocs = act[-1][1] - act[0][1]
        print("heap allocations by our code per frame (steady state): %.3f (%d in %d frames;"
              " %d in the whole run)" % (allocs / (len(act) - 1), allocs, len(act) - 1,
                                         total_allocs))
    print("CPU use while active: %.0f%% of one core"
          % (100 * (active_end[1] - active[1]) / span))
    print("CPU use while inactive (minimised): %.1f%% of one core, %d frames drawn"
          % (100 * (inactive_end[1] - inactive[1]) / (inactive_end[0] - inactive[0]), len(ina)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
