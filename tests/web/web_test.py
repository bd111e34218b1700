#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""web_test.py SITE: the game's page in Debian's headless Chromium, served from 127.0.0.1 and
driven through the DevTools protocol as a player would: keys and mouse buttons sent to the page,
the windows read from the page's pixels."""

import base64
import functools
import gzip
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

import websocket

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e import CLIENT_HEIGHT, TITLE, read_playfield, wait  # noqa: E402  the desktop's checks

BUDGET = 6 * 1024 * 1024  # the whole download, gzipped as a web server sends it
FIRST_WINDOW = 2.0  # seconds from the page's request to the title window on a local server

# Qt's canvas keeps its picture for reading (the test's only change to the page).
PAGE_HOOKS = """
const getContext = HTMLCanvasElement.prototype.getContext;
HTMLCanvasElement.prototype.getContext = function (type, attributes) {
  if (/webgl/.test(type)) attributes = Object.assign({}, attributes, {preserveDrawingBuffer: true});
  return getContext.call(this, type, attributes);
};
window.__pixels = (x, y, w, h) => {
  const copy = document.createElement("canvas");
  copy.width = w; copy.height = h;
  const g = copy.getContext("2d");
  g.drawImage(document.getElementById("screen"), x, y, w, h, 0, 0, w, h);
  const data = g.getImageData(0, 0, w, h).data;
  let text = "";
  for (let i = 0; i < data.length; i += 32768)
    text += String.fromCharCode.apply(null, data.subarray(i, i + 32768));
  return btoa(text);
};
// Colour changes of one pixel over a second, read at every frame the browser draws.
window.__changes = (x, y) => new Promise(done => {
  let last = null, changes = 0, frames = 0;
  const end = performance.now() + 1000;
  const step = () => {
    const now = window.__pixels(x, y, 1, 1);
    if (last !== null && now !== last) changes++;
    last = now; frames++;
    if (performance.now() < end) requestAnimationFrame(step); else done([changes, frames]);
  };
  requestAnimationFrame(step);
});
"""


class Site(http.server.ThreadingHTTPServer):
    """The folder on 127.0.0.1, on a port of its own."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        super().__init__(("127.0.0.1", 0), handler)
        threading.Thread(target=self.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.server_address[1]}/"


    def handle_error(self, request, client_address):
        pass  # a download the browser gave up, leaving one page for the next


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Browser:
    """Debian's Chromium, headless, in a profile of its own, and its one page."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="luminaku-chromium-")
        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
             "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
             "--window-size=1000,800", f"--user-data-dir={self.profile}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        for line in self.proc.stderr:
            if found := re.search(r"DevTools listening on ws://([^/]+)/", line):
                break
        else:
            raise AssertionError("Chromium did not start")
        threading.Thread(target=self.proc.stderr.read, daemon=True).start()  # drain it
        with urllib.request.urlopen(f"http://{found[1]}/json/list", timeout=10) as answer:
            page = next(t for t in json.load(answer) if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30,
                                              suppress_origin=True)
        self.next_id = 0
        self.messages = []  # console messages of the page
        self.call("Runtime.enable")
        self.call("Page.enable")
        self.call("Page.addScriptToEvaluateOnNewDocument", source=PAGE_HOOKS)

    def close(self):
        self.proc.kill()
        self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise AssertionError(f"{method}: {message['error']}")
                return message["result"]
            if message.get("method") == "Runtime.consoleAPICalled":
                self.messages.append(" ".join(str(a.get("value", "")) for a in
                                              message["params"]["args"]))

    def js(self, expression):
        answer = self.call("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in answer:
            raise AssertionError(f"{expression}: {answer['exceptionDetails']}")
        return answer["result"].get("value")

    def pixels(self, x, y, w, h):
        """The screen's pixels in the rectangle, RGBA rows."""
        return base64.b64decode(self.js(f"window.__pixels({x}, {y}, {w}, {h})"))

    def key(self, key, code, vk, up=True):
        event = dict(key=key, code=code, windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)
        self.call("Input.dispatchKeyEvent", type="keyDown", **event)
        if up:
            self.call("Input.dispatchKeyEvent", type="keyUp", **event)

    def release(self, key, code, vk):
        self.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code,
                  windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)

    def mouse(self, x, y, button="left", press=True, release=True):
        """A button at page coordinates (x, y) of the screen canvas."""
        ox, oy = self.js("(r => [r.left, r.top])(document.getElementById('screen')"
                         ".getBoundingClientRect())")
        at = dict(x=ox + x, y=oy + y, button=button, clickCount=1)
        self.call("Input.dispatchMouseEvent", type="mouseMoved", x=at["x"], y=at["y"])
        if press:
            self.call("Input.dispatchMouseEvent", type="mousePressed", **at)
        if release:
            self.call("Input.dispatchMouseEvent", type="mouseReleased", **at)


