"""What only a real X server with a window manager shows: the control window's empty caption and
its place above every other window, the maximised viewer on the work area openbox leaves free,
a slideshow driven by the real timer, and Tessary.ini as an orderly close writes it."""

import os
import sys
import time
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as x  # noqa: E402

GREEN, BLUE, PINK = (0, 170, 60), (20, 60, 200), (210, 40, 160)


class Desktop(unittest.TestCase):

    def test_control_window_and_a_first_run(self):
        with x.Tessary() as app:
            control = app.start().control()
            # No text in either name, so that the frame shows none (not even the program's name).
            self.assertEqual(x.names(control), {"WM_NAME": "", "_NET_WM_NAME": ""})
            self.assertIn("_NET_WM_STATE_ABOVE", x.state(control))
            x.click(control, x.CONTROL["show12"])
            self.assertAbove(control, app.captioned(x.CHOOSER_CAPTION))
            x.close(control)
            self.assertEqual(app.wait_exit(), 0)
            # A first run saves the home folder for each chooser, interval 7, no option.
            home = app.home.encode()
            self.assertEqual(app.read_settings(), b"%s/\n\r\n%s/\n\r\n%s/\n\r\n7\r\n"
                             b"0\n\r\n0\n\r\n0\n\r\n" % (home, home, home))

    def test_maximised_viewer_fitted_and_at_natural_size(self):
        with x.Tessary() as app:
            folder = app.folder("pictures", [("a.bmp", (800, 600), GREEN)])
            app.write_settings(x.settings(folder, app.home, app.home, "5", 1, 0, 1))
            control = app.start().control()
            x.click(control, x.CONTROL["show1"])
            chooser = app.captioned(x.CHOOSER_CAPTION)
            x.click(chooser, x.FIRST_FILE)
            x.click(chooser, x.PICTURE_OPEN)
            viewer = app.captioned(x.VIEWER_CAPTION + "a.bmp", exclude=(chooser,))
            x.wait_until(lambda: {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}
                         <= x.state(viewer), "the viewer maximised")
            self.assertEqual(x.geometry(viewer, frame=True), x.WORK_AREA)
            self.assertAbove(control, viewer)

            # The work area is 1024 x 738 and the viewer keeps 16 pixels free at its bottom, so
            # pictures fit 1024 x 722 from the client area's top left. 800 x 600 fitted: 962 x 722
            # at (31, 0), cut at the client's bottom.
            self.assertPixels(viewer, GREEN, inside=[(31, 0), (992, 0), (500, 400)],
                              outside=[(30, 300), (993, 300)])
            # 800 x 600 at natural size: centred on 512, 361, so at (112, 61).
            x.click(viewer, (500, 300, 0, 0))
            x.wait_until(lambda: viewer not in [w.id for w in app.windows()], "the viewer hidden")
            x.click(chooser, x.PICTURE_FIT)
            x.click(chooser, x.PICTURE_OPEN)
            self.assertPixels(viewer, GREEN, inside=[(112, 61), (911, 660)],
                              outside=[(111, 61), (112, 60), (912, 660), (911, 661)])

            x.close(control)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(app.read_settings(),
                             x.settings(folder, app.home, app.home, "5", 1, 0, 0))

    def test_slideshow_steps_by_itself_each_second_and_ends(self):
        with x.Tessary() as app:
            slides = app.folder("slides", [("s1.bmp", (200, 150), GREEN),
                                           ("s2.bmp", (640, 480), BLUE),
                                           ("s3.bmp", (120, 300), PINK)])
            ini = x.settings(app.home, app.home, slides, "1", 0, 0, 1)
            app.write_settings(ini)
            control = app.start().control()
            x.click(control, x.CONTROL["sld"])
            setup = app.captioned(x.CHOOSER_CAPTION)
            x.click(setup, x.SLIDES_START)
            viewer = app.wait_window(lambda w: w.caption.startswith(x.VIEWER_CAPTION), "the viewer")
            seen = []  # (caption, when it was first seen); None once the viewer is hidden

            def ended():
                now = next((w.caption for w in app.windows() if w.id == viewer), None)
                if not seen or seen[-1][0] != now:
                    seen.append((now, time.monotonic()))
                return now is None
            x.wait_until(ended, "the end of the show", timeout=30, interval=0.02)
            self.assertEqual([c for c, _ in seen], [x.VIEWER_CAPTION + "s1.bmp",
                                                    x.VIEWER_CAPTION + "s2.bmp",
                                                    x.VIEWER_CAPTION + "s3.bmp", None])
            # The first picture came before the viewer was found: time the two steps after it.
            steps = [b - a for (_, a), (_, b) in zip(seen[1:], seen[2:])]
            self.assertTrue(all(step > 0.9 for step in steps), "steps of %s s" % steps)

            x.close(control)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(app.read_settings(), ini)

    def assertAbove(self, control, other):
        order = x.stacking()
        self.assertLess(order.index(other), order.index(control), "stacking %s" % order)

    def assertPixels(self, viewer, colour, inside, outside):
        """Points of the viewer's client area that show the colour, and points that do not."""
        left, top = x.geometry(viewer)[:2]
        seen = []

        def drawn():
            grab = x.Grab()
            seen[:] = [grab.pixel(left + px, top + py) for px, py in inside + outside]
            return [c == colour for c in seen] == [True] * len(inside) + [False] * len(outside)
        try:
            x.wait_until(drawn, "the picture")
        except x.HarnessError:
            self.fail("%s expected at %s, not at %s; seen %s" % (colour, inside, outside, seen))


if __name__ == "__main__":
    x.main()
