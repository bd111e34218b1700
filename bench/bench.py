#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""Runs every measurement once and prints one table; each figure is the median of its runs.

    bench.py BUILD_DIR [--reps N]

Needs an X display (bench/run.sh gives it one with xvfb-run) and python3-xlib.
"""

import argparse
import datetime
import os
import platform
import select
import signal
import statistics
import subprocess
import sys
import time

from Xlib import X, display

import latency

PERIODS_MS = (500, 100, 10, 1)
SECONDS = {500: 3.0, 100: 2.0, 10: 2.0, 1: 2.0}  # long enough for several steps each
REFERENCE_SECONDS = 1.5  # it spins flat out whatever the period: a short run tells
FLOOR_TICKS = {500: 3, 100: 10, 10: 100, 1: 500}
# Where the experiments that tell where the time goes run: the round as it is, without
# painting, painting every step (no frame limit), and with Qt's MIT-SHM transfers back on.
DIAGNOSED_MS = (10, 1)
VARIANTS = (
    ("as it is", [], {}),
    ("without painting", ["--no-paint"], {}),
    ("every step painted (no frame limit)", ["--paint-every-step"], {}),
)
STARTUP_LAUNCHES = 10
ROUNDS = 100

# The goals this game sets itself on a 2-core machine.
CPU_GOAL = {500: 1.0, 100: 1.0, 10: 1.0, 1: 3.0}  # percent of one core
RATIO_GOAL = 30.0
PACING_MEAN_GOAL_MS = 0.25
PACING_P99_GOAL_MS = 2.0
STARTUP_GOAL_MS = 100.0
RSS_GOAL_MB = 40.0
RSS_GROWTH_GOAL_MB = 1.0
LATENCY_P99_GOAL_MS = 4.0


def env(**extra):
    return dict(os.environ, QT_QPA_PLATFORM="xcb", **extra)


def figures(command, timeout, **extra_env):
    """Runs a bench program and returns the key=value figures it printed."""
    done = subprocess.run(command, capture_output=True, text=True, timeout=timeout,
                          env=env(**extra_env), check=False)
    if done.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({done.returncode}):\n{done.stderr}")
    result = {}
    for line in done.stdout.splitlines():
        key, _, value = line.partition("=")
        if value:
            result[key] = float(value)
    return result


def median(runs, key):
    return statistics.median(r[key] for r in runs)


def resident_kb(pid):
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


def watch_maps():
    """A connection to the display that hears of every top-level window being mapped. Held for
    the whole run, it also keeps the X server from resetting each time a program leaves it."""
    x = display.Display()
    x.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    x.sync()
    return x


def startup(x, game, launches, **extra_env):
    """Process start to the first window mapped, seen as a MapNotify on the root window; and
    the game's resident memory once it has settled."""
    times_ms, rss_kb = [], []
    for _ in range(launches):
        while x.pending_events():
            x.next_event()
        started = time.monotonic()
        proc = subprocess.Popen([game], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, env=env(**extra_env))
        mapped = None
        deadline = started + 10
        while mapped is None:
            left = deadline - time.monotonic()
            if left <= 0:
                proc.kill()
                sys.exit("the game mapped no window within 10 s")
            if not x.pending_events():
                select.select([x.fileno()], [], [], left)
            while x.pending_events():
                event = x.next_event()
                if event.type == X.MapNotify and mapped is None:
                    mapped = time.monotonic()
        times_ms.append((mapped - started) * 1000)
        time.sleep(0.5)  # let it settle before reading its memory
        rss_kb.append(resident_kb(proc.pid))
        proc.send_signal(signal.SIGTERM)
        proc.wait(timeout=10)
    return times_ms, rss_kb


