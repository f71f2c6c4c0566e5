"""Opened from the desktop. The .deb's menu entry made the default for JPEG with xdg-mime,
xdg-open shows an Adobe RGB photo in its true colours (though a killed run left its socket), and
a second xdg-open shows another photo in the same program; under weston with XWayland the
control window is an X window."""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import unittest

import harness as x

ICC = "/usr/share/color/icc/colord/"


class OpenWith(unittest.TestCase):

    def test_xdg_open_shows_each_photo_in_one_program(self):
        if not shutil.which("xdg-open"):
            self.skipTest("needs xdg-utils")
        with tempfile.TemporaryDirectory() as root:
            x.run("cpack", "-G", "DEB", "--config", os.environ["TESSARY_BUILD_DIR"] +
                  "/CPackConfig.cmake", "-B", root, timeout=120)
            x.run("dpkg-deb", "-x", glob.glob(root + "/tessary_*.deb")[0], root)
            with x.Tessary(installed=root + "/usr/bin/tessary") as app:
                env = dict(PATH=root + "/usr/bin:" + os.environ["PATH"],
                           XDG_DATA_DIRS=root + "/usr/share:/usr/share")
                photo, other = str(app.root / "photo.jpg"), str(app.root / "other.jpg")
                x.run("convert", "-size", "400x300", "xc:rgb(40,200,60)", "-profile",
                      ICC + "sRGB.icc", "-profile", ICC + "AdobeRGB1998.icc", photo)
                x.run("convert", "-size", "400x300", "xc:red", other)
                app.start(env=env).control()
                x.kill(app.processes)  # its socket stays behind
                app.program = "xdg-mime"
                self.assertEqual(app.start("default", "tessary.desktop", "image/jpeg",
                                           env=env).processes[-1].wait(20), 0)
                app.program = "xdg-open"
                app.start(photo, env=env)
                viewer = self.shown("photo.jpg")
                left, top = x.geometry(viewer)[:2]  # the photo at natural size, centred
                x.wait_until(lambda: all(abs(a - b) <= 6 for a, b in zip(x.Grab().pixel(
                    left + 512, top + 361), (40, 200, 60))), "the photo in its true colours")
                self.assertEqual(app.start(other, env=env).processes[-1].wait(20), 0)
                self.shown("other.jpg")
                shown = x.managed()
                self.assertEqual(len({w.pid for w in shown}), 1, shown)
                control = [w.id for w in shown if w.size == x.CONTROL_SIZE]
                self.assertEqual(len(control), 1, shown)
                x.run("wmctrl", "-i", "-c", str(control[0]))
                self.assertEqual(app.processes[-2].wait(20), 0)  # the first xdg-open

    def shown(self, name):
        return x.wait_until(lambda: next((w.id for w in x.managed() if w.caption.endswith(
            name)), None), name)

    def test_under_weston_with_xwayland_the_control_window_is_an_x_window(self):
        if not shutil.which("weston") or not shutil.which("Xwayland"):
            self.skipTest("needs weston and xwayland")
        with x.Tessary() as app:
            wayland = dict(WAYLAND_DISPLAY="tessary-wayland", XDG_SESSION_TYPE="wayland")
            log = open(app.root / "weston.log", "w+")
            weston = subprocess.Popen(
                ["weston", "--backend=headless-backend.so", "--xwayland", "--idle-time=0",
                 "--socket=tessary-wayland"], stdout=log, stderr=log,
                env={**{k: v for k, v in os.environ.items() if k != "DISPLAY"},
                     "XDG_RUNTIME_DIR": str(app.runtime)})
            self.addCleanup(x.kill, [weston])
            display = x.wait_until(lambda: re.findall(r"display (:\d+)", open(log.name).read()),
                                   "weston's X server")[0]
            pid = str(app.start(env=dict(wayland, DISPLAY=display)).processes[-1].pid)
            x.wait_until(lambda: x.text("env", "DISPLAY=" + display, "xdotool", "search",
                                        "--onlyvisible", "--pid", pid), "an X window")


if __name__ == "__main__":
    x.main()
