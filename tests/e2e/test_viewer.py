"""Single-picture viewing in the real program under a real X server: the chooser opens a picture
in the viewer, the viewer's caption, Enter and Backspace, where the fitted picture lands on the
screen for the real work area, the picture at natural size, and the click that closes it."""

import math
import os
import struct
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as x  # noqa: E402

# FrmSelect1, client pixels.
FILE_LIST_FIRST_ENTRY = (184 + 30, 32 + 9)
OPEN_BUTTON = (344 + 48, 248 + 12)
FIT_BOX = (338 + 8, 216 + 6)

# Pictures of the folder, in list order: name, size, colour. Colours that the toolkit's own
# drawing never uses, so that the picture can be found on the screen by its colour.
PICTURES = [
    ("a_landscape.bmp", (800, 600), (0, 170, 60)),    # taller than the work area's ratio
    ("b_wide.bmp", (1600, 400), (20, 60, 200)),       # wider than the work area's ratio
    ("c_tall.bmp", (300, 500), (210, 40, 160)),       # much taller
]


def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def half_even(value):
    return int(round(value))  # Python rounds halves to even


def fitted_rect(sw, sh, w, h):
    """Where the viewer draws a sw x sh picture in its w x h box: (dx, dy, dw, dh)."""
    rp = f32(f32(sw) / f32(sh))
    rs = f32(w / h)
    if rs < rp:
        dw = w
        dh = f32(math.floor(sh / sw * w))
        return 0, half_even(h - dh) // 2, dw, int(dh)
    dh = h
    dw = f32(math.floor(sw / sh * h))
    return half_even(w - dw) // 2, 0, int(dw), dh


def natural_rect(sw, sh, w, h):
    """Where the viewer puts a sw x sh picture at natural size: (left, top, sw, sh)."""
    def halve(v):
        return int(v / 2)  # drops the remainder towards zero
    return halve(w) - halve(sw), halve(h) - halve(sh), sw, sh


def clip(rect, to):
    x0, y0 = max(rect[0], to[0]), max(rect[1], to[1])
    x1 = min(rect[0] + rect[2], to[0] + to[2])
    y1 = min(rect[1] + rect[3], to[1] + to[3])
    return x0, y0, x1 - x0, y1 - y0


