"""The slideshow in the real program under a real X server: started from the setup window, it
steps through the folder by itself at the interval, pauses and resumes with "停止"/"再開",
ends after the last picture without repeat, and the settings come back out unchanged."""

import os
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as x  # noqa: E402

START_BUTTON = (344 + 52, 248 + 12)  # "スライドショー" of FrmSelectSld, client pixels
SLIDES = [("s1.bmp", (200, 150), (0, 170, 60)),
          ("s2.bmp", (640, 480), (20, 60, 200)),
          ("s3.bmp", (120, 300), (210, 40, 160))]
# Generous: the show steps every second; the waits only bound a stuck program.
STEP_TIMEOUT = 10.0


def caption_of(index):
    return x.VIEWER_CAPTION + SLIDES[index][0]


def button_look(control):
    """The pixels of the control window's stop/resume button, its caption among them."""
    left, top, _, _ = x.geometry(control)
    y0, y1 = x.CONTROL_BUTTONS["brksld"]
    return x.screenshot().crop(left, top + y0, x.CONTROL_SIZE[0], y1 - y0).rgb


class SlideshowTest(unittest.TestCase):

    def setUp(self):
        self.app = x.Tessary()
        self.slides = self.app.folder_of_pictures("slides", SLIDES)
        # Slideshow folder with three pictures, interval 1 s, no repeat, no random, fitted.
        self.settings = x.settings_bytes(self.app.home, self.app.home, self.slides, "1", 0, 0, 1)
        self.app.write_settings(self.settings)

    def tearDown(self):
        self.app.close()

    def start_show(self):
        app = self.app
        control = app.wait_for_control_window()
        x.click_control_button(control, "sld")
        setup = app.wait_for_caption(x.CHOOSER_CAPTION)
        self.assertEqual(x.geometry(setup)[2:], (463, 326))
        x.wait_until(lambda: x.is_viewable(setup), what="the setup window")
        x.click(setup, *START_BUTTON)
        viewer = app.wait_for_window(
            lambda wid: wid not in (control, setup) and x.caption(wid).startswith(x.VIEWER_CAPTION),
            "the viewer")
        return control, setup, viewer

    def watch_captions(self, viewer, until, timeout):
        """Follows the viewer's caption until until(captions seen) holds; returns the distinct
        captions in the order they appeared (an unmapped viewer shows as None)."""
        seen = []

        def probe():
            now = x.caption(viewer) if x.is_viewable(viewer) else None
            if not seen or seen[-1] != now:
                seen.append(now)
            return until(seen)
        try:
            x.wait_until(probe, timeout, "the slideshow", interval=0.03)
        except x.HarnessError as error:
            self.fail("%s; captions seen: %r" % (error, seen))
        return seen

    def test_show_steps_by_itself_and_ends(self):
        app = self.app
        with app:
            control, setup, viewer = self.start_show()

            # The first picture at once, then each next one after the interval, then the end of
            # the show (no repeat) hides the viewer.
            seen = self.watch_captions(viewer, lambda s: s[-1] is None, 4 * STEP_TIMEOUT)
            self.assertEqual(seen, [caption_of(0), caption_of(1), caption_of(2), None])
            self.assertTrue(app.running())
            self.assertIn(setup, app.windows())

            # The show ended with "停止" disabled: a click on it starts nothing.
            x.click_control_button(control, "brksld")
            self.assertTrue(x.holds_for(lambda: viewer not in app.windows(), 1.5))

            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())
            self.assertEqual(app.read_settings(), self.settings)

    def test_pause_and_resume(self):
        app = self.app
        with app:
            control, setup, viewer = self.start_show()
            self.watch_captions(viewer, lambda s: caption_of(1) in s, STEP_TIMEOUT)

            # "停止": the button turns into "再開", and the picture on show stays, well beyond
            # the interval.
            x.move_pointer(control, *x.control_button_centre("brksld"))
            before = x.settled(lambda: button_look(control), what="the stop button under the pointer")
            x.click_control_button(control, "brksld")
            x.wait_until(lambda: button_look(control) != before,
                         what="the stop button to change its caption")
            paused = x.caption(viewer)
            paused_look = x.settled(lambda: button_look(control), what="the paused stop button")
            self.assertIn(paused, (caption_of(1), caption_of(2)))
            self.assertTrue(x.holds_for(lambda: x.is_viewable(viewer) and x.caption(viewer) == paused,
                                        3.0),
                            "the paused show moved on: %r" % x.caption(viewer))

            # "再開": the button reads "停止" again, and the show goes on from the paused picture
            # and ends after the last one.
            x.click_control_button(control, "brksld")
            x.wait_until(lambda: button_look(control) != paused_look,
                         what="the stop button to change its caption back")
            seen = self.watch_captions(viewer, lambda s: s[-1] is None, 3 * STEP_TIMEOUT)
            expected = [caption_of(1), caption_of(2), None] if paused == caption_of(1) \
                else [caption_of(2), None]
            self.assertEqual(seen, expected)

            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())
            self.assertEqual(app.read_settings(), self.settings)


if __name__ == "__main__":
    unittest.main(verbosity=2)
