#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""e2e.py GAME launch|round|about|quit|hold: the real game on an X display that does not reset
(Xvfb -noreset), driven with xdotool as a player would. Exits 77 without a display.
e2e.py GAME.exe windows SEEDER.exe: the Windows game under wine (WINEPREFIX set), the same way."""

import contextlib
import os
import re
import subprocess
import sys
import tempfile
import time

from Xlib import X, display

TITLE = "～ルミナク～ ホロワ村放射能汚染事故ゲーム"
ABOUT_CAPTION = TITLE + "のﾊﾞｰｼﾞｮﾝ情報"
CLIENT_HEIGHT = 213  # the playfield's client area, below its menu bar


def x(*args):
    return subprocess.run(args, capture_output=True, timeout=10, check=True).stdout


def wait(what, probe, timeout=5):
    end = time.monotonic() + timeout
    while not (found := probe()):
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.1)
    return found


class Game:
    def __init__(self, binary, env, *args):  # listening for startup notices before it starts
        self.xd = display.Display()
        self.xd.screen().root.change_attributes(event_mask=X.PropertyChangeMask)
        self.xd.sync()
        self.startup_id = sid = f"e2e-{os.getpid()}_TIME0"
        self.wine = binary.endswith(".exe")
        self.proc = subprocess.Popen(["wine"] * self.wine + [binary, *args], env=dict(env, DESKTOP_STARTUP_ID=sid),
                                     stdout=subprocess.DEVNULL, start_new_session=True)

    def startup_info(self):  # the startup-notification messages so far, 20-byte pieces joined
        types = [self.xd.intern_atom(f"_NET_STARTUP_INFO{a}") for a in ("_BEGIN", "")]
        events = [self.xd.next_event() for _ in range(self.xd.pending_events())]
        return b"".join(bytes(e.data[1]) for e in events
                        if e.type == X.ClientMessage and e.client_type in types)

    def windows(self, menus=False):
        """The game's mapped top-level windows (id, name, width, height); menus when asked."""
        found = []
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                             capture_output=True, timeout=10).stdout.split()
        for wid in ids:
            try:
                info = x("xwininfo", "-id", wid).decode()
                name = x("xdotool", "getwindowname", wid).decode().strip()
            except subprocess.CalledProcessError:
                continue  # gone meanwhile
            if ("Override Redirect State: yes" in info) == menus:
                size = [int(re.search(rf"{k}: +(\d+)", info)[1]) for k in ("Width", "Height")]
                found.append((int(wid), name, *size))
        return found

    def other(self, *known):
        return [w for w in self.windows() if w[0] not in known]

    def keys(self, wid, *keys):
        # Under wine a window manager runs: ask it, so that it and wine agree on the focus.
        x("xdotool", "windowactivate" if self.wine else "windowfocus", "--sync", str(wid))
        for key in keys:
            x("xdotool", "key", key)

    def menu(self, wid, menu_key, item_key):
        self.keys(wid, f"alt+{menu_key}")
        popup = wait("the menu to open", lambda: self.windows(menus=True))
        x("xdotool", "key", item_key)
        wait("the menu to close", lambda: not set(popup) & set(self.windows(menus=True)))

    def look(self, field):
        """The playfield as drawn: drops shown (by index), bins shown (by lane) and the
        pictures of the score and high-score boards. One read of the window, a few ms."""
        return read_playfield(self.xd.create_resource_object("window", field[0]).get_image(
            0, field[3] - CLIENT_HEIGHT, 312, CLIENT_HEIGHT, X.ZPixmap, 0xFFFFFFFF).data)