KEYS = {"Left": ("ArrowLeft", "ArrowLeft", 37), "Right": ("ArrowRight", "ArrowRight", 39),
        "Return": ("Enter", "Enter", 13), "Escape": ("Escape", "Escape", 27),
        "alt": ("Alt", "AltLeft", 18), "f": ("f", "KeyF", 70), "s": ("s", "KeyS", 83),
        "x": ("x", "KeyX", 88), "h": ("h", "KeyH", 72), "a": ("a", "KeyA", 65)}


def read_png(path):
    """(width, height, RGBA bytes) of an 8-bit PNG: grey, RGB, palette or RGBA, not interlaced."""
    import struct
    import zlib
    data = open(path, "rb").read()
    pos, chunks, palette = 8, [], b""
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + size]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and body[12] == 0, f"{path}: unsupported PNG"
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            chunks.append(body)
        pos += 12 + size
    raw = zlib.decompress(b"".join(chunks))
    bpp = {0: 1, 2: 3, 3: 1, 6: 4}[colour]
    stride, out, prev = width * bpp, bytearray(), bytearray(width * bpp)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            p = a + b - c
            line[i] = (line[i] + (0, a, b, (a + b) // 2,
                                  a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c)
                                  else b if abs(p - b) <= abs(p - c) else c)[kind]) & 0xFF
        for i in range(width):
            px = line[i * bpp:(i + 1) * bpp]
            out += (bytes(px * 3) + b"\xff" if colour == 0 else
                    bytes(palette[3 * px[0]:3 * px[0] + 3]) + b"\xff" if colour == 3 else
                    bytes(px) + b"\xff" if colour == 2 else bytes(px))
        prev = line
    return width, height, bytes(out)


WHITE = b"\xff\xff\xff\xff"


def find_windows(width, height, data):
    """Client areas (x, y, width, height) of the windows Qt draws on its screen, found by their
    title bars: 18 rows of one colour in a white frame that goes on 4 rows below them, then the
    client area; the frame's inner column, white, runs down its left side to 2 rows below it."""
    def px(x, y):
        return data[4 * (width * y + x):4 * (width * y + x + 1)]

    found = []
    for y in range(18, height - 5):
        x = 4
        while x < width - 64:
            colour = px(x, y)
            if colour == WHITE or px(x, y + 1) != WHITE or px(x, y - 18) != WHITE:
                x += 1
                continue
            end = x
            while end < width and px(end, y) == colour:
                end += 1
            if end - x >= 64 and all(px(end - 1, r) == colour for r in range(y - 17, y)):
                bottom = y + 5
                while bottom < height and px(x - 1, bottom) == WHITE:
                    bottom += 1
                if bottom - 2 - (y + 5) > 18:
                    found.append((x, y + 5, end - x, bottom - 2 - (y + 5)))
            x = end
    return found


class Page:
    """The game's page and the windows it draws on its screen canvas."""

    def __init__(self, browser, url):
        self.b = browser
        self.started = time.monotonic()
        browser.call("Page.navigate", url=url)

    def screen(self):
        size = self.b.js("(c => c && c.width && [c.width, c.height])(document.getElementById('screen'))")
        return size and (*size, self.b.pixels(0, 0, *size))

    def windows(self):
        """The game's windows, (x, y, width, height) of each client area."""
        screen = self.screen()  # none while the page is still loading
        return find_windows(*screen) if screen else []

    def other(self, *known):
        return [w for w in self.windows() if w not in known]

    def client(self, window, x=0, y=0, w=None, h=None):
        return self.b.pixels(window[0] + x, window[1] + y, w or window[2], h or window[3])

    def look(self, field):
        return read_playfield(self.client(field, 0, field[3] - CLIENT_HEIGHT, 312, CLIENT_HEIGHT))

    def click(self, window, x, y, button="left"):
        self.b.mouse(window[0] + x, window[1] + y, button)

    def keys(self, *keys):
        for key in keys:
            mods = 1 if key.startswith("alt+") else 0
            name, code, vk = KEYS[key.removeprefix("alt+")]
            event = dict(key=name, code=code, windowsVirtualKeyCode=vk, modifiers=mods)
            self.b.call("Input.dispatchKeyEvent", type="keyDown", **event)
            self.b.call("Input.dispatchKeyEvent", type="keyUp", **event)

    def hold(self, key, down):
        name, code, vk = KEYS[key]
        self.b.call("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", key=name,
                    code=code, windowsVirtualKeyCode=vk)

    def menu(self, field, menu_key, item_key):
        """A menu command from the keyboard. The menu opens over the playfield's top left
        corner, where no drop falls."""
        before = self.client(field, 0, 18, 100, 30)
        self.keys(f"alt+{menu_key}")
        wait("the menu to open", lambda: self.client(field, 0, 18, 100, 30) != before)
        self.keys(item_key)

