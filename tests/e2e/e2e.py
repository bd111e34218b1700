#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""e2e.py GAME launch|round [portal|kde]|hold|destroy: the real game on an X display that does
not reset (Xvfb -noreset), driven with xdotool as a player would, with no desktop settings but
those it is given. Exits 77 without a display.
e2e.py GAME.exe windows SEEDER.exe|windows_launch: the Windows game under wine (WINEPREFIX set),
the same way; e2e.py GAME.exe round off, after the seeder has turned Windows' animations off.
Imported, it lends the browser test its helpers."""

import argparse
import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, Xatom, display

TITLE = "～ルミナク～ ホロワ村放射能汚染事故ゲーム"
ABOUT_CAPTION = TITLE + "のﾊﾞｰｼﾞｮﾝ情報"
CLIENT_HEIGHT = 213  # the playfield's client area, below its menu bar
# A file dropped on the game: a Japanese name whose code page 932 bytes hold a backslash (表).
DROPPED = "ルミナク 表示.txt"
SCALE = float(os.environ.get("E2E_SCALE", 1))  # the screen's, as Windows sets it (144 dpi: 1.5)


def px(n):
    return round(n * SCALE)


def x(*args):
    return subprocess.run(args, capture_output=True, timeout=10, check=True).stdout


def wait(what, probe, timeout=5):
    end = time.monotonic() + timeout
    while not (found := probe()):
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.1)
    return found


def wm_view(game, wid):
    """What a window manager reads of a window: dialog type, owner, taskbar entry, icon sizes
    (_NET_WM_ICON), fixed size (min = max)."""
    w, atom = game.xd.create_resource_object("window", wid), game.xd.intern_atom
    prop = lambda name, kind: getattr(w.get_full_property(atom(name), kind), "value", [])
    icon, sizes = list(prop("_NET_WM_ICON", Xatom.CARDINAL)), []
    while icon:
        sizes, icon = sizes + [tuple(icon[:2])], icon[2 + icon[0] * icon[1]:]
    hints = w.get_wm_normal_hints()
    return (atom("_NET_WM_WINDOW_TYPE_DIALOG") in prop("_NET_WM_WINDOW_TYPE", Xatom.ATOM),
            (list(prop("WM_TRANSIENT_FOR", Xatom.WINDOW)) or [None])[0],
            atom("_NET_WM_STATE_SKIP_TASKBAR") in prop("_NET_WM_STATE", Xatom.ATOM), sizes,
            (hints.min_width, hints.min_height) == (hints.max_width, hints.max_height) > (0, 0))


def check_window(game, window, owner=None):
    """Frames (title window, playfield) have the game's icon and a taskbar entry; dialogs (game
    over, version) sit over the playfield with neither (wine gives a window without an icon its
    own logo). Every window has a fixed size."""
    dialog, owned_by, skip, icon, fixed = view = wm_view(game, window[0])
    expected = (owner is not None, owner and owner[0], owner is not None, True)
    assert (dialog, owned_by, skip, fixed) == expected and \
        bool(icon) == (owner is None or game.wine), f"{window}: {view}"


class Game:
    def __init__(self, binary, env, *args, stderr=None):  # listening for startup notices first
        self.xd = display.Display()
        self.xd.screen().root.change_attributes(event_mask=X.PropertyChangeMask)
        self.xd.sync()
        self.startup_id = sid = f"e2e-{os.getpid()}_TIME0"
        self.wine = binary.endswith(".exe")
        self.binary, self.env = binary, dict(env, DESKTOP_STARTUP_ID=sid)
        self.proc = subprocess.Popen(["wine"] * self.wine + [binary, *args], env=self.env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=stderr,
                                     start_new_session=True)

    def end(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

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
        height = px(CLIENT_HEIGHT)
        return read_playfield(self.xd.create_resource_object("window", field[0]).get_image(
            0, field[3] - height, px(312), height, X.ZPixmap, 0xFFFFFFFF).data)


def read_playfield(data):
    """Game.look from the client area's pixels, 4 bytes each (the browser test reads them too)."""
    width = px(312)

    def row(x0, y, n=1):
        return data[4 * (width * y + x0):4 * (width * y + x0 + n)]

    def shown(x0, y0):  # a 32-pixel picture cell with something drawn on most of its lines
        return sum(row(px(x0), y, px(32)) != row(4, 4) * px(32)
                   for y in range(px(y0), px(y0 + 32))) > px(16)

    drops = [i for i in range(12) if shown(24 + 48 * (i // 4), 32 + 32 * (i % 4))]
    bins = [j for j in range(3) if shown(24 + 48 * j, 168)]
    boards = [b"".join(row(px(202), y, px(77)) for y in range(px(y0), px(y0 + 13)))
              for y0 in (34, 74)]
    return drops, bins, *boards


def wait_falling(game, field, what, timeout=5):
    """Waits until the playfield has shown three different sets of drops."""
    seen = set()
    wait(what, lambda: len(seen.add(tuple(game.look(field)[0])) or seen) >= 3, timeout)


def open_playfield(game):
    title = wait("the title window", game.windows, timeout=10)
    assert [w[1:] for w in title] == [(TITLE, px(402), px(213))], f"title window: {title}"
    check_window(game, title[0])
    wm_class = game.xd.create_resource_object("window", title[0][0]).get_wm_class()
    assert wm_class == (("luminaku.exe",) * 2 if game.wine else ("luminaku", "Luminaku")), \
        f"WM_CLASS, which taskbars show: {wm_class}"  # under wine, wine's own
    click(title[0], (200, 180))  # START!; under wine the window may show before it takes clicks:
    field = wait("the playfield alone", lambda: len(now := game.windows()) == 1 and
                 now[0][0] != title[0][0] and now or (game.wine and click(title[0], (200, 180), False)))
    assert field[0][1] == TITLE, f"after START!: {field}"
    check_window(game, field[0])
    return field[0]


def flow_launch(game):
    """Started with a plain argument (a file dropped on it), the game plays all the same."""
    open_playfield(game)  # its first window ends the launcher's startup notification
    assert f"remove: ID={game.startup_id}\0".encode() in game.startup_info(), "no startup notice"
    game.end()
    dropped_named(game)
    # --help, --version and an option the game does not know (status 2) need no display.
    for args, status, out, err in (
            (["--help"], 0, r"Usage: luminaku .*--calm.*--version.*", ""),
            (["-platform", "xcb", "--version"], 0, r"luminaku \d+\.\d+\.\d+\n", ""),
            (["-style", "Fusion", "--bogus"], 2, "", r"^luminaku: unknown option 'bogus'.*\n")):
        env = {k: v for k, v in game.env.items() if k != "DISPLAY"}
        run = subprocess.run([game.binary, *args], env=env, capture_output=True, text=True, timeout=10)
        assert run.returncode == status and re.fullmatch(out, run.stdout, re.S) and \
            (re.search(err, run.stderr, re.M) if err else not run.stderr), f"{args}: {run}"


def dropped_named(game):
    """The warning names the dropped file as it is named (in the ANSI code page on Windows)."""
    said = game.proc.stderr.read().decode("cp932" if game.wine else "utf-8")
    assert re.search(f"^luminaku: ignoring '{DROPPED}' ", said, re.M), f"the warning: {said!r}"


def flashes(game, over, seconds=1):
    """The game-over window's colour changes in `seconds`, read a pixel at a time (< 1 ms)."""
    window, end = game.xd.create_resource_object("window", over[0]), time.monotonic() + seconds
    looks = [window.get_image(4, 4, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
             for _ in iter(lambda: time.monotonic() < end, False)]
    changes = sum(a != b for a, b in zip(looks, looks[1:]))
    print(f"{changes} colour changes in {seconds} s ({len(looks)} looks)")
    return changes


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
    over = game_over_window(game, field)
    # Started --calm (with a Qt option), or where the desktop's animations are off (the portal's
    # setting or KDE's), it changes its colour at most three times in a second.
    assert flashes(game, over) <= 3
    quit_leaving(game, field, over)


def game_over_window(game, field, *known, timeout=60):
    return over_field(game, field, "the game-over window", TITLE, (px(402), px(213)), *known,
                      timeout=timeout)


def quit_leaving(game, field, over):
    """Quit with the game-over window open: the playfield goes (Windows takes an owned window
    along with its owner), the game-over window flashes on until its OK ends the game."""
    game.menu(field[0], "f", "x")
    game.keys(over_field(game, field, "the quit question", TITLE, None, over[0])[0], "Return")
    wait("the playfield to go", lambda: [w[0] for w in game.windows()] == [over[0]])
    if not game.wine:  # the game's only window now: in the taskbar, or it could not be found
        wait("the game-over window's taskbar entry", lambda: not wm_view(game, over[0])[2])
    assert flashes(game, over) > 0, "the game-over window stopped flashing with the playfield"
    click(over, (200, 180))  # OK
    assert game.proc.wait(timeout=10) == 0, f"the game ended with status {game.proc.returncode}"


def click(window, at, check=True):
    subprocess.run(["xdotool", "mousemove", "--window", str(window[0]), *(str(px(n)) for n in at),
                    "click", "1"], capture_output=True, timeout=10, check=check)


def over_field(game, field, what, caption, size, *known, timeout=5):
    """The window that opens over the playfield besides `known`: its caption, and for a window
    of the game's own its size, owner and taskbar entry (a message box's size is the system's)."""
    window = wait(what, lambda: game.other(field[0], *known), timeout=timeout)[0]
    assert window[1] == caption and (not size or window[2:] == size), f"not {what}: {window}"
    if size:
        check_window(game, window, field)
    return window


def open_about(game, field, *known):
    game.menu(field[0], "h", "a")
    return over_field(game, field, "the version window", ABOUT_CAPTION, (px(382), px(237)), *known)


def system_information(game, field):
    """The version window's system-information button. With the desktop's tool on PATH (blank and
    all), it starts it with the environment the game was given, nothing the game set for itself;
    with none, it says so."""
    game.keys(about := open_about(game, field)[0], "alt+s")
    if not (tool := shutil.which("hardinfo", path=game.env["PATH"])):
        wait("the not-available notice", lambda: game.other(field[0], about))
        return about
    wait("the system-information tool to run", lambda: os.path.exists(tool + ".ran"))
    with open(tool + ".ran") as f:
        ran = dict(v.split("=", 1) for v in f.read().split("\0") if v)
    skip = ("PWD", "OLDPWD", "SHLVL", "_", "DESKTOP_STARTUP_ID")  # the shell's; the game's launch
    ran, given = ({k: v for k, v in e.items() if k not in skip} for e in (ran, game.env))
    assert ran == given, f"the tool's environment, added and lost: {ran.items() ^ given.items()}"
    return about


def quit_question(game, field):
    game.menu(field[0], "f", "x")
    return over_field(game, field, "the quit question", TITLE, None)[0]


def game_over(game, field):  # the bin left in the middle lets the side drops pass
    game.menu(field[0], "f", "s")
    return game_over_window(game, field)[0]


# Destroyed from outside, a game each: how to get there from the playfield (giving the window to
# destroy; None: the title window before START!), and whether the playfield stays.
DESTROYED = (
    ("title window", None, False),
    ("idle playfield", lambda game, field: field[0], False),
    ("playfield in a round", lambda game, field: game.menu(field[0], "f", "s") or
     wait_falling(game, field, "a drop to fall") or field[0], False),
    ("playfield under its open menu", lambda game, field: game.keys(field[0], "alt+f") or
     wait("the menu to open", lambda: game.windows(menus=True)) and field[0], False),
    ("playfield under the quit question", lambda game, field: quit_question(game, field) and field[0], False),
    ("the quit question itself (No)", quit_question, True),
    ("game-over window while it flashes", game_over, True),
    ("version window, its tool started", system_information, True),
    ("version window under its notice (no tool)", system_information, True),
)


def flow_destroy(game):
    """The game ends with status 0 with its last window; otherwise every window that stood over
    the destroyed one has gone with it, and what is left still works."""
    tools = game.env["PATH"]
    for name, setup, stays in DESTROYED:
        path = tools if "no tool" not in name else os.path.dirname(tools)
        game = game if game.proc.poll() is None else Game(game.binary, dict(game.env, PATH=path))
        try:
            field = setup and open_playfield(game)
            target = setup(game, field) if setup else wait("the title window", game.windows, 10)[0][0]
            x("xdotool", "windowclose", str(target))
            if stays:
                wait(f"{name}: the playfield alone", lambda: game.windows(menus=True) == [] and
                     [w[0] for w in game.windows()] == [field[0]])
                game.keys(open_about(game, field)[0], "Escape")
                wait(f"{name}: Escape to close the version window", lambda: game.other(field[0]) == [])
                game.menu(field[0], "f", "s")
                wait_falling(game, field, f"{name}: a round to start")
                game.keys(quit_question(game, field), "Return")
            assert game.proc.wait(timeout=10) == 0, f"{name}: status {game.proc.returncode}"
            with contextlib.suppress(ProcessLookupError):  # its process group is gone with it
                os.killpg(game.proc.pid, 0)
                raise AssertionError(f"{name}: a process of the game is left")
        finally:
            game.end()
        print(f"destroyed: {name}: PASS")


def flow_windows(game, seeder):
    """What a Windows player meets at the screen's scale, from the title window to Quit: a round
    to its end, the game-over window left open over everything after, the version window, and the
    system-information tool that the registry names (a copy of the seeder, which says how it was
    started)."""
    field = open_playfield(game)
    game.menu(field[0], "f", "s")
    over = game_over_window(game, field, timeout=90)
    about = open_about(game, field, over[0])
    drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    shown = os.path.join(drive_c, "sys info", "MSINFO32.EXE.shown")
    for seeded in (False, True):
        if seeded:  # the seeder writes where the tool is and puts itself there
            subprocess.run(["wine", seeder, "check"], capture_output=True, timeout=60)
            os.remove(shown)
        game.keys(about[0], "alt+s")
        if seeded:
            wait("the tool the registry names to start", lambda: os.path.exists(shown), 10)
        else:
            box = over_field(game, field, "the not-available message", TITLE, None, about[0], over[0])
            game.keys(box[0], "Return")
            wait("the message to close", lambda: game.other(field[0], about[0], over[0]) == [])
    # Since the tool started, wine hands the game's windows the keys only once they are clicked,
    # and may take a click for that alone: OK is clicked until the window goes.
    def ok_closes():
        click(about, (328, 186))
        time.sleep(0.5)
        return game.other(field[0], over[0]) == []
    wait("OK to close the version window", ok_closes, timeout=10)
    click(field, (150, 10))
    quit_leaving(game, field, over)


def flow_windows_launch(game):
    """The Windows game started from Explorer or a shortcut, with no console: a file dropped on
    it starts it all the same; the help, the version and an unknown option's error appear in a
    message box under the game's title, whose OK ends the program with its status."""
    open_playfield(game)
    game.end()
    dropped_named(game)
    for args, status in ((["--help"], 0), (["--version"], 0), (["--bogus"], 2)):
        told = Game(game.binary, game.env, *args, stderr=subprocess.DEVNULL)
        try:
            box = wait(f"{args}: a message box", told.windows, timeout=20)[0]
            assert box[1] == TITLE, f"{args}: {box}"
            told.keys(box[0], "Return")
            assert told.proc.wait(timeout=10) == status, f"{args}: status {told.proc.returncode}"
        finally:
            told.end()


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


def desktop(way, tmp, stack):
    """No desktop settings, or the animations turned off by `kde` (kdeglobals) or `portal` (a
    stand-in portal on a session bus of its own)."""
    env = dict(XDG_CONFIG_HOME=tmp, XDG_CONFIG_DIRS=tmp, DBUS_SESSION_BUS_ADDRESS="unix:path=/-")
    if way == "kde":
        with open(os.path.join(tmp, "kdeglobals"), "w") as f:
            f.write("[KDE]\nAnimationDurationFactor=0\n")
    elif way == "portal":
        def start(*command):
            process = subprocess.Popen(command, env=dict(os.environ, **env),
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            stack.callback(process.kill)
            return process.stdout.readline().decode().strip()
        env["DBUS_SESSION_BUS_ADDRESS"] = start("dbus-daemon", "--session", "--nofork",
                                                "--print-address=1")
        assert start("/usr/bin/python3", os.path.join(os.path.dirname(__file__), "portal.py"),
                     "false") == "READY", "the stand-in portal did not start"
    return env


def main():
    parser = argparse.ArgumentParser(description="The game driven as a player would, on an X display.")
    parser.add_argument("game", help="the game's program (.exe: under wine)")
    flows = parser.add_subparsers(dest="name", required=True)
    for name, flow in (("launch", flow_launch), ("hold", flow_hold), ("destroy", flow_destroy),
                       ("windows_launch", flow_windows_launch)):
        flows.add_parser(name).set_defaults(flow=flow)
    round_ = flows.add_parser("round", help="started --calm, or with the animations turned off")
    round_.add_argument("desktop", nargs="?", choices=("portal", "kde", "off"))
    round_.set_defaults(flow=flow_round)
    windows = flows.add_parser("windows")
    windows.add_argument("seeder", help="wine_sysinfo.exe: seeds the registry, stands in for the tool")
    windows.set_defaults(flow=lambda game: flow_windows(game, options.seeder))
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("SKIP: no X display")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as tmp, contextlib.ExitStack() as stack:
        # The desktop's system-information tool: a script that writes down its environment.
        tool = os.path.join(tmp, "sys info", "hardinfo")
        os.mkdir(os.path.dirname(tool))
        with open(tool, "w") as f:
            f.write('#!/bin/sh\n/usr/bin/env -0 > "$0.env" && /bin/mv "$0.env" "$0.ran"\n')
        os.chmod(tool, 0o755)
        native = dict(QT_QPA_PLATFORM="xcb", PATH=os.path.dirname(tool))
        # A round flow started with a way the desktop's animations are off runs without --calm.
        way = getattr(options, "desktop", None)
        native.update(desktop(way, tmp, stack))
        args = {"round": [] if way else ["-style", "Fusion", "--calm"], "launch": [DROPPED],
                "windows_launch": [DROPPED]}.get(options.name, [])
        game = Game(options.game, dict(os.environ, **({} if "WINEPREFIX" in os.environ else native)),
                    *args, stderr=subprocess.PIPE if args == [DROPPED] else None)
        try:
            options.flow(game)
        finally:
            game.end()
    print("PASS", *sys.argv[2:])


if __name__ == "__main__":
    main()
