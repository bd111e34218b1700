"""Drives the game's real windows on an X display with the usual command-line X tools.

Input goes through xdotool, windows are found with xdotool and measured with xwininfo, and
pixels come from ImageMagick's `import` of one window. There is no window manager on the test
display, so a window only receives keys after `xdotool windowfocus --sync`.

Every wait is bounded, and the X server is never polled faster than every POLL seconds.

An X server that loses its last client resets itself, and closes any connection that is being
set up at that moment. Each of the tools here is a short-lived client, so a game launched while
they come and go may fail to open the display. A Game therefore holds a connection of its own
open (an `xprop -spy`) for as long as it runs, and a launch that could not connect is tried once
more.
"""

import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time

POLL = 0.1  # seconds between two looks at the X server
TOOLS = ("xdotool", "xwininfo", "xprop", "import")
CONNECT_FAILURE = "could not connect to display"


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def missing_tools():
    return [t for t in TOOLS if shutil.which(t) is None]


def run(*args, timeout=10, binary=False):
    """Runs one X tool and returns its standard output."""
    done = subprocess.run(args, capture_output=True, timeout=timeout, check=False)
    if done.returncode != 0:
        raise Failure(f"{' '.join(args)} failed ({done.returncode}): "
                      f"{done.stderr.decode(errors='replace').strip()}")
    return done.stdout if binary else done.stdout.decode("utf-8", errors="replace")


def wait_for(what, probe, timeout, interval=POLL):
    """Calls probe() every `interval` seconds until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def search(*criteria):
    """Window ids that `xdotool search` finds (it exits 1 when it finds none)."""
    done = subprocess.run(["xdotool", "search", *criteria], capture_output=True, timeout=10,
                          check=False)
    return [int(w) for w in done.stdout.split()]


class Window:
    """One top-level X window as xwininfo saw it."""

    def __init__(self, wid, x, y, width, height, override_redirect, name):
        self.id = wid
        self.x, self.y, self.width, self.height = x, y, width, height
        self.override_redirect = override_redirect
        self.name = name

    def __repr__(self):
        return (f"Window({self.id:#x} {self.name!r} {self.width}x{self.height}+{self.x}+{self.y}"
                f"{' override-redirect' if self.override_redirect else ''})")


def window_info(wid):
    """Geometry and name of a window, or None if it has gone meanwhile."""
    try:
        text = run("xwininfo", "-id", str(wid))
    except Failure:
        return None

    def field(label):
        m = re.search(rf"^\s*{re.escape(label)}:\s*(-?\d+)", text, re.M)
        check(m, f"xwininfo printed no {label!r}:\n{text}")
        return int(m.group(1))

    override = re.search(r"Override Redirect State:\s*yes", text) is not None
    return Window(wid, field("Absolute upper-left X"), field("Absolute upper-left Y"),
                  field("Width"), field("Height"), override, window_name(wid))


def window_name(wid):
    """The window's title as UTF-8 (_NET_WM_NAME), read as bytes so the locale does not matter."""
    try:
        text = run("xprop", "-id", str(wid), "-notype", "-f", "_NET_WM_NAME", "8x",
                   "_NET_WM_NAME")
    except Failure:
        return None
    values = re.findall(r"0x([0-9a-fA-F]{1,2})", text.partition("=")[2])
    return bytes(int(v, 16) for v in values).decode("utf-8", errors="replace")


