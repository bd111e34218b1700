#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""web_test.py SITE: the game's page in Debian's headless Chromium, served from 127.0.0.1 and
driven through the DevTools protocol as a player would: keys, mouse buttons and fingers sent to
the page, the windows read from the page's pixels. On a desktop and on an emulated phone."""

import base64
import functools
import http.server
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import urllib.request

import websocket

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from e2e import CLIENT_HEIGHT, read_playfield, wait, wait_falling  # noqa: E402  the desktop's

BUDGET = {".gz": 4_500_000, ".br": 3_500_000}  # bytes: the whole site, as a server sends it

# Qt's canvas keeps its picture for reading (the test's only change to the page); pixels come
# out as base64 RGBA rows; a rectangle is compared with the desktop's screenshot of a window.
PAGE_HOOKS = """
const getContext = HTMLCanvasElement.prototype.getContext;
HTMLCanvasElement.prototype.getContext = function (type, attributes) {
  if (/webgl/.test(type)) attributes = Object.assign({}, attributes, {preserveDrawingBuffer: true});
  return getContext.call(this, type, attributes);
};
const copy = (image, x, y, w, h, dw = w, dh = h) => {  // scaled, if at all, pixel by pixel
  const g = Object.assign(document.createElement("canvas"), {width: dw, height: dh}).getContext("2d");
  g.imageSmoothingEnabled = false;
  g.drawImage(image, x, y, w, h, 0, 0, dw, dh);
  return g.getImageData(0, 0, dw, dh).data;
};
window.__pixels = (x, y, w, h, dw, dh) => btoa(Array.from(
  copy(document.getElementById("screen"), x, y, w, h, dw, dh), c => String.fromCharCode(c)).join(""));
// Client areas [x, y, width, height, k] of the windows Qt draws on its screen, found by their
// title bars: 18k rows of one colour in a white frame that goes on 4k rows below them, then the
// client area; the frame's inner column, white, runs down its left side to 2k rows below it.
// k is the scale of the window on the canvas: 1 on a desktop.
window.__windows = () => {
  const c = document.getElementById("screen");
  if (!c || !c.width) return [];  // none while the page loads
  const W = c.width, H = c.height, d = copy(c, 0, 0, W, H);
  const rgb = (x, y) => d[4 * (W * y + x)] << 16 | d[4 * (W * y + x) + 1] << 8 | d[4 * (W * y + x) + 2];
  const white = 0xffffff, found = [];
  for (let y = 1; y < H; y++) for (let x = 1; x < W;) {
    const colour = rgb(x, y);
    let end = x, bottom = y;
    if (colour === white || rgb(x, y - 1) !== white) { x++; continue; }
    while (end < W && rgb(end, y) === colour) end++;
    while (bottom + 1 < H && rgb(x, bottom + 1) === colour && rgb(end - 1, bottom + 1) === colour) bottom++;
    const k = (bottom + 1 - y) / 18, top = Math.round(bottom + 1 + 4 * k);
    let under = top;
    while (under < H && rgb(x - 1, under) === white) under++;
    if (k >= 0.5 && end - x >= 64 * k && rgb(x, bottom + 1) === white && under - top > 18 * k)
      found.push([x, top, end - x, Math.round(under - 2 * k) - top, k]);
    x = end;
  }
  return found;
};
window.__like = async (name, x, y, w, h, sx, sy) => {
  const shot = await createImageBitmap(await (await fetch("/desktop/" + name)).blob());
  const a = copy(shot, x, y, w, h), b = copy(document.getElementById("screen"), sx, sy, w, h);
  let same = 0;
  for (let i = 0; i < a.length; i += 4) same += [0, 1, 2].every(k => Math.abs(a[i + k] - b[i + k]) <= 48);
  return same / (w * h);
};
window.__changes = (x, y, end = performance.now() + 1000) => new Promise(done => {
  let last = window.__pixels(x, y, 1, 1), changes = 0;  // a pixel's colour changes in a second
  const step = (now = window.__pixels(x, y, 1, 1)) => {
    changes += now !== last, last = now;
    performance.now() < end ? requestAnimationFrame(() => step()) : done(changes);
  };
  requestAnimationFrame(() => step());
});
"""