class ViewerTest(unittest.TestCase):

    def setUp(self):
        self.app = x.Tessary()
        self.pictures = self.app.folder_of_pictures("pictures", PICTURES)
        # The picture chooser starts in the folder of pictures, with the fit option ticked.
        self.settings = x.settings_bytes(self.pictures, self.app.home, self.app.home, "7", 0, 0, 1)
        self.app.write_settings(self.settings)

    def tearDown(self):
        self.app.close()

    def expected_on_screen(self, viewer, index, fitted):
        """The rectangle of the screen that the picture must cover, and its colour."""
        _, (sw, sh), colour = PICTURES[index]
        _, _, area_w, area_h = x.work_area()
        w, h = area_w, area_h - x.WORK_BOTTOM_ALLOWANCE
        dx, dy, dw, dh = (fitted_rect if fitted else natural_rect)(sw, sh, w, h)
        client = x.geometry(viewer)
        rect = (client[0] + dx, client[1] + dy, dw, dh)
        screen = (0, 0) + x.screen_size()
        return clip(clip(rect, client), screen), colour

    def assert_picture_shown(self, viewer, index, fitted=True):
        """The picture lies, to within a pixel, where the arithmetic puts it on screen."""
        expected, colour = self.expected_on_screen(viewer, index, fitted)
        client = x.geometry(viewer)
        found = [None]

        def drawn():
            found[0] = x.screenshot().bounds_of(colour, region=client)
            return found[0] is not None and all(
                abs(a - b) <= 1 for a, b in zip(found[0], expected))
        try:
            x.wait_until(drawn, what="%s drawn at %r" % (PICTURES[index][0], expected))
        except x.HarnessError:
            self.fail("%s: expected on screen at %r (x, y, w, h), found its colour at %r"
                      % (PICTURES[index][0], expected, found[0]))
        return found[0]

    def viewer_caption(self, index):
        return x.VIEWER_CAPTION + PICTURES[index][0]

    def open_first_file(self, untick_fit=False):
        """"１枚", optionally untick "画面にフィット", the first file of the list, then "開く"."""
        control = self.app.wait_for_control_window()
        x.click_control_button(control, "show1")
        chooser = self.app.wait_for_caption(x.CHOOSER_CAPTION)
        x.wait_until(lambda: x.is_viewable(chooser), what="the chooser")
        if untick_fit:
            x.click(chooser, *FIT_BOX)
        x.click(chooser, *FILE_LIST_FIRST_ENTRY)
        x.click(chooser, *OPEN_BUTTON)
        viewer = self.app.wait_for_caption(self.viewer_caption(0), exclude=(chooser, control))
        return control, chooser, viewer

    def test_open_step_and_close(self):
        app = self.app
        with app:
            control, chooser, viewer = self.open_first_file()
            self.assertEqual(x.caption(viewer), self.viewer_caption(0))
            x.wait_until(lambda: {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}
                         <= x.net_wm_state(viewer), what="the viewer to be maximized")
            found = self.assert_picture_shown(viewer, 0)
            print("%s on screen at %r" % (PICTURES[0][0], found))
            x.save_screenshot(x.screenshot(), "viewer-fitted.png")

            # The control window stays above the viewer.
            stacking = x.stacking_order()
            self.assertLess(stacking.index(viewer), stacking.index(control))

            # Enter shows the next file, twice; the wide picture fills the width.
            x.key(viewer, "Return")
            x.wait_until(lambda: x.caption(viewer) == self.viewer_caption(1),
                         what="the caption of the second file")
            self.assert_picture_shown(viewer, 1)
            x.key(viewer, "Return")
            x.wait_until(lambda: x.caption(viewer) == self.viewer_caption(2),
                         what="the caption of the third file")
            self.assert_picture_shown(viewer, 2)

            # At the last file Enter does nothing: ">>" is disabled there.
            x.key(viewer, "Return")
            self.assertTrue(x.holds_for(lambda: x.caption(viewer) == self.viewer_caption(2)
                                        and x.is_viewable(viewer), 1.0),
                            "Enter at the last file changed the viewer: %r" % x.caption(viewer))

            # Backspace goes back one.
            x.key(viewer, "BackSpace")
            x.wait_until(lambda: x.caption(viewer) == self.viewer_caption(1),
                         what="the caption of the second file again")
            self.assert_picture_shown(viewer, 1)

            # A click on the picture closes (hides) the viewer; the program goes on.
            vx, vy, vw, vh = x.geometry(viewer)
            x.click(viewer, vw - 40, vh // 2)
            app.wait_hidden(viewer)
            self.assertTrue(app.running())
            self.assertIn(chooser, app.windows())

            # ">>" was disabled by the close: it does nothing now.
            x.click_control_button(control, "next1")
            self.assertTrue(x.holds_for(lambda: viewer not in app.windows(), 1.0),
                            "the disabled '>>' brought the viewer back")

            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())
            self.assertEqual(app.read_settings(), self.settings)

    def test_natural_size_after_unticking_fit(self):
        app = self.app
        with app:
            # Untick "画面にフィット" in the chooser: the viewer draws at natural size, centred on
            # the work area, and the option is saved unticked.
            control, chooser, viewer = self.open_first_file(untick_fit=True)
            self.assert_picture_shown(viewer, 0, fitted=False)
            x.save_screenshot(x.screenshot(), "viewer-natural-size.png")

            x.key(viewer, "Return")
            x.wait_until(lambda: x.caption(viewer) == self.viewer_caption(1),
                         what="the caption of the second file")
            self.assert_picture_shown(viewer, 1, fitted=False)

            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())
            self.assertEqual(app.read_settings(), x.settings_bytes(
                self.pictures, app.home, app.home, "7", 0, 0, 0))


if __name__ == "__main__":
    unittest.main(verbosity=2)
