#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""Key-to-pixel latency of the bin, measured from outside the game as a player sees it.

    latency.py BUILD_DIR [PERIOD_MS ...] [--presses N]

A separate X client sends the left arrow through XTEST, as a keyboard would, and reads the
bin's pixels back from the X server (GetImage of one row through the bins) until the bin shows
in its new column: the press moves it to the left column, the release back to the middle. The
time runs from just before the key is sent to the first read that shows the bin there.
`luminaku_bench latency PERIOD_MS` shows the playfield; PERIOD_MS 0 runs no round.

Needs an X display (bench/run.sh gives it one with xvfb-run) and python3-xlib.
"""

import argparse
import math
import os
import random
import subprocess
import sys
import time

from Xlib import X, XK, display
from Xlib.ext import xtest

PERIODS_MS = (0, 10, 1)
PRESSES = 250
GAP_S = (0.010, 0.040)  # between two keys, drawn at random so they fall at any phase
POLL_S = 0.0001  # between two reads of the pixels
GIVE_UP_S = 1.0
SETTLE_S = 0.3


def percentile(values, p):
    """Nearest rank, as the other figures are."""
    ordered = sorted(values)
    return ordered[max(1, math.ceil(p / 100 * len(ordered))) - 1]


def summary(values_s):
    ms = [v * 1000 for v in values_s]
    return {"p50": percentile(ms, 50), "p99": percentile(ms, 99), "max": max(ms), "n": len(ms)}


class Game:
    """The bench program showing the playfield, and what it said about its window."""

    def __init__(self, bench, period_ms):
        self.proc = subprocess.Popen([bench, "latency", str(period_ms)], stdout=subprocess.PIPE,
                                     stdin=subprocess.PIPE, text=True,
                                     env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        self.info = {}
        if not self.read_until("ready"):
            sys.exit(f"luminaku_bench latency {period_ms} ended early ({self.proc.wait()})")

    def read_until(self, last):
        for line in self.proc.stdout:
            key, _, value = line.strip().partition("=")
            self.info[key] = int(float(value))
            if key == last:
                return True
        return False

    def close(self):
        """Lets the game go, and returns how its round stood."""
        self.proc.stdin.close()
        self.read_until("interval_ms")
        self.proc.wait(timeout=10)
        return self.info


def measure(bench, period_ms, presses=PRESSES):
    """Press and release latencies, in seconds, of one run of the game."""
    x = display.Display()
    if not x.query_extension("XTEST"):
        sys.exit("the X server has no XTEST extension")
    game = Game(bench, period_ms)
    try:
        info = game.info
        window = x.create_resource_object("window", info["window"])
        left_x, pitch, width = info["bin_x"], info["bin_pitch"], info["bin_width"]
        row_y = info["bin_y"] + info["bin_height"] // 2
        row_width = pitch + width

        def bins():
            """The row through the bins, cut into the left and the middle column's part."""
            data = window.get_image(left_x, row_y, row_width, 1, X.ZPixmap, 0xFFFFFFFF).data
            bpp = len(data) // row_width
            return data[: width * bpp], data[pitch * bpp : (pitch + width) * bpp]

        key = x.keysym_to_keycode(XK.string_to_keysym("Left"))
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        x.sync()
        time.sleep(SETTLE_S)
        empty, shown = bins()  # the bin in the middle, as the window opened
        xtest.fake_input(x, X.KeyPress, key)
        x.sync()
        time.sleep(SETTLE_S)
        at_left, _ = bins()
        xtest.fake_input(x, X.KeyRelease, key)
        x.sync()
        time.sleep(SETTLE_S)
        if at_left == empty or bins()[1] != shown:
            sys.exit("the left arrow did not move the bin; is the window focused?")

        def wait_for(kind, column, picture):
            started = time.perf_counter()
            xtest.fake_input(x, kind, key)
            while bins()[column] != picture:
                if time.perf_counter() - started > GIVE_UP_S:
                    sys.exit(f"the bin did not move within {GIVE_UP_S} s")
                time.sleep(POLL_S)
            return time.perf_counter() - started

        pressed, released = [], []
        for _ in range(presses):
            time.sleep(random.uniform(*GAP_S))
            pressed.append(wait_for(X.KeyPress, 0, at_left))
            time.sleep(random.uniform(*GAP_S))
            released.append(wait_for(X.KeyRelease, 1, shown))
    finally:
        stand = game.close()
        x.close()
    # The round must have run all along, at its period, and caught drops.
    if period_ms and (stand.get("rounds_running") != 1 or stand.get("interval_ms") != period_ms
                      or stand.get("score", 0) == 0):
        sys.exit(f"the round at {period_ms} ms did not keep going: {stand}")
    return pressed, released


def round_trips(count=PRESSES):
    """What any X client waits here, game or not: one read of the same size after the same gaps.
    On a loaded machine each wake-up can wait for a processor; this shows how long."""
    x = display.Display()
    root = x.screen().root
    times = []
    for _ in range(count):
        time.sleep(random.uniform(*GAP_S))
        started = time.perf_counter()
        root.get_image(0, 0, 80, 1, X.ZPixmap, 0xFFFFFFFF)
        times.append(time.perf_counter() - started)
    x.close()
    return times


def measure_all(bench, periods=PERIODS_MS, presses=PRESSES):
    """[(case, key, figures)], the floor first, then each case's presses and releases."""
    rows = [("one X round trip alone, no game (the floor)", "—", summary(round_trips(presses)))]
    for period in periods:
        case = f"round at {period} ms" if period else "no round"
        pressed, released = measure(bench, period, presses)
        rows += [(case, "press", summary(pressed)), (case, "release", summary(released))]
    return rows


HEADER = ("| key to pixel: the bin in its new column | key | p50 ms | p99 ms | max ms | samples |\n"
          "|---|---|---:|---:|---:|---:|")


def row(case, key, s):
    return f"| {case} | {key} | {s['p50']:.2f} | {s['p99']:.2f} | {s['max']:.2f} | {s['n']} |"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("periods", nargs="*", type=int, default=PERIODS_MS)
    parser.add_argument("--presses", type=int, default=PRESSES)
    args = parser.parse_args()
    bench = os.path.join(args.build, "bench", "luminaku_bench")
    load_before = os.getloadavg()[0]
    rows = measure_all(bench, args.periods, args.presses)
    print(f"Load average {load_before:.2f} before, {os.getloadavg()[0]:.2f} after.\n")
    print(HEADER)
    for case, key, s in rows:
        print(row(case, key, s))


if __name__ == "__main__":
    main()
