"""Start-up and shutdown of the real program in a real X server: the control window, the first
chooser, and the settings file written by an orderly close on a first run."""

import os
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as x  # noqa: E402


class StartupTest(unittest.TestCase):

    def test_first_run_control_window_chooser_and_settings(self):
        with x.Tessary() as app:
            control = app.wait_for_control_window()

            # Nothing but the control window is on screen, and it stays that way.
            self.assertTrue(x.holds_for(lambda: app.windows() == [control], 1.0),
                            "windows on screen: %r" % app.windows())

            # 41 x 241 client pixels, asks to stay above the other windows.
            self.assertEqual(x.geometry(control)[2:], (41, 241))
            self.assertIn("_NET_WM_STATE_ABOVE", x.net_wm_state(control))

            cx, cy, cw, ch = x.frame_rect(control)
            x.save_screenshot(x.screenshot().crop(cx, cy, cw, ch), "control-window.png")

            # "１枚" maps the picture file chooser; the control window stays on screen, on top.
            x.click_control_button(control, "show1")
            chooser = app.wait_for_caption(x.CHOOSER_CAPTION)
            self.assertEqual(x.geometry(chooser)[2:], (449, 321))
            self.assertEqual(sorted(app.windows()), sorted([control, chooser]))
            stacking = x.stacking_order()
            self.assertLess(stacking.index(chooser), stacking.index(control),
                            "the control window must stay above the chooser: %r" % stacking)

            x.wait_until(lambda: _painted(chooser), what="the chooser to be painted")
            fx, fy, fw, fh = x.frame_rect(chooser)
            x.save_screenshot(x.screenshot().crop(fx, fy, fw, fh), "picture-file-chooser.png")

            # Closing the control window ends the program at once, with status 0.
            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())

            # First run, closed at once: the home folder three times, interval 7, no options.
            expected = x.settings_bytes(app.home, app.home, app.home, "7", 0, 0, 0)
            self.assertEqual(app.read_settings(), expected)

    def test_control_window_has_no_caption_text(self):
        # Neither the ICCCM name nor the EWMH name may carry text: the window manager would
        # show it in the frame (a toolkit default such as the program's name included).
        with x.Tessary() as app:
            control = app.wait_for_control_window()
            self.assertEqual(x.wm_name(control) or "", "", "WM_NAME of the control window")
            self.assertEqual(x.net_wm_name(control) or "", "",
                             "_NET_WM_NAME of the control window")
            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())

    def test_closing_with_the_chooser_open_keeps_the_folder_written(self):
        # A second run reads what the first wrote back unchanged, with a chooser open at the end.
        with x.Tessary() as first:
            settings = x.settings_bytes(first.home, first.home, first.home, "12", 1, 0, 1)
            first.write_settings(settings)
            control = first.wait_for_control_window()
            x.click_control_button(control, "sld")
            first.wait_for_caption(x.CHOOSER_CAPTION)
            x.close_window(control)
            self.assertEqual(first.wait_exit(), 0, first.log())
            self.assertEqual(first.read_settings(), settings)


def _painted(wid):
    """True once the window's client area is no longer one flat colour."""
    gx, gy, gw, gh = x.geometry(wid)
    image = x.screenshot().crop(gx, gy, gw, gh)
    return len({image.pixel(px, py) for px in range(0, gw, 7) for py in range(0, gh, 7)}) > 2


if __name__ == "__main__":
    unittest.main(verbosity=2)
