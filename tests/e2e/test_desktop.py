"""What needs a real X server and window manager: the captionless control window above the viewer
maximised on the work area; message boxes; a slideshow on the real timer; Tessary.ini at exit;
thumbnails shared with the desktop; the .deb opening photos by xdg-open in one program, in true
colours; XWayland."""
import hashlib, os, re, shutil, stat, subprocess, sys, tempfile, time, unittest, urllib.parse
try:
    from PIL import Image, PngImagePlugin
except ImportError:  # Debian's python3-pil is for Debian's python3
    if not sys.executable.startswith("/usr"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
import harness as x

GREEN = (0, 170, 60)
MAXIMISED = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}
ICC = "/usr/share/color/icc/colord/"
BLUE, MAGENTA = (40, 40, 200), (200, 40, 200)


class Desktop(unittest.TestCase):

    def test_control_window_above_the_maximised_viewer(self):
        with x.Tessary() as app:
            app.folder("home", [("a.bmp", (800, 600), GREEN)])  # a first run opens the home
            control = app.start().control()
            # No text in either name, so that the frame shows none (not even the program's name).
            names = x.text("xprop", "-id", str(control), "-notype", "WM_NAME", "_NET_WM_NAME")
            nothing = r"( = |:  not found\.)\n"
            self.assertRegex(names, "^WM_NAME" + nothing + "_NET_WM_NAME" + nothing + "$")
            self.assertIn("_NET_WM_STATE_ABOVE", self.state(control))
            x.click(control, x.CONTROL["show1"])
            chooser = app.captioned(x.CHOOSER_CAPTION)
            self.assertAbove(control, chooser)
            x.click(chooser, x.FIRST_FILE)
            x.click(chooser, x.PICTURE_OPEN)
            viewer = app.captioned(x.VIEWER_CAPTION + "a.bmp")
            x.wait_until(lambda: MAXIMISED <= self.state(viewer), "the viewer maximised")
            left, top, width, height = x.geometry(viewer)  # under a title bar, no borders
            self.assertEqual((left, width, top + height), (0, x.WORK_AREA[2], x.WORK_AREA[3]))
            self.assertAbove(control, viewer)
            self.assertEqual(app.end(), [0])

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
            self.assertEqual(app.end(), [0])
            self.assertEqual(app.ini.read_bytes(), ini)  # the settings read come back unchanged

    def test_a_picture_that_cannot_be_shown_is_reported_in_one_box_that_enter_closes(self):
        with x.Tessary() as app:
            (app.root / "bad.jpg").write_bytes(b"no picture in here")
            app.start(str(app.root / "bad.jpg")).control()
            box = app.captioned("Load Error")  # the viewer's; the chooser's preview leaves it
            x.run("xdotool", "windowactivate", "--sync", str(box), "key", "Return")
            boxes = lambda: [w for w in app.windows() if w.caption == "Load Error"]
            x.wait_until(lambda: not boxes(), "the box closed")
            time.sleep(0.5)  # a second box would follow at once
            self.assertEqual(boxes(), [])
            self.assertEqual(app.end(), [0])

    def test_thumbnails_are_shared_with_the_desktop(self):
        with x.Tessary() as app:
            ours, theirs = (app.folder(name, [("p%d.bmp" % i, (400, 300), colour) for i in (0, 1)])
                            for name, colour in (("ours", GREEN), ("theirs", BLUE)))
            uri = lambda path: "file://" + urllib.parse.quote(path)
            cached = lambda path: app.home / ".cache/thumbnails/normal" / (
                hashlib.md5(uri(path).encode()).hexdigest() + ".png")
            control = app.start(ours).control()  # the folder's first page
            for path in (ours + "/p0.bmp", ours + "/p1.bmp"):
                png = Image.open(x.wait_until(lambda: cached(path).is_file() and cached(path),
                                              path))
                modes = [stat.S_IMODE(os.stat(p).st_mode)
                         for p in (cached(path), cached(path).parent, cached(path).parent.parent)]
                self.assertEqual((png.size, [png.text.get("Thumb::" + k) for k in (
                    "URI", "MTime", "Size")], modes), ((128, 96), [uri(path), str(int(os.stat(
                        path).st_mtime)), str(os.stat(path).st_size)], [0o600, 0o700, 0o700]))
            keys = PngImagePlugin.PngInfo()  # a file manager's, of the other folder's first
            keys.add_text("Thumb::URI", uri(theirs + "/p0.bmp"))
            keys.add_text("Thumb::MTime", str(int(os.stat(theirs + "/p0.bmp").st_mtime)))
            Image.new("RGB", (128, 96), MAGENTA).save(cached(theirs + "/p0.bmp"), pnginfo=keys)
            app.start(theirs)  # handed over to the running program
            # The grid's client area: where it asks to be, moved by the frame as the control's.
            left, top = [a - b + c for a, b, c in zip(x.geometry(control)[:2], (20, 74), (80, 22))]
            near = lambda rgb, colour: all(abs(a - b) < 40 for a, b in zip(rgb, colour))
            x.wait_until(lambda: (lambda grab: near(grab.pixel(left + 56, top + 56), MAGENTA) and
                                  near(grab.pixel(left + 172, top + 56), BLUE))(x.Grab()),
                         "the file manager's thumbnail beside the one decoded")
            self.assertEqual(app.end(), [0, 0])

    def test_xdg_open_shows_each_photo_in_one_program_in_its_true_colours(self):
        if not shutil.which("xdg-open"):
            self.skipTest("needs xdg-utils")
        with tempfile.TemporaryDirectory() as root:
            x.run("dpkg-deb", "-x", x.package(root), root)
            with x.Tessary(installed=root + "/usr/bin/tessary") as app:
                env = dict(PATH=root + "/usr/bin:" + os.environ["PATH"],
                           XDG_DATA_DIRS=root + "/usr/share:/usr/share")
                photo, other = str(app.root / "photo.jpg"), str(app.root / "other.jpg")
                x.run("convert", "-size", "400x300", "xc:rgb(40,200,60)", "-profile",
                      ICC + "sRGB.icc", "-profile", ICC + "AdobeRGB1998.icc", photo)
                x.run("convert", "-size", "400x300", "xc:red", other)
                app.start(env=env).control()
                x.kill(app.processes)  # its socket stays behind
                mime = app.start("default", "tessary.desktop", "image/jpeg", env=env,
                                 program="xdg-mime")
                self.assertEqual(mime.processes[-1].wait(20), 0)
                app.start(photo, env=env, program="xdg-open")
                left, top = x.geometry(x.shown("photo.jpg"))[:2]  # natural size, centred
                x.wait_until(lambda: all(abs(a - b) <= 6 for a, b in zip(x.Grab().pixel(
                    left + 512, top + 361), (40, 200, 60))), "the photo in its true colours")
                self.assertEqual(app.start(other, env=env, program="xdg-open").processes[-1]
                                 .wait(20), 0)
                x.shown("other.jpg")
                windows = x.managed()
                control = [w.id for w in windows if w.size == x.CONTROL_SIZE]
                self.assertEqual((len({w.pid for w in windows}), len(control)), (1, 1), windows)
                x.run("wmctrl", "-i", "-c", str(control[0]))
                self.assertEqual(app.processes[-2].wait(20), 0)  # the first xdg-open

    def test_under_weston_with_xwayland_the_control_window_is_an_x_window(self):
        if not shutil.which("weston") or not shutil.which("Xwayland"):
            self.skipTest("needs weston and xwayland")
        with x.Tessary() as app:
            with open(app.root / "weston.log", "w") as log:
                weston = subprocess.Popen(
                    ["weston", "--backend=headless-backend.so", "--xwayland", "--idle-time=0",
                     "--socket=tessary-wayland"], stdout=log, stderr=log,
                    env={**{k: v for k, v in os.environ.items() if k != "DISPLAY"},
                         "XDG_RUNTIME_DIR": str(app.runtime)})
            self.addCleanup(x.kill, [weston])
            display = x.wait_until(lambda: re.findall(r"display (:\d+)", (
                app.root / "weston.log").read_text()), "weston's X server")[0]
            pid = str(app.start(env=dict(WAYLAND_DISPLAY="tessary-wayland", DISPLAY=display,
                                         XDG_SESSION_TYPE="wayland")).processes[-1].pid)
            x.wait_until(lambda: x.text("env", "DISPLAY=" + display, "xdotool", "search",
                                        "--onlyvisible", "--pid", pid), "an X window")

    def state(self, wid):
        return set(re.findall(r"_NET_WM_STATE_\w+", x.text("xprop", "-id", str(wid),
                                                          "_NET_WM_STATE")))

    def assertAbove(self, control, other):
        order = x.stacking()
        self.assertLess(order.index(other), order.index(control), "stacking %s" % order)


if __name__ == "__main__":
    x.main()
