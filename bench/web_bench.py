#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""web_bench.py SITE [--reps N]: the browser build's sizes, and the time from asking for the
page to the first window, in Debian's headless Chromium on a local server that sends the
precompressed files: on the desktop unthrottled, and as a phone (processor slowed four times,
DevTools' mobile network presets), each the median of N runs. A first visit starts with an
empty cache; a second visit runs from what the service worker kept."""

import argparse
import functools
import http.server
import os
import statistics
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "web"))
from web_test import Browser, Files  # noqa: E402

# Resolves with the page's clock (ms since it was asked for) once the game's canvas shows
# anything besides its background: the title window, the game's first.
FIRST_WINDOW = """
window.__first = new Promise(done => {
  const poll = () => {
    const c = document.getElementById("screen");
    if (c && !c.hidden && c.width) {
      const d = copy(c, 0, 0, c.width, c.height, c.clientWidth, c.clientHeight);
      for (let i = 4; i < d.length; i += 4)
        if (d[i] !== d[0] || d[i + 1] !== d[1] || d[i + 2] !== d[2]) return done(performance.now());
    }
    setTimeout(poll, 20);
  };
  poll();
});
"""
# DevTools' presets: latency ms, download and upload in bytes per second.
NETWORKS = {"Fast 4G": (165, 9e6 * 0.9 / 8, 1.5e6 * 0.9 / 8),
            "Slow 4G": (562.5, 1.6e6 * 0.9 / 8, 750e3 * 0.9 / 8)}


def first_window(browser, url, cold):
    if cold:
        browser.call("Network.clearBrowserCache")
        browser.call("Storage.clearDataForOrigin", origin=url.rstrip("/"), storageTypes="all")
    browser.call("Page.navigate", url=url)
    seconds = browser.js("window.__first") / 1000
    if cold:  # kept for the second visit
        browser.js("navigator.serviceWorker.ready.then(() => new Promise(function wait(done) {"
                   " navigator.serviceWorker.controller ? done() : setTimeout(wait, 50, done); }))")
    return seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--reps", type=int, default=3)
    args = parser.parse_args()

    print("| file | raw bytes | gzip -9 | brotli -q 11 |\n|---|---:|---:|---:|")
    totals = [0, 0, 0]
    for name in sorted(os.listdir(args.site)):
        if name.endswith((".gz", ".br")):
            continue
        path = os.path.join(args.site, name)
        sizes = [os.path.getsize(p if os.path.exists(p) else path)
                 for p in (path, path + ".gz", path + ".br")]
        totals = [t + s for t, s in zip(totals, sizes)]
        print(f"| {name} | " + " | ".join(f"{s:,}" for s in sizes) + " |")
    print("| the whole site | " + " | ".join(f"{s:,}" for s in totals) + " |\n")

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Files, directory=args.site))
    server.handle_error = lambda *_: None
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    cases = [("desktop, unthrottled", None, 1)] + [
        (f"phone, processor / 4, {name}", name, 4) for name in NETWORKS]
    print(f"| first window, s (median of {args.reps}) | first visit | second visit |\n|---|---:|---:|")
    with tempfile.TemporaryDirectory(prefix="luminaku-chromium-") as profile:
        browser = Browser(profile)
        browser.ws.settimeout(300)
        try:
            browser.call("Page.addScriptToEvaluateOnNewDocument", source=FIRST_WINDOW)
            browser.call("Network.enable")
            for label, network, slowdown in cases:
                browser.call("Emulation.setCPUThrottlingRate", rate=slowdown)
                if network:
                    latency, down, up = NETWORKS[network]
                    browser.call("Emulation.setDeviceMetricsOverride", width=390, height=844,
                                 deviceScaleFactor=3, mobile=True)
                    browser.call("Emulation.setTouchEmulationEnabled", enabled=True)
                    browser.call("Network.emulateNetworkConditions", offline=False,
                                 latency=latency, downloadThroughput=down, uploadThroughput=up)
                runs = [(first_window(browser, url, True), first_window(browser, url, False))
                        for _ in range(args.reps)]
                print(f"| {label} | " + " | ".join(
                    f"{statistics.median(r[i] for r in runs):.2f}" for i in (0, 1)) + " |")
        finally:
            browser.proc.kill()
            browser.proc.wait()
            server.shutdown()


if __name__ == "__main__":
    main()
