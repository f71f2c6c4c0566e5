"""What only a real X server with a window manager shows: the control window's empty caption and
its place above every other window, the maximised viewer on the work area that openbox leaves
free, a slideshow driven by the real timer, and Tessary.ini as an orderly close writes it."""

import time
import unittest

import harness as x

GREEN = (0, 170, 60)
MAXIMISED = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}


class Desktop(unittest.TestCase):

    def test_control_window_above_the_maximised_viewer(self):
        with x.Tessary() as app:
            app.folder("home", [("a.bmp", (800, 600), GREEN)])  # a first run opens the home
            control = app.start().control()
            # No text in either name, so that the frame shows none (not even the program's name).
            names = x.text("xprop", "-id", str(control), "-notype", "WM_NAME", "_NET_WM_NAME")
            nothing = r"( = |:  not found\.)\n"
            self.assertRegex(names, "^WM_NAME" + nothing + "_NET_WM_NAME" + nothing + "$")
            self.assertIn("_NET_WM_STATE_ABOVE", x.state(control))
            x.click(control, x.CONTROL["show1"])
            chooser = app.captioned(x.CHOOSER_CAPTION)
            self.assertAbove(control, chooser)
            x.click(chooser, x.FIRST_FILE)
            x.click(chooser, x.PICTURE_OPEN)
            viewer = app.captioned(x.VIEWER_CAPTION + "a.bmp")
            x.wait_until(lambda: MAXIMISED <= x.state(viewer), "the viewer maximised")
            left, top, width, height = x.geometry(viewer)  # under a title bar, no borders
            self.assertEqual((left, width, top + height), (0, x.WORK_AREA[2], x.WORK_AREA[3]))
            self.assertAbove(control, viewer)

            # The viewer fits pictures to 1024 x 722, the work area less 16 pixels at its bottom.
            # At natural size 800 x 600 is centred on (512, 361), so at (112, 61).
            self.assertPixels(viewer, GREEN, inside=[(112, 61), (911, 660)],
                              outside=[(111, 61), (112, 60), (912, 660), (911, 661)])
            # Fitted, 962 x 722 at (31, 0), cut off at the client area's bottom.
            x.click(viewer, (500, 300, 0, 0))
            x.wait_until(lambda: viewer not in [w.id for w in app.windows()], "the viewer hidden")
            x.click(chooser, x.PICTURE_FIT)
            x.click(chooser, x.PICTURE_OPEN)
            self.assertPixels(viewer, GREEN, inside=[(31, 0), (992, 0), (500, 400)],
                              outside=[(30, 300), (993, 300)])

            self.assertEqual(app.end(), [0])
            self.assertEqual(app.ini.read_bytes(),
                             x.settings(app.home, app.home, app.home, "7", 0, 0, 1))

    def test_slideshow_steps_by_itself_each_second_and_ends(self):
        with x.Tessary() as app:
            slides = app.folder("slides", [("s%d.bmp" % i, (64, 48), GREEN) for i in (1, 2, 3)])
            ini = x.settings(slides, app.home, slides, "1", 0, 0, 1)
            app.write_settings(ini)
            control = app.start().control()
            x.click(control, x.CONTROL["sld"])
            x.click(app.captioned(x.CHOOSER_CAPTION), x.SLIDES_START)
            viewer = app.wait_window(lambda w: w.caption.startswith(x.VIEWER_CAPTION), "a slide")
            seen = []  # (caption, when first seen); None once the viewer is hidden

            def ended():
                now = next((w.caption for w in app.windows() if w.id == viewer), None)
                if not seen or seen[-1][0] != now:
                    seen.append((now, time.monotonic()))
                return now is None
            x.wait_until(ended, "the end of the show", timeout=30, interval=0.02)
            captions = [x.VIEWER_CAPTION + "s%d.bmp" % i for i in (1, 2, 3)] + [None]
            self.assertEqual([c for c, _ in seen], captions)
            # s1 came before the viewer was found; from s2 to the end are two intervals of 1 s.
            self.assertTrue(1.5 < seen[3][1] - seen[1][1] < 3.5, seen)

            # The settings this start read come back unchanged.
            self.assertEqual(app.end(), [0])
            self.assertEqual(app.ini.read_bytes(), ini)

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
        except AssertionError:
            self.fail("%s expected at %s, not at %s; seen %s" % (colour, inside, outside, seen))


if __name__ == "__main__":
    x.main()
