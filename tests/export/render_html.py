#!/usr/bin/env python3
"""Renders an HTML report in headless Chromium: the page must load (its title and charts in
the DOM) and its screenshot must not be blank.

usage: render_html.py PAGE.html SCREENSHOT.png

Exit 77 (skipped) when Chromium is missing, unless CI is set.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib


def fail(msg):
    print("FAIL: " + msg)
    sys.exit(1)


def chromium(args, profile):
    exe = shutil.which("chromium") or shutil.which("chromium-browser")
    if not exe:
        if os.environ.get("CI"):
            fail("chromium is not installed")
        print("skipped: chromium is not installed")
        sys.exit(77)
    cmd = [exe, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--hide-scrollbars", "--user-data-dir=" + profile] + args
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    if r.returncode != 0:
        fail("chromium exited with %d: %s" % (r.returncode, r.stderr.decode(errors="replace")[-500:]))
    return r.stdout.decode("utf-8", errors="replace")


def png_ink(path):
    """Width, height and the share of non-zero bytes of the filtered image data: a page of
    one colour filters to zeros, a page with text and charts does not."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("the screenshot is not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    return width, height, 1.0 - raw.count(0) / max(len(raw), 1)


def main():
    page, shot = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if os.path.exists(shot):
        os.remove(shot)
    url = "file://" + page
    with tempfile.TemporaryDirectory() as profile:
        dom = chromium(["--dump-dom", url], profile)
    if "wall analysis results" not in dom or dom.count("<svg") < 6:
        fail("the page did not load: %s" % dom[:300])
    with tempfile.TemporaryDirectory() as profile:
        chromium(["--window-size=1400,2000", "--screenshot=" + shot, url], profile)
    if not os.path.exists(shot):
        fail("no screenshot")
    w, h, ink = png_ink(shot)
    if (w, h) != (1400, 2000):
        fail("screenshot of %dx%d pixels" % (w, h))
    if ink < 0.02:
        fail("the page is blank (%.4f of the image data is not background)" % ink)
    print("ok: %s rendered, %.3f ink, screenshot %s" % (page, ink, shot))


if __name__ == "__main__":
    main()