def mark(ok):
    return "met" if ok else "**missed**"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--reps", type=int, default=5)
    args = parser.parse_args()
    game = os.path.join(args.build, "src", "luminaku")
    bench = os.path.join(args.build, "bench", "luminaku_bench")
    spin = os.path.join(args.build, "bench", "luminaku_spin_reference")
    timer_floor = os.path.join(args.build, "bench", "luminaku_timer_floor")
    began = time.monotonic()
    load_before = os.getloadavg()[0]
    x = watch_maps()

    rows, variants, floor = {}, {}, {}
    for period in PERIODS_MS:
        seconds = SECONDS[period]
        timeout = seconds + 30
        steps = [bench, "steps", str(period), str(seconds)]
        runs = {"game": [], "spin": []}
        variants[period] = {name: [] for name, _, _ in VARIANTS[1:]}
        floor[period] = []
        # Interleaved, so that whatever else the machine does falls on all of them alike.
        for _ in range(args.reps):
            runs["game"].append(figures(steps, timeout))
            runs["spin"].append(figures([spin, str(period), str(REFERENCE_SECONDS)], timeout))
            floor[period].append(figures([timer_floor, str(period), str(FLOOR_TICKS[period])],
                                         timeout))
            if period in DIAGNOSED_MS:
                for name, options, extra_env in VARIANTS[1:]:
                    variants[period][name].append(figures(steps + options, timeout, **extra_env))
        variants[period][VARIANTS[0][0]] = runs["game"]
        rows[period] = runs
        print(f"  {period} ms done", file=sys.stderr)

    start_ms, start_rss = startup(x, game, STARTUP_LAUNCHES)
    # Without a session bus, Qt's accessibility bridge tries to autolaunch one when the first
    # button is made; a desktop has a bus. Measured once more with that attempt switched off.
    start_nobus_ms, _ = startup(x, game, STARTUP_LAUNCHES,
                                DBUS_SESSION_BUS_ADDRESS="disabled:")
    print("  start-up done", file=sys.stderr)
    memory = [figures([bench, "rounds", str(ROUNDS)], 120) for _ in range(args.reps)]
    keys = latency.measure_all(bench)
    print("  latency done", file=sys.stderr)
    elapsed = time.monotonic() - began
    x.close()

    cpu_model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                      if line.startswith("model name")), platform.processor())
    print(f"Measured {datetime.date.today().isoformat()} on {os.cpu_count()} cores, {cpu_model}, "
          f"under Xvfb; each figure the median of {args.reps} runs "
          f"({STARTUP_LAUNCHES} launches for start-up); whole run {elapsed:.0f} s; "
          f"load average {load_before:.2f} before, {os.getloadavg()[0]:.2f} after.\n")

    print("| step period | game CPU % of a core | spinning reference CPU % | reference / game "
          "| pacing mean ms | pacing p99 ms | steps measured per run |")
    print("|---:|---:|---:|---:|---:|---:|---:|")
    verdicts = []
    for period in PERIODS_MS:
        runs = rows[period]
        g, s = runs["game"], runs["spin"]
        cpu, ref = median(g, "cpu_percent"), median(s, "cpu_percent")
        ratio = ref / cpu if cpu > 0 else float("inf")
        mean, p99 = median(g, "pacing_mean_ms"), median(g, "pacing_p99_ms")
        print(f"| {period} ms | {cpu:.2f} | {ref:.1f} | {ratio:.0f}× | {mean:.3f} | {p99:.3f} | "
              f"{median(g, 'steps'):.0f} |")
        verdicts += [
            (f"CPU at {period} ms", f"{cpu:.2f} %", f"< {CPU_GOAL[period]:g} %",
             cpu < CPU_GOAL[period]),
            (f"reference / game at {period} ms", f"{ratio:.0f}×", f"≥ {RATIO_GOAL:g}×",
             ratio >= RATIO_GOAL),
            (f"pacing mean at {period} ms", f"{mean:.3f} ms", f"< {PACING_MEAN_GOAL_MS} ms",
             mean < PACING_MEAN_GOAL_MS),
            (f"pacing p99 at {period} ms", f"{p99:.3f} ms", f"< {PACING_P99_GOAL_MS:g} ms",
             p99 < PACING_P99_GOAL_MS),
        ]

    print()
    print("| where the time goes: the same round | step period | game CPU % | pacing mean ms "
          "| pacing p99 ms |")
    print("|---|---:|---:|---:|---:|")
    for period in DIAGNOSED_MS:
        for name, _, _ in VARIANTS:
            v = variants[period][name]
            print(f"| {name} | {period} ms | {median(v, 'cpu_percent'):.2f} | "
                  f"{median(v, 'pacing_mean_ms'):.3f} | {median(v, 'pacing_p99_ms'):.3f} |")

    print()
    print("| bare tick, nothing painted | step period | Qt precise timer: late mean / p99 ms "
          "| CPU % | Linux timerfd: late mean / p99 ms | CPU % |")
    print("|---|---:|---:|---:|---:|---:|")
    for period in PERIODS_MS:
        f = floor[period]
        print(f"| {FLOOR_TICKS[period]} ticks | {period} ms | "
              f"{median(f, 'qtimer_late_mean_ms'):.3f} / {median(f, 'qtimer_late_p99_ms'):.3f} | "
              f"{median(f, 'qtimer_cpu_percent'):.2f} | "
              f"{median(f, 'timerfd_late_mean_ms'):.3f} / {median(f, 'timerfd_late_p99_ms'):.3f} | "
              f"{median(f, 'timerfd_cpu_percent'):.2f} |")

    startup_ms = statistics.median(start_ms)
    rss_game = statistics.median(start_rss) / 1024

    def mb(key):
        return median(memory, key) / 1024

    def growth(since):
        return statistics.median((m["rss_end_kb"] - m[since]) / 1024 for m in memory)

    print()
    print("| start-up and memory | value |")
    print("|---|---:|")
    print(f"| process start to first window mapped | {startup_ms:.1f} ms "
          f"(min {min(start_ms):.1f}, max {max(start_ms):.1f}) |")
    print(f"| … the same without the D-Bus autolaunch attempt | "
          f"{statistics.median(start_nobus_ms):.1f} ms |")
    print(f"| resident memory of the game, title window open | {rss_game:.1f} MB |")
    print(f"| resident memory, playfield open, before the first round | "
          f"{mb('rss_start_kb'):.1f} MB |")
    print(f"| … after the first round (first game-over window opened and closed) | "
          f"{mb('rss_after_first_round_kb'):.1f} MB |")
    print(f"| … after {ROUNDS} rounds at the 1 ms floor | {mb('rss_end_kb'):.1f} MB |")
    print(f"| growth over the {ROUNDS} rounds | {growth('rss_start_kb'):+.2f} MB |")
    print(f"| … of which from round 2 on | {growth('rss_after_first_round_kb'):+.2f} MB |")
    print(f"| time for {ROUNDS} rounds | {median(memory, 'rounds_seconds'):.1f} s |")

    print()
    print(latency.HEADER)
    for case, key, s in keys:
        print(latency.row(case, key, s))
        if key != "—":
            verdicts.append((f"key-to-pixel p99, {case}, {key}", f"{s['p99']:.2f} ms",
                             f"≤ {LATENCY_P99_GOAL_MS:g} ms", s["p99"] <= LATENCY_P99_GOAL_MS))

    rss_max = max(rss_game, mb("rss_end_kb"))
    verdicts += [
        ("start-up", f"{startup_ms:.1f} ms", f"< {STARTUP_GOAL_MS:g} ms",
         startup_ms < STARTUP_GOAL_MS),
        ("resident memory", f"{rss_max:.1f} MB", f"< {RSS_GOAL_MB:g} MB",
         rss_max < RSS_GOAL_MB),
        (f"growth over {ROUNDS} rounds", f"{growth('rss_start_kb'):+.2f} MB",
         f"≤ {RSS_GROWTH_GOAL_MB:g} MB", growth("rss_start_kb") <= RSS_GROWTH_GOAL_MB),
    ]
    print()
    print("| goal | measured | target | |")
    print("|---|---:|---:|---|")
    for name, value, target, ok in verdicts:
        print(f"| {name} | {value} | {target} | {mark(ok)} |")


if __name__ == "__main__":
    main()
