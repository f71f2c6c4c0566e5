"""Takes the README's screenshots: runs the real program under Xvfb (see screenshots.sh) on
pictures it draws itself, goes through the control window, the three choosers, the grid and
the viewer (fitted and at natural size), and writes PNGs into the folder given."""

import math
import os
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import xharness as x  # noqa: E402

# Client pixels of the controls used, in the choosers' fixed layouts.
FILE_LIST_FIRST_ENTRY = (184 + 30, 32 + 9)   # FrmSelect1
OPEN_BUTTON = (344 + 48, 248 + 12)           # "開く"
FIT_BOX = (338 + 8, 216 + 6)                 # "画面にフィット"
SHOW_TWELVE = (200 + 60, 256 + 12)           # "１２枚ずつ表示" of FrmSelect12
PICTURES = "/tmp/写真"
OUT_OF_THE_WAY = (1020, 4)                   # the pointer's place on the screen for every picture


def scene(index, width, height):
    """A landscape: a sky from one colour to another, a sun, two rows of hills."""
    hue = index * 0.61
    top = [int(90 + 80 * (0.5 + 0.5 * math.sin(hue + k * 2.1))) for k in range(3)]
    low = [min(255, c + 90) for c in top]
    sun_x, sun_y, sun_r = width * (0.2 + 0.06 * (index % 10)), height * 0.3, height * 0.09
    far = [int(40 + 60 * (0.5 + 0.5 * math.sin(hue + 1 + k))) for k in range(3)]
    near = [max(0, c - 35) for c in far]
    ridge_far = [height * (0.55 + 0.08 * math.sin(px / width * 6.3 + index))
                 for px in range(width)]
    ridge_near = [height * (0.72 + 0.06 * math.sin(px / width * 9.7 + 2 * index))
                  for px in range(width)]

    def colour(px, py):
        if py > ridge_near[px]:
            return tuple(near)
        if py > ridge_far[px]:
            return tuple(far)
        if (px - sun_x) ** 2 + (py - sun_y) ** 2 < sun_r ** 2:
            return (255, 214, 90)
        t = py / height
        return tuple(int(a + (b - a) * t) for a, b in zip(top, low))
    return colour


def pointer_away():
    x.run(["xdotool", "mousemove", str(OUT_OF_THE_WAY[0]), str(OUT_OF_THE_WAY[1])])
    x.wait_until(lambda: x.pointer() == OUT_OF_THE_WAY, what="the pointer to move away")


def frame_shot(wid, name, folder):
    fx, fy, fw, fh = x.frame_rect(wid)
    return shot(name, folder, (fx, fy, fw, fh))


def shot(name, folder, rect=None):
    """Waits until the screen (or a part of it) stops changing, then saves it."""
    def look():
        image = x.screenshot()
        return image.crop(*rect) if rect else image
    x.settled(lambda: look().rgb, what="the screen to settle")
    path = os.path.join(folder, name)
    look().save_png(path)
    print("wrote", path)


def main(out):
    os.makedirs(out, exist_ok=True)
    # A fixed folder, so that the choosers' folder lists read the same in every run.
    pictures = PICTURES
    if os.path.exists(pictures):
        raise SystemExit("%s exists already: move it away first" % pictures)
    os.makedirs(pictures)
    try:
        take(out, pictures)
    finally:
        shutil.rmtree(pictures, ignore_errors=True)


def take(out, pictures):
    app = x.Tessary()
    # The first picture is larger than the screen; the others fill the grid's page.
    x.write_bmp(os.path.join(pictures, "p01.bmp"), 1600, 1000, scene(0, 1600, 1000))
    for i in range(2, 14):
        x.write_bmp(os.path.join(pictures, "p%02d.bmp" % i), 320, 240, scene(i, 320, 240))
    app.write_settings(x.settings_bytes(pictures, pictures, pictures, "5", 1, 0, 1))
    with app:

        control = app.wait_for_control_window()
        pointer_away()
        frame_shot(control, "control-window.png", out)

        x.click_control_button(control, "show1")
        chooser = app.wait_for_caption(x.CHOOSER_CAPTION)
        x.wait_until(lambda: x.is_viewable(chooser), what="the picture chooser")
        x.click(chooser, *FILE_LIST_FIRST_ENTRY)
        pointer_away()
        frame_shot(chooser, "chooser-single.png", out)

        x.click_control_button(control, "show12")
        folders = app.wait_for_caption(x.CHOOSER_CAPTION, exclude=(chooser,))
        x.wait_until(lambda: x.is_viewable(folders), what="the folder chooser")
        pointer_away()
        frame_shot(folders, "chooser-twelve.png", out)

        x.click(folders, *SHOW_TWELVE)
        app.wait_for_window(lambda wid: wid not in (control, chooser, folders), "the grid")
        pointer_away()
        shot("grid.png", out)

        x.click_control_button(control, "sld")
        setup = app.wait_for_caption(x.CHOOSER_CAPTION, exclude=(chooser, folders))
        x.wait_until(lambda: x.is_viewable(setup), what="the slideshow setup")
        pointer_away()
        frame_shot(setup, "chooser-slideshow.png", out)

        for name, untick in (("viewer-fitted.png", False), ("viewer-natural-size.png", True)):
            x.click_control_button(control, "show1")
            x.wait_until(lambda: x.is_viewable(chooser), what="the picture chooser")
            if untick:
                x.click(chooser, *FIT_BOX)
            x.click(chooser, *FILE_LIST_FIRST_ENTRY)
            x.click(chooser, *OPEN_BUTTON)
            viewer = app.wait_for_caption(x.VIEWER_CAPTION + "p01.bmp",
                                          exclude=(control, chooser, folders, setup))
            pointer_away()
            shot(name, out)
            x.click(viewer, 500, 400)
            app.wait_hidden(viewer)

        x.close_window(control)
        if app.wait_exit() != 0:
            raise x.HarnessError("the program ended with an error:\n" + app.log())


if __name__ == "__main__":
    main(sys.argv[1])