def similar(a, b, tolerance=48):
    """The share of pixels of two RGBA pictures of one size that look alike."""
    same = sum(abs(a[i] - b[i]) <= tolerance and abs(a[i + 1] - b[i + 1]) <= tolerance and
               abs(a[i + 2] - b[i + 2]) <= tolerance for i in range(0, len(a), 4))
    return same / (len(a) // 4)


def like_desktop(page, window, name, x, y, w, h, least):
    """The rectangle of the window looks as in the desktop's screenshot of that window."""
    width, _, shot = read_png(os.path.join(SCREENSHOTS, name + ".png"))
    desktop = b"".join(shot[4 * (width * row + x):4 * (width * row + x + w)]
                       for row in range(y, y + h))
    share = similar(page.client(window, x, y, w, h), desktop)
    assert share >= least, f"{name}: {share:.0%} of ({x}, {y}, {w}, {h}) as on the desktop"


def wait_falling(page, field, what, timeout=5):
    seen = set()
    wait(what, lambda: len(seen.add(tuple(page.look(field)[0])) or seen) >= 3, timeout)


def open_playfield(page):
    title = wait("the title window", page.windows, timeout=15)
    first = time.monotonic() - page.started
    print(f"first window {first:.2f} s after the page was asked for")
    assert [w[2:] for w in title] == [(402, 213)], f"title window: {title}"
    # The Japanese title in the fonts built in, not boxes: as on the desktop.
    like_desktop(page, title[0], "title", 40, 10, 320, 100, 0.9)
    page.click(title[0], 200, 180)  # START!
    field = wait("the playfield alone", lambda: (now := page.windows()) != title and
                 len(now) == 1 and now)[0]
    assert field[2:] == (312, CLIENT_HEIGHT + 18), f"after START!: {field}"
    return field, first


def flow_play(page):
    """Title, a round moved with the keys and the mouse buttons, the version window and its
    system-information notice, and Quit: No carries on, Yes ends the game."""
    field, first = open_playfield(page)
    page.menu(field, "f", "s")
    wait_falling(page, field, "a drop to appear and fall")
    for how, lane in (("Left", 0), ("Right", 2), ("left", 0), ("right", 2)):
        if how[0].isupper():
            page.hold(how, True)
        else:
            page.b.mouse(field[0] + 180, field[1] + 40, how, release=False)
        wait(f"{how} to move the bin", lambda: page.look(field)[1] == [lane])
        if how[0].isupper():
            page.hold(how, False)
        else:
            page.b.mouse(field[0] + 180, field[1] + 40, how, press=False)
        wait(f"{how} let go to bring the bin back", lambda: page.look(field)[1] == [1])
    page.menu(field, "h", "a")
    about = wait("the version window", lambda: page.other(field))[0]
    assert about[2:] == (382, 237), f"not the version window: {about}"
    like_desktop(page, about, "about", 70, 52, 120, 15, 0.9)  # ﾊﾞｰｼﾞｮﾝ 0.0.2
    page.keys("alt+s")
    box = wait("the not-available notice", lambda: page.other(field, about))[0]
    page.keys("Return")
    wait("the notice to close", lambda: page.other(field, about) == [])
    page.keys("Escape")
    wait("Escape to close the version window", lambda: page.other(field) == [])
    for key in ("Escape", "Return"):  # No, then Yes (the default)
        page.menu(field, "f", "x")
        box = wait("the quit question", lambda: page.other(field))[0]
        page.keys(key)
        if key == "Escape":
            wait("No to close the question", lambda: page.other(field) == [])
            wait_falling(page, field, "drops to go on falling after No", timeout=3)
    wait("the page to say the game has ended",
         lambda: page.b.js("getComputedStyle(document.getElementById('ended')).display")
         == "block")
    return first


def flow_calm(page):
    """Started ?calm, a round ends in a game-over window that flashes at most three times a
    second."""
    field, _ = open_playfield(page)
    page.menu(field, "f", "s")  # the bin stays in the middle and lets the side drops pass
    over = wait("the game-over window", lambda: page.other(field), timeout=60)[0]
    assert over[2:] == (402, 213), f"not the game-over window: {over}"
    changes, frames = page.b.js(f"window.__changes({over[0] + 4}, {over[1] + 4})")
    assert 1 <= changes <= 3, f"{changes} colour changes in 1 s ({frames} frames)"


def download_size(site):
    """Every file of the folder, gzipped as a server would send it."""
    total = 0
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), "rb") as f:
            raw = f.read()
        packed = len(gzip.compress(raw, 9))
        print(f"{name}: {len(raw)} bytes, {packed} gzipped")
        total += packed
    return total


SCREENSHOTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                           "screenshots")

if __name__ == "__main__":
    site = sys.argv[1]
    total = download_size(site)
    server, browser = Site(site), Browser()
    try:
        first = flow_play(Page(browser, server.url))
        flow_calm(Page(browser, server.url + "?calm"))
        assert first <= FIRST_WINDOW, f"the first window took {first:.2f} s"
        assert total <= BUDGET, f"the download is {total} bytes gzipped, more than {BUDGET}"
    finally:
        browser.close()
        server.shutdown()
    print("2 passed, 0 failed")
