#!/usr/bin/env python3
"""Compiles the game's Windows resource script and checks what ends up in the executable.

Guards against: a version block with wrong numbers or strings, Japanese text garbled by the
wrong code page (or by a trail byte that looks like a backslash), a translation table that
does not say Japanese / 932, and an icon that is missing, not 16 colours, or drawn wrongly
(rows upside down, nibbles swapped, transparency lost).

Exit status 77 (skipped) when no resource compiler for Windows is installed.
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
LANG_JAPANESE = 0x0411
CP932 = 932

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def align4(n):
    return (n + 3) & ~3


# ---- .res reading -----------------------------------------------------------------------


def read_id(data, pos):
    """A resource type or name: 0xFFFF and a number, or a NUL-terminated UTF-16 string."""
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_res(data):
    """Entries of a 32-bit .res file as (type, name, language, bytes)."""
    entries = []
    pos = 0
    while pos < len(data):
        data_size, header_size = struct.unpack_from("<II", data, pos)
        rtype, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        p = align4(p)
        _data_version, _flags, language = struct.unpack_from("<IHH", data, p)
        body = data[pos + header_size : pos + header_size + data_size]
        if data_size or rtype != 0:  # the first entry is an empty marker
            entries.append((rtype, name, language, body))
        pos = align4(pos + header_size + data_size)
    return entries


def read_version_node(data, pos):
    """One node of the version tree: (key, value bytes, value type, children, end)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_start = pos + 6
    key_end = key_start
    while struct.unpack_from("<H", data, key_end)[0] != 0:
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    p = align4(key_end + 2)
    size = value_length * 2 if value_type == 1 else value_length  # text counts in WCHARs
    value = data[p : p + size]
    p = align4(p + size)
    children = []
    while p < end:
        child = read_version_node(data, p)
        children.append(child)
        p = align4(child[4])
    return key, value, value_type, children, end


def text_value(value):
    return value.decode("utf-16-le").rstrip("\0")


# ---- icons --------------------------------------------------------------------------------


