"""Takes the README's screenshots: runs the real program in a private X session (Xvfb and
openbox, see tests/e2e/harness.py) on landscapes drawn by ImageMagick, goes through the control
window, the three choosers, the grid and the viewer (fitted and at natural size), and writes
PNGs into the folder given."""

import math
import os
import re
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as x  # noqa: E402

PICTURES = "/tmp/写真"  # a fixed folder, so that the choosers' folder lists read the same each run
OUT_OF_THE_WAY = (1020, 4)  # the pointer's place for every picture
PICTURE_FIT = (338, 216, 17, 12)  # "画面にフィット", picture chooser
TWELVE_SHOW = (200, 256, 121, 25)  # "１２枚ずつ表示", folder chooser


def landscape(path, index, width, height):
    """A sky from one colour to another, a sun and two rows of hills."""
    hue = index * 0.61
    top = [int(90 + 80 * (0.5 + 0.5 * math.sin(hue + k * 2.1))) for k in range(3)]
    low = [min(255, c + 90) for c in top]
    far = [int(40 + 60 * (0.5 + 0.5 * math.sin(hue + 1 + k))) for k in range(3)]
    near = [max(0, c - 35) for c in far]
    sun_x, sun_y, sun_r = width * (0.2 + 0.06 * (index % 10)), height * 0.3, height * 0.09

    def hills(level, swing, waves, phase):
        ridge = ["%d,%d" % (px, height * (level + swing * math.sin(px / width * waves + phase)))
                 for px in range(0, width + 1, max(1, width // 64))]
        return "polygon " + " ".join(ridge + ["%d,%d" % (width, height), "0,%d" % height])
    x.run("convert", "-size", "%dx%d" % (width, height),
          "gradient:rgb(%d,%d,%d)-rgb(%d,%d,%d)" % (*top, *low),
          "-fill", "rgb(255,214,90)",
          "-draw", "circle %d,%d %d,%d" % (sun_x, sun_y, sun_x + sun_r, sun_y),
          "-fill", "rgb(%d,%d,%d)" % tuple(far), "-draw", hills(0.55, 0.08, 6.3, index),
          "-fill", "rgb(%d,%d,%d)" % tuple(near), "-draw", hills(0.72, 0.06, 9.7, 2 * index),
          "-type", "TrueColor", "BMP3:" + path)


def frame(wid):
    """The window with its frame: (x, y, w, h) on the screen."""
    x0, y0, w, h = x.geometry(wid)
    extents = x.text("xprop", "-id", str(wid), "_NET_FRAME_EXTENTS")
    left, right, top, bottom = map(int, re.findall(r"\d+", extents) or (0, 0, 0, 0))
    return x0 - left, y0 - top, w + left + right, h + top + bottom


def shot(out, name, rect=None):
    """Moves the pointer away, waits until the screen (or a rectangle of it) stops changing,
    and saves it."""
    x.run("xdotool", "mousemove", *map(str, OUT_OF_THE_WAY))
    last = [None]

    def settled():
        grab = x.Grab(rect)
        steady, last[0] = last[0] is not None and grab.ppm == last[0].ppm, grab
        return steady
    x.wait_until(settled, "the screen to settle", interval=0.2)
    x.run("convert", "ppm:-", os.path.join(out, name), stdin=last[0].ppm)
    print("wrote", os.path.join(out, name))


def take(out):
    app = x.Tessary()
    # The first picture is larger than the screen; the others fill the grid's page.
    landscape(os.path.join(PICTURES, "p01.bmp"), 0, 1600, 1000)
    for i in range(2, 14):
        landscape(os.path.join(PICTURES, "p%02d.bmp" % i), i, 320, 240)
    app.write_settings(x.settings(PICTURES, PICTURES, PICTURES, "5", 1, 0, 1))
    with app:
        control = app.start().control()
        shot(out, "control-window.png", frame(control))

        x.click(control, (x.CONTROL["show1"]))
        chooser = app.captioned(x.CHOOSER_CAPTION)
        x.click(chooser, (x.FIRST_FILE))
        shot(out, "chooser-single.png", frame(chooser))

        x.click(control, (x.CONTROL["show12"]))
        folders = app.captioned(x.CHOOSER_CAPTION, exclude=(chooser,))
        shot(out, "chooser-twelve.png", frame(folders))
        x.click(folders, TWELVE_SHOW)
        app.wait_window(lambda w: w.id not in (control, chooser, folders), "the grid")
        shot(out, "grid.png")

        x.click(control, (x.CONTROL["sld"]))
        setup = app.captioned(x.CHOOSER_CAPTION, exclude=(chooser, folders))
        shot(out, "chooser-slideshow.png", frame(setup))

        for name, untick in (("viewer-fitted.png", False), ("viewer-natural-size.png", True)):
            x.click(control, (x.CONTROL["show1"]))
            app.captioned(x.CHOOSER_CAPTION, exclude=(folders, setup))
            if untick:
                x.click(chooser, PICTURE_FIT)
            x.click(chooser, (x.FIRST_FILE))
            x.click(chooser, (x.PICTURE_OPEN))
            viewer = app.captioned(x.VIEWER_CAPTION + "p01.bmp", exclude=(chooser, folders, setup))
            shot(out, name)
            x.click(viewer, (500, 400, 0, 0))
            x.wait_until(lambda: viewer not in [w.id for w in app.windows()], "the viewer hidden")

        if app.end() != [0]:
            raise AssertionError("the program ended with an error:\n" + app.output())


if __name__ == "__main__":
    if os.path.exists(PICTURES):
        raise SystemExit("%s exists already: move it away first" % PICTURES)
    os.makedirs(sys.argv[1], exist_ok=True)
    os.makedirs(PICTURES)
    try:
        with x.session():
            take(os.path.realpath(sys.argv[1]))
    finally:
        shutil.rmtree(PICTURES, ignore_errors=True)