class Files(http.server.SimpleHTTPRequestHandler):
    """The folder, sent precompressed where the browser takes it (as static hosts that serve the
    .br and .gz files do), and the desktop's screenshots under /desktop/. Offline, no request
    gets an answer, as without a network."""
    offline = False
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json"}

    def translate_path(self, path):
        if path.startswith("/desktop/"):
            return os.path.join(HERE, "..", "..", "docs", "screenshots", os.path.basename(path))
        path, self.encoding = super().translate_path(path), None
        for encoding, suffix in (("br", ".br"), ("gzip", ".gz")):
            if encoding in self.headers.get("Accept-Encoding", "") and os.path.isfile(path + suffix):
                self.encoding = encoding
                return path + suffix
        return path

    def guess_type(self, path):
        return super().guess_type(path.removesuffix(".br").removesuffix(".gz"))

    def end_headers(self):
        if getattr(self, "encoding", None):
            self.send_header("Content-Encoding", self.encoding)
        super().end_headers()

    def do_GET(self):
        if Files.offline:
            self.close_connection = True
        else:
            super().do_GET()

    def log_message(self, *args):  # quiet
        pass


class Browser:
    """Debian's Chromium, headless, in a profile of its own, and its one page."""

    def __init__(self, profile):
        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
             "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
             "--window-size=1000,800", f"--user-data-dir={profile}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        address = next(m[1] for line in self.proc.stderr
                       if (m := re.search(r"DevTools listening on ws://([^/]+)/", line)))
        threading.Thread(target=self.proc.stderr.read, daemon=True).start()  # drained
        with urllib.request.urlopen(f"http://{address}/json/list", timeout=10) as answer:
            page = next(t for t in json.load(answer) if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30,
                                              suppress_origin=True)
        self.next_id = 0
        self.call("Page.enable")
        self.call("Page.addScriptToEvaluateOnNewDocument", source=PAGE_HOOKS)

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while (message := json.loads(self.ws.recv())).get("id") != self.next_id:
            pass  # an event
        assert "error" not in message, f"{method}: {message['error']}"
        return message["result"]

    def js(self, expression):
        answer = self.call("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        assert "exceptionDetails" not in answer, f"{expression}: {answer['exceptionDetails']}"
        return answer["result"].get("value")


ACTIVE = bytes((48, 140, 198, 255))  # the title bar of the window that has the keys
KEYS = {"Left": ("ArrowLeft", "ArrowLeft", 37), "Right": ("ArrowRight", "ArrowRight", 39),
        "Return": ("Enter", "Enter", 13), "Escape": ("Escape", "Escape", 27),
        **{k: (k, "Key" + k.upper(), ord(k.upper())) for k in "fshxa"}}


class Page:
    """The game's page and the windows it draws on its screen canvas."""

    def __init__(self, browser, url):
        self.b, self.url = browser, url
        browser.call("Page.navigate", url=url)

    def windows(self):
        """The client areas of the windows on the screen: none while the page loads."""
        return [tuple(w[:4]) for w in self.b.js("window.__windows()")]

    def other(self, *known):  # the windows but those
        return [w for w in self.windows() if w not in known]

    def active(self, window):  # it has the keys: its title bar is in the active colour
        wait("the window to have the keys", lambda: self.client(window, 0, -5, 1, 1) == ACTIVE)

    def client(self, window, x=0, y=0, w=None, h=None):
        return base64.b64decode(self.b.js(f"window.__pixels({window[0] + x}, {window[1] + y}, "
                                          f"{w or window[2]}, {h or window[3]})"))

    def look(self, field):
        return read_playfield(self.client(field, 0, field[3] - CLIENT_HEIGHT, 312, CLIENT_HEIGHT))

    def like_desktop(self, window, name, x, y, w, h):
        """The share of the rectangle's pixels that look as in the desktop's screenshot."""
        return self.b.js(f"window.__like('{name}.png', {x}, {y}, {w}, {h}, "
                         f"{window[0] + x}, {window[1] + y})")

    def mouse(self, window, x, y, button="left", kinds=("mousePressed", "mouseReleased")):
        ox, oy = self.b.js("(r => [r.left, r.top])(document.getElementById('screen')"
                           ".getBoundingClientRect())")
        for kind in kinds:
            self.b.call("Input.dispatchMouseEvent", type=kind, x=ox + window[0] + x,
                        y=oy + window[1] + y, button=button, clickCount=1)

    def key(self, key, kinds=("keyDown", "keyUp"), alt=False):
        name, code, vk = KEYS[key]
        for kind in kinds:
            self.b.call("Input.dispatchKeyEvent", type=kind, key=name, code=code,
                        windowsVirtualKeyCode=vk, modifiers=int(alt))

    def menu(self, field, menu_key, item_key):
        """A menu command from the keyboard. The menu opens over the playfield's top left
        corner, where no drop falls."""
        self.active(field)
        before = self.client(field, 0, 18, 100, 30)
        self.key(menu_key, alt=True)
        wait("the menu to open", lambda: self.client(field, 0, 18, 100, 30) != before)
        self.key(item_key)


class Phone(Page):
    """The page on a phone held upright (Chromium's device emulation: 390 x 844 CSS pixels at a
    pixel ratio of 3, touch, the browser in Japanese), played with a finger. The game may scale
    its windows to the screen: window[4] is the canvas pixels per pixel of the window."""

    def __init__(self, browser, url):
        browser.call("Emulation.setDeviceMetricsOverride", width=390, height=844,
                     deviceScaleFactor=3, mobile=True)
        browser.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        browser.call("Emulation.setUserAgentOverride", userAgent=browser.js("navigator.userAgent"),
                     acceptLanguage="ja-JP,ja")
        super().__init__(browser, url)

    def windows(self):
        return [tuple(w) for w in self.b.js("window.__windows()")]

    def look(self, field):
        data = base64.b64decode(self.b.js(f"window.__pixels({', '.join(map(str, field[:4]))}, "
                                          f"312, {CLIENT_HEIGHT + 18})"))
        return read_playfield(data[4 * 312 * 18:])

    def touch(self, kind, window=None, x=0, y=0):
        """A finger at (x, y) of the window's client area, as the window itself counts."""
        left, top, ratio = self.b.js("(c => [c.getBoundingClientRect().left, c.getBoundingClientRect()"
                                     ".top, c.width / c.clientWidth])(document.getElementById('screen'))")
        points = [] if window is None else [
            {"x": left + (window[0] + x * window[4]) / ratio, "y": top + (window[1] + y * window[4]) / ratio}]
        self.b.call("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def tap(self, window, x, y):
        self.touch("touchStart", window, x, y)
        self.touch("touchEnd")


def language(page, lang, heading):
    """The page's own texts in the browser's first language, and said to be in it."""
    wait(f"the page in {lang}", lambda: page.b.js(f"document.documentElement?.lang === '{lang}' && "
                                                  f"window.howto?.innerText.includes('{heading}')"))


def open_playfield(page):
    title = wait("the title window", page.windows, timeout=15)
    assert [w[2:] for w in title] == [(402, 213)], f"title window: {title}"
    # The Japanese title and START! in the fonts built in, not boxes: as on the desktop.
    like = page.like_desktop(title[0], "title", 0, 0, 402, 213)
    assert like >= 0.97, f"the title window is {like:.1%} as on the desktop"
    page.mouse(title[0], 200, 180)  # START!
    field = wait("the playfield alone", lambda: (now := page.windows()) != title and
                 len(now) == 1 and now)[0]
    assert field[2:] == (312, CLIENT_HEIGHT + 18), f"after START!: {field}"
    return field


def flow_play(page):
    """Title, a round moved with the keys and the mouse buttons, the version window and its
    system-information notice, and Quit: No carries on, Yes ends the game."""
    field = open_playfield(page)
    language(page, "en", "How to play")
    page.menu(field, "f", "s")
    wait_falling(page, field, "a drop to appear and fall")
    for how, lane in (("Left", 0), ("Right", 2), ("left", 0), ("right", 2)):
        for down in (True, False):  # held, then let go; the mouse away from every picture
            if how in KEYS:
                page.key(how, ["keyDown" if down else "keyUp"])
            else:
                page.mouse(field, 180, 40, how, ["mousePressed" if down else "mouseReleased"])
            wait(f"{how} {'held' if down else 'let go'}",
                 lambda: page.look(field)[1] == [lane if down else 1])
    page.menu(field, "h", "a")
    about = wait("the version window", lambda: page.other(field))[0]
    assert about[2:] == (382, 237), f"not the version window: {about}"
    like = page.like_desktop(about, "about", 70, 52, 80, 15)
    assert like >= 0.95, f"ﾊﾞｰｼﾞｮﾝ 0.0.2 is {like:.1%} as on the desktop"
    page.active(about)
    page.key("s", alt=True)
    page.active(wait("the not-available notice", lambda: page.other(field, about))[0])
    page.key("Return")
    wait("the notice to close", lambda: page.other(field, about) == [])
    page.active(about)
    page.key("Escape")
    wait("Escape to close the version window", lambda: page.other(field) == [])
    for key in ("Escape", "Return"):  # No, then Yes (the default)
        page.menu(field, "f", "x")
        page.active(wait("the quit question", lambda: page.other(field))[0])
        page.key(key)
        if key == "Escape":
            wait("No to close the question", lambda: page.other(field) == [])
            wait_falling(page, field, "drops to go on falling after No", timeout=3)
    wait("the page to say the game has ended", lambda: page.b.js(
        "getComputedStyle(document.getElementById('ended')).display") == "block")


def flow_calm(page):
    """Started ?calm or where the browser asks for reduced motion, a round ends in a game-over
    window that flashes at most three times a second."""
    field = open_playfield(page)
    page.menu(field, "f", "s")  # the bin stays in the middle and lets the side drops pass
    over = wait("the game-over window", lambda: page.other(field), timeout=60)[0]
    assert over[2:] == (402, 213), f"not the game-over window: {over}"
    changes = page.b.js(f"window.__changes({over[0] + 4}, {over[1] + 4})")
    assert 1 <= changes <= 3, f"{changes} colour changes in 1 s"


def flow_phone(page, browser):
    """On a phone the game fills the screen and plays by touch: every window whole on the
    screen, START!, the menu and OK tapped, the bin held by a finger (lifted, slid and cancelled
    like a button let go); then, with no network, the page and the game from the last visit."""
    language(page, "ja", "遊び方")
    title = wait("the title window", page.windows, timeout=15)
    fit = page.b.js("(r => [r.left, r.top, r.width, r.height, innerWidth, innerHeight, "
                    "document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight])"
                    "(document.getElementById('screen').getBoundingClientRect())")
    assert fit == [0, 0, 390, 844, 390, 844, 390, 844], f"the game is not the screen: {fit}"
    width, height = page.b.js("[document.getElementById('screen').width, "
                              "document.getElementById('screen').height]")

    def whole(windows):
        for x, y, w, h, k in windows:
            assert 0 < x and x + w < width and 22 * k < y and y + h < height, \
                f"a window not whole on the screen ({width} x {height}): {windows}"
        return windows

    whole(title)
    page.tap(title[0], 200, 180)  # START!
    field = whole(wait("the playfield", lambda: (now := page.windows()) != title and now))[0]
    page.tap(field, 20, 9)  # ﾌｧｲﾙ, then the first of its items
    page.tap(field, 30, 30)
    wait_falling(page, field, "a drop to appear and fall after the menu was tapped")
    for kind, x, y, lane in (("touchStart", 40, 120, 0), ("touchMove", 136, 120, 2),
                             ("touchMove", 240, 60, 2), ("touchEnd", 0, 0, 1),
                             ("touchStart", 40, 120, 0), ("touchCancel", 0, 0, 1)):
        page.touch(kind, *((field, x, y) if kind in ("touchStart", "touchMove") else ()))
        wait(f"{kind} at {x}, {y} to put the bin in column {lane}",
             lambda: page.look(field)[1] == [lane])
    over = whole(wait("the game-over window", lambda: [w for w in page.windows() if w != field],
                      timeout=60))
    # Scaled with the playfield to fit, the game-over window keeps its proportions (402 x 213).
    assert abs(over[0][2] / over[0][3] - 402 / 213) < 0.05, f"not the game-over window: {over}"
    page.tap(over[0], 200, 180)  # OK
    wait("OK to close the game-over window", lambda: len(page.windows()) == 1)
    installable = browser.call("Page.getInstallabilityErrors")["installabilityErrors"]
    assert installable == [], f"not installable: {installable}"
    wait("the service worker to keep the game",
         lambda: page.b.js("!!navigator.serviceWorker.controller"), timeout=30)
    Files.offline = True
    try:
        wait("the title window offline", Phone(browser, page.url).windows, timeout=15)
    finally:
        Files.offline = False


if __name__ == "__main__":
    site = sys.argv[1]  # scripts/web.sh lists the files and their sizes
    files = [os.path.join(site, f) for f in os.listdir(site) if not f.endswith(tuple(BUDGET))]
    sizes = {suffix: sum(os.path.getsize(f + suffix if os.path.exists(f + suffix) else f)
                         for f in files) for suffix in BUDGET}
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Files, directory=site))
    server.handle_error = lambda *_: None  # a download the browser gave up on a page change
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    with tempfile.TemporaryDirectory(prefix="luminaku-chromium-") as profile:
        browser = Browser(profile)
        try:
            flow_play(Page(browser, url))
            flow_calm(Page(browser, url + "?calm"))
            # A browser that asks for less motion gets the calm flashing without ?calm.
            browser.call("Emulation.setEmulatedMedia",
                         features=[{"name": "prefers-reduced-motion", "value": "reduce"}])
            flow_calm(Page(browser, url))
            flow_phone(Phone(browser, url), browser)
        finally:
            browser.proc.kill()
            browser.proc.wait()
            server.shutdown()
    assert all(sizes[k] <= BUDGET[k] for k in BUDGET), f"the whole site, as sent: {sizes} > {BUDGET}"
    print("4 passed, 0 failed")