def read_xpm(path):
    """Pixels of a one-character-per-pixel XPM as rows of (r, g, b) or None (transparent)."""
    with open(path, encoding="ascii") as f:
        strings = re.findall(r'"([^"]*)"', f.read())
    width, height, ncolours, cpp = map(int, strings[0].split()[:4])
    assert cpp == 1, "one character per pixel expected"
    colours = {}
    for line in strings[1 : 1 + ncolours]:
        char, fields = line[0], line[1:].split()
        value = fields[fields.index("c") + 1]
        colours[char] = None if value.lower() == "none" else tuple(
            int(value[i : i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + ncolours : 1 + ncolours + height]
    return [[colours[c] for c in row[:width]] for row in rows]


def decode_icon_image(image):
    """A 4 bpp icon image (BITMAPINFOHEADER, palette, colour rows, mask rows) as pixel rows."""
    (size, width, height2, planes, bits) = struct.unpack_from("<IiiHH", image, 0)
    height = height2 // 2
    info = {"width": width, "height": height, "planes": planes, "bits": bits}
    if size != 40 or bits != 4:
        return info, None
    palette = [tuple(image[40 + 4 * i + k] for k in (2, 1, 0)) for i in range(16)]
    colour_row = (width * 4 + 31) // 32 * 4
    mask_row = (width + 31) // 32 * 4
    colour_at = 40 + 64
    mask_at = colour_at + colour_row * height
    pixels = []
    for y in range(height):
        row = height - 1 - y  # stored bottom row first
        line = []
        for x in range(width):
            byte = image[colour_at + row * colour_row + x // 2]
            index = byte & 0x0F if x % 2 else byte >> 4
            masked = image[mask_at + row * mask_row + x // 8] & (0x80 >> (x % 8))
            line.append(None if masked else palette[index])
        pixels.append(line)
    return info, pixels


def read_ico(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        w, h, colours, _r, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        entries.append({"width": w or 256, "height": h or 256, "colours": colours,
                        "planes": planes, "bits": bits, "image": data[offset : offset + size]})
    return (reserved, kind), entries


# ---- checks -------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rc", required=True)
    parser.add_argument("--ico", required=True)
    parser.add_argument("--appinfo", required=True, help="header template holding the title")
    parser.add_argument("--version", required=True, help="project version, MAJOR.MINOR.PATCH")
    parser.add_argument("--art", required=True, help="folder of the pixel art")
    args = parser.parse_args()

    windres = os.environ.get("WINDRES") or shutil.which("x86_64-w64-mingw32-windres") \
        or shutil.which("i686-w64-mingw32-windres") or shutil.which("windres")
    if not windres:
        print("no windres installed (binutils-mingw-w64-x86-64): skipped")
        return 77

    with open(args.appinfo, encoding="utf-8") as f:
        title = re.search(r'Title = "([^"]+)"', f.read()).group(1)
    major, minor, patch = (int(n) for n in args.version.split("."))
    version_text = f"{major}.{minor:02d}.{patch:04d}"

    with tempfile.TemporaryDirectory() as tmp:
        res_path = os.path.join(tmp, "luminaku.res")
        run = subprocess.run(
            [windres, "--input-format=rc", "--output-format=res", "-i", args.rc, "-o", res_path],
            capture_output=True, text=True)
        # windres lexes strings byte by byte: a character whose second byte in code page 932
        # is 0x5C (such as 能) makes it warn of an unknown escape, and it keeps both bytes.
        # The string checks below show the text arrives whole; any other message fails.
        messages = [m for m in run.stderr.splitlines()
                    if m.strip() and not m.endswith(": unrecognized escape sequence")]
        print(run.stderr, end="")
        check(run.returncode == 0 and not messages,
              f"{os.path.basename(windres)} compiles the script with no unexpected message")
        if run.returncode != 0:
            return 1
        with open(res_path, "rb") as f:
            entries = read_res(f.read())

    # Version block.
    versions = [e for e in entries if e[0] == RT_VERSION]
    check(len(versions) == 1, "one version block")
    if not versions:
        return 1
    _t, _n, language, body = versions[0]
    check(language == LANG_JAPANESE, f"version block language 0x{language:04x} is 0x0411")
    key, fixed, _vt, children, _end = read_version_node(body, 0)
    check(key == "VS_VERSION_INFO", "root node is VS_VERSION_INFO")
    (signature, _sv, file_ms, file_ls, product_ms, product_ls, _mask, _flags, file_os,
     file_type) = struct.unpack_from("<10I", fixed, 0)
    want_ms, want_ls = (major << 16) | minor, patch
    check(signature == 0xFEEF04BD, "fixed file information present")
    check((file_ms, file_ls) == (want_ms, want_ls),
          f"FILEVERSION {file_ms >> 16},{file_ms & 0xFFFF},{file_ls >> 16},{file_ls & 0xFFFF}"
          f" is {major},{minor},0,{patch}")
    check((product_ms, product_ls) == (want_ms, want_ls), "PRODUCTVERSION equals FILEVERSION")
    check(file_os == 0x40004 and file_type == 1, "a Win32 application")

    nodes = {c[0]: c for c in children}
    tables = nodes.get("StringFileInfo", (None, None, None, [], 0))[3]
    check([t[0] for t in tables] == ["041103a4"], "one string table, 041103a4")
    strings = {s[0]: text_value(s[1]) for t in tables for s in t[3]}
    for name, want in (("FileDescription", title), ("ProductName", title),
                       ("FileVersion", version_text), ("ProductVersion", version_text)):
        got = strings.get(name)
        check(got == want, f"{name} {got!r} is {want!r}")
    var = {v[0]: v[1] for v in nodes.get("VarFileInfo", (None, None, None, [], 0))[3]}
    translation = struct.unpack("<HH", var["Translation"]) if "Translation" in var else None
    check(translation == (LANG_JAPANESE, CP932), f"Translation {translation} is (0x411, 932)")

    # Icon: the .ico file, its pixels against the pixel art, and its copy in the resources.
    with open(args.ico, "rb") as f:
        header, icons = read_ico(f.read())
    check(header == (0, 1), "the .ico is an icon file")
    check([(i["width"], i["height"]) for i in icons] == [(32, 32), (16, 16)],
          "the .ico holds 32 x 32 and 16 x 16, in that order")
    for icon in icons:
        size = icon["width"]
        info, pixels = decode_icon_image(icon["image"])
        check(icon["colours"] == 16 and icon["bits"] == 4 and info["bits"] == 4,
              f"{size} px image has 16 colours, 4 bits per pixel")
        check(pixels == read_xpm(os.path.join(args.art, f"trefoil{size}.xpm")),
              f"{size} px image is trefoil{size}.xpm, pixel for pixel")
    icotool = shutil.which("icotool")
    if icotool:
        listing = subprocess.run([icotool, "-l", args.ico], capture_output=True, text=True)
        print(listing.stdout, end="")
        check(listing.returncode == 0 and listing.stdout.count("--bit-depth=4") == 2,
              "icotool lists two 4-bit images")

    groups = [e for e in entries if e[0] == RT_GROUP_ICON]
    check(len(groups) == 1 and groups[0][2] == LANG_JAPANESE, "one icon group, Japanese")
    if groups:
        body = groups[0][3]
        _r, _k, count = struct.unpack_from("<HHH", body, 0)
        members = [struct.unpack_from("<BBBBHHIH", body, 6 + 14 * i) for i in range(count)]
        check([(m[0], m[1], m[2], m[5]) for m in members] == [(32, 32, 16, 4), (16, 16, 16, 4)],
              "icon group: 32 x 32 and 16 x 16, 16 colours, 4 bpp")
        images = {e[1]: e[3] for e in entries if e[0] == RT_ICON}
        check([images.get(m[7]) for m in members] == [i["image"] for i in icons],
              "icon images in the resources are those of the .ico")

    if failures:
        print(f"{len(failures)} check(s) failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
