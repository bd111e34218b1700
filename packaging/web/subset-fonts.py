#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""Cuts the Japanese fonts down to the characters the game can show in a browser.

Qt for WebAssembly brings Latin fonts only, and a whole IPA font is 6 to 8 MB: the page would
be mostly font. The game's texts are fixed, so the fonts keep exactly their characters: those in
the string literals of the game's sources, the Japanese names of the message boxes' buttons
from Qt's translation, and printable ASCII (the score and the version are digits, and a
missing Latin glyph would fall back to another family than on the desktop).

Usage: subset-fonts.py OUTDIR QTBASE_JA.QM FONT... -- SOURCE...
"""
import re
import struct
import sys
from pathlib import Path

from fontTools import subset

# What QMessageBox puts on the buttons the game's boxes have, as Qt names them.
BUTTONS = {("QPlatformTheme", "&Yes"), ("QPlatformTheme", "&No"), ("QPlatformTheme", "OK")}

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def literal_text(path):
    text = Path(path).read_text(encoding="utf-8")
    # Comments may quote things the game never shows.
    text = re.sub(r"//[^\n]*|/\*.*?\*/", "", text, flags=re.S)
    return "".join(LITERAL.findall(text))


def qm_messages(path):
    """(context, source, translations) of each message in a Qt .qm file."""
    data = Path(path).read_bytes()
    pos, messages = 16, b""
    while pos < len(data):
        tag, size = data[pos], struct.unpack(">I", data[pos + 1:pos + 5])[0]
        if tag == 0x69:
            messages = data[pos + 5:pos + 5 + size]
        pos += 5 + size
    pos, current = 0, {}
    while pos < len(messages):
        tag = messages[pos]
        pos += 1
        if tag == 1:  # end of a message
            yield current.get(7, ""), current.get(6, ""), current.get(3, [])
            current = {}
        elif tag in (3, 6, 7, 8):  # translation, source, context, comment
            size = struct.unpack(">I", messages[pos:pos + 4])[0]
            pos += 4
            if size == 0xFFFFFFFF:
                continue
            raw = messages[pos:pos + size]
            pos += size
            if tag == 3:
                current.setdefault(3, []).append(raw.decode("utf-16-be"))
            else:
                current[tag] = raw.decode("utf-8")
        elif tag != 5:  # 5 marks an obsolete entry and carries nothing
            raise ValueError(f"{path}: unknown tag {tag}")


def characters(qm, sources):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for source in sources:
        chars.update(literal_text(source))
    found = set()
    for context, source, translations in qm_messages(qm):
        if (context, source) in BUTTONS:
            found.add((context, source))
            for text in translations:
                chars.update(text)
    if found != BUTTONS:
        raise SystemExit(f"{qm}: no translation for {sorted(BUTTONS - found)}")
    return "".join(sorted(c for c in chars if c >= " "))


def main(argv):
    split = argv.index("--")
    outdir, qm, fonts, sources = Path(argv[1]), argv[2], argv[3:split], argv[split + 1:]
    text = characters(qm, sources)
    outdir.mkdir(parents=True, exist_ok=True)
    options = subset.Options()
    options.name_IDs = ["*"]  # keep the family names Qt matches on
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.hinting = False  # drawn at one scale by FreeType's autohinter anyway
    for font in fonts:
        loaded = subset.load_font(font, options)
        subsetter = subset.Subsetter(options)
        subsetter.populate(text=text)
        subsetter.subset(loaded)
        subset.save_font(loaded, outdir / Path(font).name, options)
    print(f"{len(text)} characters")


if __name__ == "__main__":
    main(sys.argv)
