#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""What Windows shows of the compiled resource script: version, texts, language, icon, manifest.

    check_resources.py RC ICO TITLE VERSION ART_DIR MANIFEST    (exit 77: no windres installed)
"""
import re, shutil, struct, subprocess, sys, tempfile
import xml.etree.ElementTree as ElementTree

rc, ico, title, version, art, manifest = sys.argv[1:]
windres = shutil.which("x86_64-w64-mingw32-windres")
if not windres:
    sys.exit(print("skipped: no x86_64-w64-mingw32-windres") or 77)
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    failures.extend([] if ok else [what])


with tempfile.TemporaryDirectory() as tmp:
    run = subprocess.run([windres, "-i", rc, "-O", "res", "-o", tmp + "/r.res"],
                         capture_output=True, text=True)
    # A character whose cp932 trail byte is 0x5C (such as 能) draws this warning; the string
    # checks below show that the text arrives whole.
    noise = [m for m in run.stderr.splitlines() if not m.endswith("unrecognized escape sequence")]
    check(run.returncode == 0 and not noise, "windres compiles the script " + "\n".join(noise))
    res = open(tmp + "/r.res", "rb").read() if run.returncode == 0 else b""

# Every name and string in a .res is UTF-16 at an even offset, so the whole file reads as text.
text = res.decode("utf-16-le", "replace")
major, minor, patch = map(int, version.split("."))
at = res.find(struct.pack("<I", 0xFEEF04BD))
numbers = struct.unpack_from("<4I", res, at + 8) if at >= 0 else None
check(numbers == (major << 16 | minor, patch) * 2, f"FILEVERSION, PRODUCTVERSION {numbers}")
shown = f"{major}.{minor:02d}.{patch:04d}"
for key, value in (("FileDescription", title), ("ProductName", title),
                   ("FileVersion", shown), ("ProductVersion", shown)):
    got = re.search(key + "\0+([^\0]*)\0", text)
    check(got and got[1] == value, f"{key} {got and got[1]!r} is {value!r}")
check("041103a4\0" in text and "Translation\0\0\u0411\u03a4" in text, "Japanese, code page 932")
# The icon group under the name Qt looks up, the version block and the manifest (numbered 1, the
# one a program's start reads), all in Japanese.
for kind, name in ((14, "IDI_ICON1"), (16, 1), (24, 1)):
    key = name.encode("utf-16-le") + b"\0\0" if str(name) == name else struct.pack("<HH", 0xFFFF, name)
    header = struct.pack("<HH", 0xFFFF, kind) + key
    check(re.search(re.escape(header) + b".{6}\x11\x04", res, re.S), f"resource {kind} {name} is 0x411")
# Windows refuses to start a program whose manifest is not well-formed XML.
data = open(manifest, "rb").read()
check(data in res and ElementTree.fromstring(data).tag.endswith("assembly"), "the manifest, whole")

# The icon Explorer shows: what the .ico holds, and that the resources hold it too.
data = open(ico, "rb").read()
for i, size in enumerate((32, 16)):
    w, _h, colours, _r, _p, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
    check((w, colours, bits) == (size, 16, 4), f"icon {i} is {size} px, 16 colours: {w}, {colours}")
    check(data[offset:offset + length] in res, f"the resources hold the {size} px image")
    rgb = [subprocess.run(["convert", image, "-background", "#f0f", "-flatten", "-depth", "8",
                           "rgb:-"], capture_output=True).stdout
           for image in (f"ico:{ico}[{i}]", f"{art}/trefoil{size}.xpm")]
    check(rgb[0] and rgb[0] == rgb[1], f"the {size} px image is trefoil{size}.xpm")
sys.exit(1 if failures else 0)
