"""The package on a desktop, as a new user meets it: Tessary made the default for JPEG with
xdg-mime, xdg-open shows an Adobe RGB photo in its true colours (after a run that was killed left
its socket behind), a second xdg-open shows another photo in the same program; and under weston
with XWayland the control window is an X window. Standalone: wmctrl, xdotool and import."""

import glob, os, re, shutil, signal, subprocess, tempfile, time, unittest

PROFILES = "/usr/share/color/icc/colord/"


def run(*args, env=None, timeout=300):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)


def until(probe, what, timeout=30):
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.2)
    return value


def windows(env):
    """(pid, caption) of every window the window manager shows."""
    rows = [line.split(None, 4) + [""] for line in run("wmctrl", "-lp", env=env).stdout.splitlines()]
    return [(int(row[2]), row[4]) for row in rows]


class DesktopTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tessary-desktop-")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        home, runtime = os.path.join(self.work, "home"), os.path.join(self.work, "run")
        os.makedirs(home)
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config",
                        XDG_DATA_HOME=home + "/.local/share", XDG_RUNTIME_DIR=runtime)

    def start(self, *args, env=None):
        program = subprocess.Popen(args, env=env or self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        self.addCleanup(lambda: program.poll() is None and os.killpg(program.pid, signal.SIGKILL))
        return program

    def test_xdg_open_shows_each_photo_in_one_program(self):
        build = os.environ.get("TESSARY_BUILD_DIR", "")
        if not os.path.isfile(os.path.join(build, "CPackConfig.cmake")) or not shutil.which("xdg-open"):
            self.skipTest("needs TESSARY_BUILD_DIR and xdg-utils")
        run("cpack", "-G", "DEB", "--config", build + "/CPackConfig.cmake", "-B", self.work)
        root = os.path.join(self.work, "root")
        run("dpkg-deb", "-x", glob.glob(self.work + "/tessary_*.deb")[0], root)
        self.env.update(PATH=root + "/usr/bin:" + os.environ["PATH"],
                        XDG_DATA_DIRS=root + "/usr/share:/usr/share")
        photo, other = self.work + "/photo.jpg", self.work + "/other.jpg"
        run("convert", "-size", "400x300", "xc:rgb(40,200,60)", "-profile", PROFILES + "sRGB.icc",
            "-profile", PROFILES + "AdobeRGB1998.icc", photo)
        run("convert", "-size", "400x300", "xc:red", other)
        run("xdg-mime", "default", "tessary.desktop", "image/jpeg", env=self.env)

        killed = self.start("tessary")
        until(lambda: killed.pid in dict(windows(self.env)), "the first run's control window")
        killed.send_signal(signal.SIGKILL)
        killed.wait()
        first = self.start("xdg-open", photo)
        until(lambda: any(c.endswith("photo.jpg") for _, c in windows(self.env)), "photo.jpg")
        time.sleep(1)
        pixel = run("import", "-window", "root", "-crop", "1x1+512+360", "-depth", "8", "txt:-").stdout
        rgb = [int(v) for v in re.search(r"\((\d+),(\d+),(\d+)", pixel).groups()]
        self.assertTrue(all(abs(a - b) <= 6 for a, b in zip(rgb, (40, 200, 60))), pixel)
        self.assertEqual(run("xdg-open", other, env=self.env, timeout=20).returncode, 0)
        until(lambda: any(c.endswith("other.jpg") for _, c in windows(self.env)), "other.jpg")
        captions = windows(self.env)
        self.assertEqual(len({pid for pid, _ in captions}), 1, captions)
        self.assertEqual([c for _, c in captions].count(""), 1, captions)  # one control window
        self.assertIsNone(first.poll())

    def test_under_weston_with_xwayland_the_control_window_is_an_x_window(self):
        if not shutil.which("weston") or not shutil.which("Xwayland"):
            self.skipTest("needs weston and xwayland")
        env = dict(self.env, WAYLAND_DISPLAY="tessary-wayland", XDG_SESSION_TYPE="wayland")
        env.pop("DISPLAY", None)
        log = os.path.join(self.work, "weston.log")
        self.start("sh", "-c", "exec weston --backend=headless-backend.so --xwayland "
                   "--socket=tessary-wayland --idle-time=0 >%s 2>&1" % log, env=env)
        listening = lambda: os.path.exists(log) and re.findall(r"display (:\d+)", open(log).read())
        env["DISPLAY"] = until(listening, "weston's X server")[0]
        program = self.start(os.environ["TESSARY_BINARY"], env=env)
        until(lambda: run("xdotool", "search", "--onlyvisible", "--pid", str(program.pid),
                          env=env).stdout, "an X window of the program")


if __name__ == "__main__":
    unittest.main(verbosity=2)
