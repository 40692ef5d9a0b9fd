#!/usr/bin/env python3
"""Measures the running game from outside, in one session:

- start-up: launch to first frame of the game against a bare SDL2 program
  that draws the same first frame (median of several alternating launches);
- active: frame starts against their due times, wake-ups per frame, CPU,
  frame rate, frame intervals at the swap, heap allocations per frame;
- inactive (minimised): wake-ups per second and CPU.

Run inside a virtual X server (scripts/xvfb-session.sh), with the probe
library built from frame_probe.c:

    xvfb-session.sh run_bench.py --exe build/app/drovane3d \\
        --baseline build/bench/app/bare_first_frame \\
        --probe build/bench/app/libdrovane_frame_probe.so

CPU and wake-ups come from every thread of the process (Mesa's render
threads included): run time from /proc/PID/task/*/schedstat (nanoseconds),
wake-ups as voluntary plus involuntary context switches from
/proc/PID/task/*/status. /proc/PID/stat counts in 10 ms ticks, too coarse
for an idle process.
"""
import argparse
import glob
import math
import os
import statistics
import subprocess
import sys
import tempfile
import time

FRAME_MS = 17  # the main loop's frame interval


def thread_counters(pid):
    """{tid: (run ns, context switches)} for every thread of the process."""
    counters = {}
    for task in glob.glob("/proc/%d/task/*" % pid):
        try:
            with open(task + "/schedstat") as f:
                run_ns = int(f.read().split()[0])
            switches = 0
            with open(task + "/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches",
                                        "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except (OSError, ValueError, IndexError):
            continue  # the thread ended while being read
        counters[int(os.path.basename(task))] = (run_ns, switches)
    return counters


class Sample:
    def __init__(self, pid):
        self.time = time.monotonic()
        self.threads = thread_counters(pid)


def usage(before, after, only=None):
    """Run seconds and context switches between two samples; a thread that
    came or went counts from or to zero."""
    run_ns = 0
    switches = 0
    for tid in set(before.threads) | set(after.threads):
        if only is not None and tid != only:
            continue
        b = before.threads.get(tid, (0, 0))
        a = after.threads.get(tid, (0, 0))
        run_ns += max(0, a[0] - b[0])
        switches += max(0, a[1] - b[1])
    return run_ns / 1e9, switches


def read_record(path):
    """The frames (start, swap called, swap returned, own allocations so
    far, the drawing thread's context switches at the start and after the
    swap) and the other figures by name (own_allocs, first_frame_cpu)."""
    frames = []
    figures = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if parts[0] == "frame":
                frames.append(tuple(float(p) for p in parts[1:4]) +
                              tuple(int(p) for p in parts[4:7]))
            else:
                figures[parts[0]] = float(parts[1])
    return frames, figures


def first_frame_ms(command, probe, tmp, name):
    """Launch to the first buffer swap and the CPU time spent until then,
    in ms; the probe ends the process there."""
    record = os.path.join(tmp, name + ".txt")
    if os.path.exists(record):
        os.remove(record)  # never read an earlier launch's record
    env = dict(os.environ, LD_PRELOAD=os.path.abspath(probe), DROVANE_PROBE_OUT=record,
               DROVANE_PROBE_EXIT_AFTER_FIRST_FRAME="1", XDG_CONFIG_HOME=tmp)
    launched = time.monotonic()
    code = subprocess.run(command, env=env, timeout=60).returncode
    frames, figures = read_record(record) if os.path.exists(record) else ([], {})
    if code != 0 or not frames:
        raise RuntimeError("%s: exit code %d, %d frames" % (command, code, len(frames)))
    return (frames[0][1] - launched) * 1000, figures["first_frame_cpu"] * 1000


def window_of(title):
    out = subprocess.run(["xdotool", "search", "--name", "^%s$" % title],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else None


def frame_lateness(frames):
    """Each frame's start minus its due time in ms, and whether the loop
    waited for it ((None, False) where unknown),
    replaying the main loop's pacing on the probe's record. The loop reads a
    millisecond tick (CLOCK_MONOTONIC truncated), so due times fall on
    whole milliseconds.
    A frame is due FRAME_MS after the previous frame's start as the loop
    counted it: that frame's due time when it waited for it, else the tick
    it read when it found the frame already due, just after the previous
    swap (a late frame moves the schedule, as in the loop)."""
    lateness = []
    counted = None  # the previous frame's start as the loop counted it, ms
    previous_swapped = None
    for start, _, swapped, *_ in frames:
        if start == 0:
            counted = None
            lateness.append((None, False))
            continue
        if counted is None:
            counted = math.floor(start * 1000)  # the first frame: no due time known
            lateness.append((None, False))
        else:
            due = counted + FRAME_MS
            read = math.floor(previous_swapped * 1000)
            lateness.append((start * 1000 - due, read < due))
            counted = due if read < due else read
        previous_swapped = swapped
    return lateness


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(math.ceil(fraction * len(ordered))) - 1)]


