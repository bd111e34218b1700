#!/usr/bin/env python3
"""Whole flows through the real game on an X display: what a player sees and does.

    flows.py GAME_BINARY FLOW

Exits 0 when the flow passes, 1 when it fails and SKIP (77) when there is no display.
"""

import os
import sys
import time
import traceback

import xdriver
from xdriver import Failure, check, wait_for

SKIP = 77

TITLE = "～ルミナク～ ホロワ村放射能汚染事故ゲーム"
ABOUT_CAPTION = TITLE + "のﾊﾞｰｼﾞｮﾝ情報"

TWIPS_PER_PIXEL = 15


def px(twips):
    return twips // TWIPS_PER_PIXEL


# Window sizes and control positions, from the windows' design tables (twips).
OPENING_SIZE = (px(6030), px(3195))
START_BUTTON = (px(2400), px(2520), px(1215), px(375))
PLAYFIELD_CLIENT = (px(4680), px(3195))
GAME_OVER_SIZE = (px(6030), px(3195))
ABOUT_SIZE = (px(5730), px(3555))
PICTURE = px(480)
SCORE_BOARD = (px(3000), px(480), px(1215), px(255))
HISCORE_BOARD = (px(3000), px(1080), px(1215), px(255))
MISS_MARKS = [(px(3000), px(2040)), (px(3480), px(2040))]


