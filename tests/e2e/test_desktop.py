"""The package on a desktop: made the default for JPEG with xdg-mime, xdg-open shows an Adobe
RGB photo in true colours (though a killed run left its socket), and a second xdg-open another
photo in the same program; under weston with XWayland the control window is an X window."""

import glob, os, re, shutil, signal, subprocess, tempfile, time, unittest

ICC = "/usr/share/color/icc/colord/"


def run(*args, env=None, timeout=300):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)


def until(probe, what):
    deadline = time.monotonic() + 30
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.2)
    return value


class DesktopTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tessary-desktop-")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        os.mkdir(self.work + "/run", 0o700)
        self.env = dict(os.environ, HOME=self.work, XDG_CONFIG_HOME=self.work + "/config",
                        XDG_DATA_HOME=self.work + "/data", XDG_RUNTIME_DIR=self.work + "/run")

    def tearDown(self):  # a sanitizer's report in any program's output fails the test
        for log in glob.glob(self.work + "/*.log"):
            self.assertNotRegex(open(log, errors="replace").read(), "ERROR: .*Sanitizer|runtime error:")

    def start(self, *args, env=None):
        log = open("%s/%d.log" % (self.work, len(glob.glob(self.work + "/*.log"))), "w")
        program = subprocess.Popen(args, env=env or self.env, stdout=log, stderr=log,
                                   start_new_session=True)
        self.addCleanup(lambda: program.poll() is None and os.killpg(program.pid, signal.SIGKILL))
        return program

    def windows(self):
        """(pid, caption) of each window the window manager shows."""
        rows = [(line.split(None, 4) + [""])[:5] for line in run("wmctrl", "-lp").stdout.splitlines()]
        return [(int(row[2]), row[4]) for row in rows]

    def test_xdg_open_shows_each_photo_in_one_program(self):
        build = os.environ.get("TESSARY_BUILD_DIR", "")
        if not os.path.isfile(build + "/CPackConfig.cmake") or not shutil.which("xdg-open"):
            self.skipTest("needs TESSARY_BUILD_DIR and xdg-utils")
        run("cpack", "-G", "DEB", "--config", build + "/CPackConfig.cmake", "-B", self.work)
        run("dpkg-deb", "-x", glob.glob(self.work + "/tessary_*.deb")[0], self.work + "/root")
        self.env.update(PATH=self.work + "/root/usr/bin:" + os.environ["PATH"],
                        XDG_DATA_DIRS=self.work + "/root/usr/share:/usr/share")
        photo, other = self.work + "/photo.jpg", self.work + "/other.jpg"
        run("convert", "-size", "400x300", "xc:#28c83c", "-profile", ICC + "sRGB.icc",
            "-profile", ICC + "AdobeRGB1998.icc", photo)
        run("convert", "-size", "400x300", "xc:red", other)
        run("xdg-mime", "default", "tessary.desktop", "image/jpeg", env=self.env)
        killed = self.start("tessary")
        until(lambda: killed.pid in dict(self.windows()), "the control window")
        killed.kill()
        first = self.start("xdg-open", photo)
        until(lambda: any(c.endswith("photo.jpg") for _, c in self.windows()), "photo.jpg")
        time.sleep(1)
        pixel = run("import", "-window", "root", "-crop", "1x1+512+360", "-depth", "8", "txt:-")
        rgb = re.search(r"\((\d+),(\d+),(\d+)", pixel.stdout).groups()
        self.assertTrue(all(abs(int(a) - b) <= 6 for a, b in zip(rgb, (40, 200, 60))), rgb)
        self.assertEqual(run("xdg-open", other, env=self.env, timeout=20).returncode, 0)
        until(lambda: any(c.endswith("other.jpg") for _, c in self.windows()), "other.jpg")
        shown = self.windows()  # one program, one control window (the one without a caption)
        self.assertEqual((len({pid for pid, _ in shown}), [c for _, c in shown].count("")), (1, 1))
        self.assertIsNone(first.poll(), "the first xdg-open waits for the program it started")

    def test_under_weston_with_xwayland_the_control_window_is_an_x_window(self):
        if not shutil.which("weston") or not shutil.which("Xwayland"):
            self.skipTest("needs weston and xwayland")
        env = dict(self.env, WAYLAND_DISPLAY="tessary-wayland", XDG_SESSION_TYPE="wayland")
        env.pop("DISPLAY", None)
        log = self.work + "/weston.out"
        self.start("sh", "-c", "exec weston --backend=headless-backend.so --xwayland "
                   "--socket=tessary-wayland --idle-time=0 >%s 2>&1" % log, env=env)
        display = lambda: os.path.exists(log) and re.findall(r"display (:\d+)", open(log).read())
        env["DISPLAY"] = until(display, "weston's X server")[0]
        program = self.start(os.environ["TESSARY_BINARY"], env=env)
        until(lambda: run("xdotool", "search", "--onlyvisible", "--pid", str(program.pid),
                          env=env).stdout, "an X window of the program")


if __name__ == "__main__":
    unittest.main(verbosity=2)