def measure_start_up(args, tmp):
    """Launch-to-first-frame times in ms of the bare program clearing only,
    of the bare program drawing the game's frame, and of the game."""
    commands = [[os.path.abspath(args.baseline), "--clear-only"],
                [os.path.abspath(args.baseline)], [os.path.abspath(args.exe)]]
    # One launch each to warm the caches (the shader cache among them), then
    # round after round so that all three see the same machine.
    for command in commands:
        first_frame_ms(command, args.probe, tmp, "warm")
    times = [[], [], []]
    for i in range(args.launches):
        for command, found in zip(commands, times):
            found.append(first_frame_ms(command, args.probe, tmp, "launch"))
    return times


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--active-seconds", type=float, default=10.0)
    parser.add_argument("--inactive-seconds", type=float, default=20.0)
    parser.add_argument("--launches", type=int, default=11)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        clear_only, bare, game_starts = measure_start_up(args, tmp)

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
        # The window manager focuses new windows, but not always at once.
        subprocess.run(["xdotool", "windowactivate", "--sync", window], check=True, timeout=20)

        time.sleep(2.0)  # warm up
        active = Sample(game.pid)
        time.sleep(args.active_seconds)
        active_end = Sample(game.pid)

        subprocess.run(["xdotool", "windowminimize", window], check=True)
        time.sleep(1.0)
        inactive = Sample(game.pid)
        time.sleep(args.inactive_seconds)
        inactive_end = Sample(game.pid)

        # Full screen: the 1024x768 picture scaled to the whole screen.
        subprocess.run(["xdotool", "windowactivate", "--sync", window], check=True, timeout=20)
        time.sleep(1.0)
        subprocess.run(["xdotool", "key", "alt+Return"], check=True)
        time.sleep(2.0)
        window = window_of("Drovane 3D") or window
        full = Sample(game.pid)
        time.sleep(args.active_seconds)
        full_end = Sample(game.pid)

        subprocess.run(["wmctrl", "-i", "-c", window], check=True)
        code = game.wait(10)
        frames, figures = read_record(record)
        total_allocs = int(figures["own_allocs"])

    span = active_end.time - active.time
    idle_span = inactive_end.time - inactive.time
    act = [f for f in frames if active.time <= f[1] < active_end.time]
    ina = [f for f in frames if inactive.time <= f[1] < inactive_end.time]
    # Lateness is computed over every frame (the schedule carries over) and
    # then kept for the frames of the active span.
    timed = [x for f, x in zip(frames, frame_lateness(frames))
             if x[0] is not None and active.time <= f[1] < active_end.time]
    late = [x for x, _ in timed]
    after_wait = [x for x, waited in timed if waited]

    print("exit code: %d" % code)
    print("start-up, launch to first frame, %d launches each: median wall time (min),"
          " median CPU time" % len(bare))
    for label, found in (("bare SDL2 program, clear and swap only", clear_only),
                         ("bare SDL2 program drawing the game's first frame", bare),
                         ("game", game_starts)):
        wall = [w for w, _ in found]
        print("  %-49s %6.1f ms (%.1f), CPU %.1f ms" % (
            label + ":", statistics.median(wall), min(wall),
            statistics.median(c for _, c in found)))
    # Each round's game launch against the bare launch just before it: on a
    # busy machine the pairs share their conditions better than the medians.
    overhead = [g[0] - b[0] for g, b in zip(game_starts, bare)]
    print("  start-up overhead, game minus bare drawing:        %6.1f ms (%.1f), CPU %.1f ms"
          % (statistics.median(overhead), min(g for g, _ in game_starts) - min(b for b, _ in bare),
             statistics.median(g[1] - b[1] for g, b in zip(game_starts, bare))))

    cpu, switches = usage(active, active_end)
    _, main_switches = usage(active, active_end, only=game.pid)
    print("active, %.1f s: %.1f frames per second (%d frames)" % (span, len(act) / span, len(act)))
    for label, found in (("frame start minus due time", late),
                         ("  frames the loop waited for", after_wait)):
        if found:
            print("  %s: mean %.2f ms, p99 %.2f ms, max %.2f ms (%d frames, %d before due)"
                  % (label, statistics.mean(found), percentile(found, 0.99), max(found),
                     len(found), sum(1 for x in found if x < 0)))
    if len(act) > 1:
        gaps = [b[1] - a[1] for a, b in zip(act, act[1:])]
        print("  frame interval at the swap: min %.1f ms, mean %.1f ms, max %.1f ms"
              % (1000 * min(gaps), 1000 * statistics.mean(gaps), 1000 * max(gaps)))
        # Between one frame's swap and the next frame's start the loop only
        # waits (and handles messages): those switches are the wait's own.
        waits = [b[4] - a[5] for a, b in zip(act, act[1:]) if b[0] != 0]
        print("  wake-ups per frame: %.2f in the wait between frames; all in all %.1f of"
              " the main thread, %.1f of all threads (Mesa's included)"
              % (statistics.mean(waits), main_switches / len(act), switches / len(act)))
        allocs = act[-1][3] - act[0][3]
        print("  heap allocations by our code per frame: %.3f (%d in %d frames; %d in the"
              " whole run)" % (allocs / (len(act) - 1), allocs, len(act) - 1, total_allocs))
    print("  CPU: %.1f%% of one core" % (100 * cpu / span))

    cpu, switches = usage(inactive, inactive_end)
    print("inactive (minimised), %.1f s: %.2f wake-ups per second, CPU %.3f%% of one core,"
          " %d frames drawn" % (idle_span, switches / idle_span, 100 * cpu / idle_span, len(ina)))

    full_span = full_end.time - full.time
    shown = [f for f in frames if full.time <= f[1] < full_end.time]
    cpu, _ = usage(full, full_end)
    print("full screen (scaled to the screen), %.1f s: %.1f frames per second, CPU %.1f%% of"
          " one core" % (full_span, len(shown) / full_span, 100 * cpu / full_span))
    return 0


if __name__ == "__main__":
    sys.exit(main())