def drop_cell(index):
    """Top-left of drop picture `index` (column * 4 + row) in the playfield's client area."""
    return px(360 + 720 * (index // 4)), px(480 + 480 * (index % 4))


def bin_cell(lane):
    return px(360 + 720 * lane), px(2520)


def is_black(p):
    return max(p) < 64


def is_yellow(p):
    return p[0] > 180 and p[1] > 180 and p[2] < 100


def is_dark(p):
    return sum(p) < 3 * 110


class Playfield:
    """The playfield window and the pixels of its client area (below the menu bar)."""

    def __init__(self, window):
        self.window = window
        self.top = window.height - PLAYFIELD_CLIENT[1]

    def shot(self):
        return PlayfieldShot(xdriver.capture(self.window.id), self.top)


class PlayfieldShot:
    def __init__(self, image, top):
        self.image, self.top = image, top
        self.background = self.at(4, 4)  # nothing is ever drawn in the top-left corner

    def at(self, x, y):
        return self.image.pixel(x, self.top + y)

    def area(self, x, y, width, height):
        return list(self.image.pixels(x, self.top + y, width, height))

    def painted(self, x, y, size=PICTURE):
        """How many pixels of a picture cell differ from the window background."""
        return sum(p != self.background for p in self.area(x, y, size, size))

    def trefoil(self, x, y):
        cell = self.area(x, y, PICTURE, PICTURE)
        return sum(map(is_black, cell)) >= 50 and sum(map(is_yellow, cell)) >= 20

    def drops(self):
        """Indexes of the drop cells that show a trefoil."""
        return [i for i in range(12) if self.trefoil(*drop_cell(i))]

    def bins(self):
        """Lanes whose bin cell shows a picture."""
        return [j for j in range(3) if self.painted(*bin_cell(j)) > 100]

    def board(self, rect):
        x, y, w, h = rect
        return self.area(x + 2, y + 2, w - 4, h - 4)  # inside the border


def open_playfield(game):
    """Launches the game and goes through the title window's START! button."""
    game.launch()
    opening = game.only_window("the title window")
    check(opening.name == TITLE, f"title window caption {opening.name!r}")
    check((opening.width, opening.height) == OPENING_SIZE,
          f"title window client area {opening.width}x{opening.height}, expected {OPENING_SIZE}")
    x, y, w, h = START_BUTTON
    game.click(opening, x + w // 2, y + h // 2)
    game.wait_gone("the title window to go", opening.id)
    # The playfield was shown before the title window went: it is the one window now.
    return Playfield(game.only_window("the playfield"))


def start_round(game, field):
    game.menu(field.window, "f", "s")
    return wait_for("a drop to appear", lambda: field.shot().drops(), timeout=3)


def flow_launch(game):
    field = open_playfield(game)
    window = field.window
    check(window.name == TITLE, f"playfield caption {window.name!r}")
    check(window.width == PLAYFIELD_CLIENT[0],
          f"playfield width {window.width}, expected {PLAYFIELD_CLIENT[0]}")
    # The menu bar sits above the client area; the client keeps its designed height.
    check(10 <= field.top <= 60, f"no menu bar above a {PLAYFIELD_CLIENT[1]} px client area "
          f"(window height {window.height})")
    shot = field.shot()
    menu_bar = list(shot.image.pixels(0, 0, window.width, field.top))
    check(sum(map(is_dark, menu_bar)) > 20, "the menu bar shows no text")

    check(shot.bins() == [1], f"bins drawn in lanes {shot.bins()}, expected the middle one only")
    check(shot.drops() == [], f"drops shown before a round: {shot.drops()}")
    for x, y in MISS_MARKS:
        check(shot.painted(x, y) == 0, f"a miss mark at ({x},{y}) before a round")

    # Both boards read "0": the same picture, a dark right-aligned digit on each.
    score, hiscore = shot.board(SCORE_BOARD), shot.board(HISCORE_BOARD)
    check(score == hiscore, "the score and high-score boards differ at start")
    width = SCORE_BOARD[2] - 4
    ink = [i % width for i, p in enumerate(score) if is_dark(p)]
    check(len(ink) >= 10, "the score board is blank")
    check(min(ink) > width // 2, "the score board's text is not right-aligned")


def flow_round(game):
    field = open_playfield(game)
    drops = start_round(game, field)
    check(len(drops) == 1, f"more than one drop shown: {drops}")

    # A held arrow key puts the bin under its column; letting go brings it back to the middle.
    for key, lane in (("Left", 0), ("Right", 2)):
        game.focus(field.window)
        xdriver.run("xdotool", "keydown", key)
        try:
            wait_for(f"the bin under lane {lane} while {key} is held",
                     lambda lane=lane: field.shot().bins() == [lane], timeout=2)
        finally:
            xdriver.run("xdotool", "keyup", key)
        wait_for(f"the bin back in the middle after {key} is released",
                 lambda: field.shot().bins() == [1], timeout=2)

    # Left alone, the bin stays in the middle and the round ends at the third miss.
    over = game.wait_window(
        "the game-over window",
        lambda w: w.id != field.window.id and w.name == TITLE
        and (w.width, w.height) == GAME_OVER_SIZE,
        timeout=45)

    # Its background flashes: one colour all over, a new one a moment later.
    def background():
        image = xdriver.capture(over.id)
        corners = {image.pixel(4, over.height - 5), image.pixel(over.width - 5, over.height - 5),
                   image.pixel(4, over.height // 2 + 20)}
        check(len(corners) == 1, f"the game-over background is not one colour: {corners}")
        return corners.pop()

    first = background()
    wait_for("the game-over background to change colour", lambda: background() != first,
             timeout=2)


def flow_about(game):
    field = open_playfield(game)
    game.menu(field.window, "h", "a")
    about = game.wait_window("the version window", lambda w: w.name == ABOUT_CAPTION)
    check((about.width, about.height) == ABOUT_SIZE,
          f"version window client area {about.width}x{about.height}, expected {ABOUT_SIZE}")
    game.keys(about, "Escape")
    game.wait_gone("Escape to close the version window", about.id)
    check([w.id for w in game.windows()] == [field.window.id],
          "the playfield is not the one window left")


def flow_quit(game):
    field = open_playfield(game)
    start_round(game, field)

    def ask():
        game.menu(field.window, "f", "x")
        box = game.wait_window("the quit question", lambda w: w.id != field.window.id)
        check(box.name == TITLE, f"the question's title is {box.name!r}")
        return box

    # No: the question goes and the round goes on.
    box = ask()
    game.keys(box, "alt+n")
    game.wait_gone("No to close the question", box.id)
    check(game.running(), "the game ended after No")
    seen = []

    def drops_moved():
        drops = tuple(field.shot().drops())
        if not seen or seen[-1] != drops:
            seen.append(drops)
        return len(seen) >= 3

    wait_for("the drops to keep falling after No", drops_moved, timeout=3)

    # Yes: the game ends, cleanly, and leaves nothing running.
    box = ask()
    game.keys(box, "alt+y")
    status = game.wait_exit(timeout=5)
    check(status == 0, f"the game ended with status {status}")
    time.sleep(0.2)
    check(not game.group_alive(), "a process of the game is still running after Quit")
    left = xdriver.search("--onlyvisible", "--name", TITLE)
    check(not left, f"windows left on the display after Quit: {left}")


FLOWS = {
    "launch": flow_launch,
    "round": flow_round,
    "about": flow_about,
    "quit": flow_quit,
}


def main(argv):
    if len(argv) != 3 or argv[2] not in FLOWS:
        print(f"usage: {argv[0]} GAME_BINARY {{{'|'.join(FLOWS)}}}", file=sys.stderr)
        return 2
    if not os.environ.get("DISPLAY"):
        print("SKIP: no X display (run under xvfb-run)")
        return SKIP
    missing = xdriver.missing_tools()
    if missing:
        print(f"missing tools: {' '.join(missing)} (packages xdotool, x11-utils, imagemagick)")
        return 1
    game = xdriver.Game(argv[1])
    started = time.monotonic()
    try:
        FLOWS[argv[2]](game)
    except Failure as e:
        print(f"FAIL {argv[2]}: {e}")
        traceback.print_exc()
        print(f"--- the game's error output ---\n{game.stderr()}")
        return 1
    finally:
        game.close()
    print(f"PASS {argv[2]} ({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