def read_playfield(data):
    """Game.look from the client area's pixels, 4 bytes each (the browser test reads them too)."""
    def row(x0, y, n=1):
        return data[4 * (312 * y + x0):4 * (312 * y + x0 + n)]

    def shown(x0, y0):  # a 32-pixel picture cell with something drawn on most of its lines
        return sum(row(x0, y, 32) != row(4, 4) * 32 for y in range(y0, y0 + 32)) > 16

    drops = [i for i in range(12) if shown(24 + 48 * (i // 4), 32 + 32 * (i % 4))]
    bins = [j for j in range(3) if shown(24 + 48 * j, 168)]
    boards = [b"".join(row(202, y, 77) for y in range(y0, y0 + 13)) for y0 in (34, 74)]
    return drops, bins, *boards


def wait_falling(game, field, what, timeout=5):
    """Waits until the playfield has shown three different sets of drops."""
    seen = set()
    wait(what, lambda: len(seen.add(tuple(game.look(field)[0])) or seen) >= 3, timeout)


def open_playfield(game):
    title = wait("the title window", game.windows, timeout=10)
    assert [w[1:] for w in title] == [(TITLE, 402, 213)], f"title window: {title}"
    wm_class = game.xd.create_resource_object("window", title[0][0]).get_wm_class()
    assert wm_class == (("luminaku.exe",) * 2 if game.wine else ("luminaku", "Luminaku")), \
        f"WM_CLASS, which taskbars show: {wm_class}"  # under wine, wine's own
    start = ["xdotool", "mousemove", "--window", str(title[0][0]), "200", "180", "click", "1"]
    x(*start)  # START!; under wine the window may show before it takes clicks: once more then
    field = wait("the playfield alone", lambda: len(now := game.windows()) == 1 and
                 now[0][0] != title[0][0] and now or
                 (game.wine and not subprocess.run(start, capture_output=True)))
    assert field[0][1] == TITLE, f"after START!: {field}"
    return field[0]


def flow_launch(game):
    open_playfield(game)  # its first window ends the launcher's startup notification
    assert f"remove: ID={game.startup_id}\0".encode() in game.startup_info(), "no startup notice"
    # --help and --version need no display; what the game does not know ends it with status 2.
    for args, status, out, err in (
            (["--help"], 0, r"Usage: luminaku .*--calm.*--version.*", ""),
            (["-platform", "xcb", "--version"], 0, r"luminaku \d+\.\d+\.\d+\n", ""),
            (["--bogus"], 2, "", r"^luminaku: unknown option 'bogus'.*\n"),
            (["--calm", "x"], 2, "", r"^luminaku: unexpected argument 'x'.*\n")):
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY" or status}
        run = subprocess.run([game.proc.args[0], *args], env=dict(env, QT_QPA_PLATFORM="xcb"),
                             capture_output=True, text=True, timeout=10)
        assert run.returncode == status and re.fullmatch(out, run.stdout, re.S) and \
            (re.search(err, run.stderr, re.M) if err else not run.stderr), f"{args}: {run}"


def flow_round(game):
    field = open_playfield(game)
    game.keys(field[0])
    # A drop down a side column, caught with the arrow key held: both boards count it. (The bin
    # in the middle catches the middle drops at once, so the boards are read with a side drop.)
    game.menu(field[0], "f", "s")
    before = wait("a drop down a side column",
                  lambda: (look := game.look(field))[0] and look[0][0] // 4 != 1 and look, 30)
    key = "Left" if before[0][0] < 4 else "Right"
    x("xdotool", "keydown", key)
    wait(f"{key} to catch the drop", lambda: game.look(field)[2] != before[2], timeout=4)
    x("xdotool", "keyup", key)
    _, _, score, hiscore = game.look(field)
    assert score == hiscore, "the high score does not follow the score"
    # Left in the middle, the bin lets side drops pass: the third miss opens the game over.
    over = wait("the game-over window", lambda: game.other(field[0]), timeout=60)[0]
    assert over[1:] == (TITLE, 402, 213), f"not the game-over window: {over}"
    # Started --calm (with a Qt option), it changes its colour at most three times in a second.
    end = time.monotonic() + 1
    looks = [x("import", "-window", str(over[0]), "-crop", "1x1+4+4", "-depth", "8", "rgb:-")
             for _ in iter(lambda: time.monotonic() < end, False)]
    assert sum(a != b for a, b in zip(looks, looks[1:])) <= 3, f"{len(looks)} looks: {looks}"


def flow_about(game):
    field = open_playfield(game)
    # A version window destroyed from outside is unloaded: the command opens a new one.
    for destroyed in (True, False):
        game.menu(field[0], "h", "a")
        about = wait("the version window", lambda: game.other(field[0]))[0]
        assert about[1:] == (ABOUT_CAPTION, 382, 237), f"not the version window: {about}"
        if destroyed:
            x("xdotool", "windowclose", str(about[0]))
            wait("the window to go", lambda: game.other(field[0]) == [])
    # Its system-information button starts the desktop's tool, found on PATH, blank and all.
    game.keys(about[0], "alt+s")
    wait("the system-information tool to run", lambda: os.path.exists(TOOL + ".ran"))
    game.keys(about[0], "Escape")
    wait("Escape to close the version window", lambda: game.other(field[0]) == [])
    # The playfield destroyed from outside: the game ends with its last window, as after Quit.
    x("xdotool", "windowclose", str(field[0]))
    assert game.proc.wait(timeout=5) == 0, f"the game ended with status {game.proc.returncode}"


def flow_windows(game):
    """What a Windows player meets, from the title window to Quit, with the system-information
    tool that the registry names; the tool, a copy of the seeder, says how it was started."""
    field = open_playfield(game)
    game.menu(field[0], "f", "s")
    wait_falling(game, field, "a drop to appear and fall")
    game.menu(field[0], "h", "a")
    about = wait("the version window", lambda: game.other(field[0]))[0]
    assert about[1:] == (ABOUT_CAPTION, 382, 237), f"not the version window: {about}"
    drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    shown = os.path.join(drive_c, "sys info", "MSINFO32.EXE.shown")
    for seeded in (False, True):
        if seeded:  # the seeder writes where the tool is and puts itself there
            subprocess.run(["wine", sys.argv[3], "check"], capture_output=True, timeout=60)
            os.remove(shown)
        game.keys(about[0], "alt+s")
        if seeded:
            wait("the tool the registry names to start", lambda: os.path.exists(shown), 10)
        else:
            box = wait("the not-available message", lambda: game.other(field[0], about[0]))[0]
            assert box[1] == TITLE, f"the message's title: {box[1]!r}"
            game.keys(box[0], "Return")
            wait("the message to close", lambda: game.other(field[0], about[0]) == [])
    # Since the tool started, wine hands the game's windows the keys only once they are clicked.
    x("xdotool", "mousemove", "--window", str(about[0]), "328", "186", "click", "1")  # OK
    wait("OK to close the version window", lambda: game.other(field[0]) == [])
    x("xdotool", "mousemove", "--window", str(field[0]), "150", "10", "click", "1")
    game.menu(field[0], "f", "x")
    game.keys(wait("the quit question", lambda: game.other(field[0]))[0][0], "Return")
    assert game.proc.wait(timeout=10) == 0, f"the game ended with status {game.proc.returncode}"


def flow_hold(game, seconds=30):
    """Each arrow held on a busy machine (two processes spinning): the bin, read from the
    window's pixels every few milliseconds, never leaves the held column; let go, it comes back."""
    field = open_playfield(game)
    game.keys(field[0])
    spinners = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(2)]
    try:
        for key, lane in (("Left", 0), ("Right", 2)):
            x("xdotool", "keydown", key)
            wait(f"{key} to move the bin", lambda: game.look(field)[1] == [lane])
            samples, away, end = 0, 0, time.monotonic() + seconds
            while time.monotonic() < end:
                samples, away = samples + 1, away + (game.look(field)[1] != [lane])
                time.sleep(0.002)
            x("xdotool", "keyup", key)
            print(f"{key} held {seconds} s: the bin out of its column in {away} of {samples} samples")
            assert not away, f"the bin left the column of the held {key}"
            wait(f"{key} let go to bring the bin back", lambda: game.look(field)[1] == [1])
    finally:
        for spinner in spinners:
            spinner.kill()


def flow_quit(game):
    field = open_playfield(game)
    game.menu(field[0], "f", "s")
    # Alt tapped: the menu bar has the keys and the round waits until Escape gives them back.
    game.keys(field[0], "alt")
    time.sleep(0.5)  # for the game to read the key
    held = game.look(field)[0]
    time.sleep(1.5)  # three steps of the first drop
    assert game.look(field)[0] == held, "the round ran on while the menu bar had the keys"
    x("xdotool", "key", "Escape")
    wait("the round to go on after Escape", lambda: game.look(field)[0] != held)
    for key in ("Escape", None, "Return"):  # No; destroyed from outside, No too; Yes, the default
        game.menu(field[0], "f", "x")
        box = wait("the quit question", lambda: game.other(field[0]))[0]
        assert box[1] == TITLE, f"the question's title: {box[1]!r}"
        if key:
            game.keys(box[0], key)
        else:
            x("xdotool", "windowclose", str(box[0]))
        if key != "Return":
            wait("No to close the question", lambda: game.other(field[0]) == [])
            wait_falling(game, field, "drops to go on falling after No", timeout=3)
    assert game.proc.wait(timeout=5) == 0, f"the game ended with status {game.proc.returncode}"
    with contextlib.suppress(ProcessLookupError):  # its process group is gone with it
        os.killpg(game.proc.pid, 0)
        raise AssertionError("a process of the game is left after Quit")


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        print("SKIP: no X display")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as tmp:
        # The desktop's system-information tool: a script that leaves a mark when it runs.
        TOOL = os.path.join(tmp, "sys info", "hardinfo")
        os.mkdir(os.path.dirname(TOOL))
        with open(TOOL, "w") as f:
            f.write('#!/bin/sh\n: > "$0.ran"\n')
        os.chmod(TOOL, 0o755)
        native = dict(QT_QPA_PLATFORM="xcb", PATH=os.path.dirname(TOOL))
        game = Game(sys.argv[1], dict(os.environ, **({} if "WINEPREFIX" in os.environ else native)),
                    *(["-style", "Fusion", "--calm"] if sys.argv[2] == "round" else []))
        try:
            globals()["flow_" + sys.argv[2]](game)
        finally:
            if game.proc.poll() is None:
                game.proc.kill()
                game.proc.wait()
    print("PASS", sys.argv[2])