class Image:
    """An RGB picture of one window, in that window's coordinates."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def pixels(self, x, y, width, height):
        for row in range(y, y + height):
            for col in range(x, x + width):
                yield self.pixel(col, row)

    def crop(self, x, y, width, height):
        return bytes(v for p in self.pixels(x, y, width, height) for v in p)


def capture(wid):
    """The window's own pixels. (A capture of the root window may show an open menu as a black
    box; the window itself is what counts.)"""
    ppm = run("import", "-window", str(wid), "-depth", "8", "ppm:-", binary=True)
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
    check(m and m.group(3) == b"255", "import did not give an 8-bit PPM")
    width, height = int(m.group(1)), int(m.group(2))
    return Image(width, height, ppm[m.end():m.end() + width * height * 3])


class Game:
    """One run of the game binary on the test display."""

    def __init__(self, binary):
        self.binary = binary
        self.proc = None
        self._stderr = None
        self._keeper = None

    def launch(self, first_window_timeout=10):
        """Starts the game and waits for its first window. A launch that could not reach the
        display is tried once more."""
        self._hold_display()
        for attempt in (1, 2):
            if attempt == 2:
                time.sleep(0.5)
            self._start()
            try:
                return wait_for("the first window",
                                lambda: self._still_running() and self.windows(),
                                first_window_timeout, interval=2 * POLL)
            except Failure:
                could_not_connect = (self.proc.poll() is not None
                                     and CONNECT_FAILURE in self.stderr())
                if attempt == 1 and could_not_connect:
                    self._stderr.close()
                    continue
                raise
        raise AssertionError("unreachable")

    def _hold_display(self):
        """Opens a connection that lasts until close(), so that the server does not reset."""
        for _ in range(3):
            keeper = subprocess.Popen(["xprop", "-root", "-spy", "-notype", "_XKB_RULES_NAMES"],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                      stderr=subprocess.DEVNULL)
            ready, _, _ = select.select([keeper.stdout], [], [], 5)
            if ready and keeper.stdout.readline():  # it prints once it is connected
                self._keeper = keeper
                return
            keeper.kill()
            keeper.wait(timeout=5)
            time.sleep(0.5)
        raise Failure("could not open a connection to the display")

    def _start(self):
        self._stderr = tempfile.TemporaryFile()
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        # A session of its own, so that whatever the game leaves running can be found.
        self.proc = subprocess.Popen([self.binary], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=self._stderr, env=env,
                                     start_new_session=True)

    def _still_running(self):
        if self.proc.poll() is None:
            return True
        raise Failure(f"the game ended early with status {self.proc.returncode}:\n"
                      f"{self.stderr()}")

    def stderr(self):
        if self._stderr is None:
            return ""
        self._stderr.seek(0)
        return self._stderr.read().decode("utf-8", errors="replace")

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def windows(self, menus=False):
        """The game's mapped top-level windows; menus and other override-redirect popups only
        when asked for."""
        if not self.running():
            return []
        found = []
        for wid in search("--onlyvisible", "--pid", str(self.proc.pid)):
            info = window_info(wid)
            if info and (menus or not info.override_redirect):
                found.append(info)
        return found

    def only_window(self, what):
        shown = self.windows()
        check(len(shown) == 1, f"expected exactly one window ({what}), found {shown}")
        return shown[0]

    def wait_window(self, what, match, timeout=5):
        """Waits for a mapped window for which match(window) is true."""
        return wait_for(what, lambda: next((w for w in self.windows() if match(w)), None),
                        timeout)

    def wait_gone(self, what, wid, timeout=5):
        wait_for(what, lambda: all(w.id != wid for w in self.windows()), timeout)

    def focus(self, window):
        run("xdotool", "windowfocus", "--sync", str(window.id))

    def keys(self, window, *keys):
        """Focuses the window and types the keys, one at a time."""
        self.focus(window)
        for key in keys:
            run("xdotool", "key", key)

    def menu(self, window, menu_key, item_key):
        """Opens a menu with Alt+letter and chooses an item by its letter."""
        self.focus(window)
        run("xdotool", "key", f"alt+{menu_key}")
        popup = wait_for("the menu to open",
                         lambda: [w for w in self.windows(menus=True) if w.override_redirect],
                         timeout=3)
        run("xdotool", "key", item_key)
        wait_for("the menu to close",
                 lambda: all(w.id not in {p.id for p in popup} for w in self.windows(menus=True)),
                 timeout=3)

    def click(self, window, x, y, button=1):
        run("xdotool", "mousemove", "--window", str(window.id), str(x), str(y),
            "click", str(button))

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired as e:
            raise Failure(f"the game did not end within {timeout:g} s") from e

    def group_alive(self):
        """Whether any process of the game's session is still there (after the game ended)."""
        try:
            os.killpg(self.proc.pid, 0)
        except ProcessLookupError:
            return False
        return True

    def close(self):
        """Ends the game if it still runs (the process this object started, and only it)."""
        if self.proc is not None and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=5)
        if self._stderr is not None:
            self._stderr.close()
            self._stderr = None
        if self._keeper is not None:
            self._keeper.terminate()
            self._keeper.wait(timeout=5)
            self._keeper.stdout.close()
            self._keeper = None
