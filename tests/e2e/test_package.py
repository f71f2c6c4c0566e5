"""The .deb as a user gets it: built by CPack, clean for lintian and desktop-file-validate,
installed (into the machine when run as root and not installed yet, else into a scratch root),
started from its menu entry's Exec line, keeping the settings in the user's configuration
folder, and removed again without leaving anything behind. Also a copy of the program in a
folder its user cannot write."""

import glob
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as x  # noqa: E402

DESKTOP_ENTRY = "usr/share/applications/tessary.desktop"
NOBODY = (65534, 65534)


def run(args, **kwargs):
    done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300,
                          check=False, **kwargs)
    return done.returncode, done.stdout.decode("utf-8", "replace")


def installed_in_machine():
    status, out = run(["dpkg-query", "-W", "-f=${Status}", "tessary"])
    return status == 0 and "install ok installed" in out


def exec_line(entry):
    with open(entry, encoding="utf-8") as f:
        for line in f:
            if line.startswith("Exec="):
                return shlex.split(line[len("Exec="):].strip())
    raise AssertionError("%s has no Exec line" % entry)


class PackageTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        build = os.environ.get("TESSARY_BUILD_DIR")
        if not build or not os.path.isfile(os.path.join(build, "CPackConfig.cmake")):
            raise unittest.SkipTest("TESSARY_BUILD_DIR must name a configured build folder")
        cls.work = tempfile.mkdtemp(prefix="tessary-deb-")
        status, out = run(["cpack", "-G", "DEB", "--config",
                           os.path.join(build, "CPackConfig.cmake"), "-B", cls.work])
        if status != 0:
            raise AssertionError("cpack failed:\n" + out)
        cls.deb = glob.glob(os.path.join(cls.work, "tessary_*.deb"))[0]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_lintian_and_desktop_entry(self):
        status, out = run(["lintian", "--fail-on", "error,warning", self.deb])
        self.assertEqual(status, 0, "lintian:\n" + out)
        root = os.path.join(self.work, "contents")
        run(["dpkg-deb", "-x", self.deb, root])
        status, out = run(["desktop-file-validate", os.path.join(root, DESKTOP_ENTRY)])
        self.assertEqual((status, out.strip()), (0, ""), "desktop-file-validate")
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            self.assertTrue(os.path.isfile(os.path.join(
                root, "usr/share/icons/hicolor/%dx%d/apps/tessary.png" % (size, size))))
        self.assertTrue(os.path.isfile(os.path.join(
            root, "usr/share/icons/hicolor/scalable/apps/tessary.svg")))

    def test_installed_program_starts_from_its_menu_entry_and_keeps_the_settings(self):
        into_machine = os.geteuid() == 0 and not installed_in_machine()
        root = "/" if into_machine else os.path.join(self.work, "root")
        if into_machine:
            status, out = run(["dpkg", "-i", self.deb])
            self.assertEqual(status, 0, "dpkg -i:\n" + out)
        else:
            run(["dpkg-deb", "-x", self.deb, root])
        try:
            command = exec_line(os.path.join(root, DESKTOP_ENTRY))
            self.assertEqual(command, ["tessary", "%f"])
            executable = os.path.join(root, "usr/bin", command[0])
            if into_machine:
                self.assertEqual(shutil.which(command[0]), "/usr/bin/tessary")

            # First run as a new user: the choices land in ~/.config/tessary, not in usr/bin.
            with x.Tessary(installed=executable) as app:
                control = app.wait_for_control_window()
                x.close_window(control)
                self.assertEqual(app.wait_exit(), 0, app.log())
                self.assertEqual(app.read_settings(),
                                 x.settings_bytes(app.home, app.home, app.home, "7", 0, 0, 0))
                # The next start reads the user's file and writes it back unchanged.
                chosen = x.settings_bytes(app.home, app.home, app.home, "12", 1, 0, 1)
                self.assertRestartKeeps(app, chosen)
            self.assertFalse(os.path.exists(os.path.join(root, "usr/bin/Tessary.ini")))
        finally:
            if into_machine:
                status, out = run(["dpkg", "--purge", "tessary"])
                self.assertEqual(status, 0, "dpkg --purge:\n" + out)
        if into_machine:
            self.assertFalse(installed_in_machine())
            for path in ("/usr/bin/tessary", "/" + DESKTOP_ENTRY, "/usr/share/doc/tessary"):
                self.assertFalse(os.path.exists(path), path + " is left after removal")

    def assertRestartKeeps(self, app, chosen):
        """Starts the program on the settings chosen, closes it, and finds them written back."""
        app.write_settings(chosen)
        app.start()
        x.close_window(app.wait_for_control_window())
        self.assertEqual(app.wait_exit(), 0, app.log())
        self.assertEqual(app.read_settings(), chosen)

    def test_a_copy_in_a_folder_its_user_cannot_write(self):
        # Root writes every folder: the program runs as another user then.
        user = NOBODY if os.geteuid() == 0 else None
        with x.Tessary(user=user, read_only=True) as app:
            control = app.wait_for_control_window()
            x.close_window(control)
            self.assertEqual(app.wait_exit(), 0, app.log())
            self.assertNotIn("Write Error", app.log())
            chosen = x.settings_bytes(app.home, app.home, app.home, "3", 0, 1, 0)
            self.assertEqual(app.read_settings(),
                             x.settings_bytes(app.home, app.home, app.home, "7", 0, 0, 0))
            self.assertRestartKeeps(app, chosen)
            self.assertEqual(os.listdir(app.program_folder), ["tessary"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
