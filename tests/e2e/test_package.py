"""The .deb as a user gets it: built by CPack, clean for lintian and desktop-file-validate,
installed with dpkg (as root, where Tessary is not installed yet; else unpacked into a scratch
root), started from its menu entry's command, and purged whatever step failed. Installed, or in
a folder its user cannot write, the program keeps Tessary.ini in ~/.config/tessary."""

import glob
import os
import shlex
import signal
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as x  # noqa: E402

ENTRY = "usr/share/applications/tessary.desktop"


def installed():
    return b"ok installed" in x.run("dpkg-query", "-W", "-f=${Status}", "tessary", check=False)


def too_long(*_):
    raise AssertionError("the package test took too long")


class Package(unittest.TestCase):

    def test_package_installs_starts_and_purges(self):
        into_machine = os.geteuid() == 0 and not installed()
        signal.signal(signal.SIGALRM, too_long)
        signal.alarm(200)  # ends any step in time for the purge, before ctest's timeout
        with tempfile.TemporaryDirectory() as work:
            x.run("cpack", "-G", "DEB", "--config", os.environ["TESSARY_BUILD_DIR"] +
                  "/CPackConfig.cmake", "-B", work, timeout=120)
            deb = glob.glob(work + "/tessary_*.deb")[0]
            x.run("lintian", "--fail-on", "error,warning", deb, timeout=120)
            x.run("dpkg-deb", "-x", deb, work + "/root")
            self.assertEqual(x.run("desktop-file-validate", work + "/root/" + ENTRY), b"")
            icons = glob.glob(work + "/root/usr/share/icons/hicolor/*/apps/tessary.*")
            self.assertEqual(len(icons), 9, "eight sizes of PNG and the SVG")
            root = "/" if into_machine else work + "/root"
            try:
                if into_machine:
                    x.run("dpkg", "-i", deb, timeout=60)
                with open(os.path.join(root, ENTRY)) as f:
                    command = next(shlex.split(line[5:]) for line in f if line[:5] == "Exec=")
                self.assertEqual(command[0], "tessary")
                with x.Tessary(installed=os.path.join(root, "usr/bin/tessary")) as app:
                    self.assertKeepsItsSettings(app, *[w for w in command[1:] if w[0] != "%"])
                self.assertFalse(os.path.exists(os.path.join(root, "usr/bin/Tessary.ini")))
            finally:
                signal.alarm(0)
                if into_machine:
                    x.run("dpkg", "--purge", "tessary", timeout=60)
        if into_machine:
            self.assertFalse(installed())
            for path in ("/usr/bin/tessary", "/" + ENTRY, "/usr/share/doc/tessary"):
                self.assertFalse(os.path.exists(path), path + " is left after the purge")

    def test_a_copy_in_a_folder_its_user_cannot_write(self):
        # Root writes every folder: the program runs as nobody then.
        user = (65534, 65534) if os.geteuid() == 0 else None
        with x.Tessary(user=user, read_only=True) as app:
            self.assertKeepsItsSettings(app)
            self.assertNotIn("Write Error", app.output())
            self.assertEqual(os.listdir(app.folder_of_program), ["tessary"])

    def assertKeepsItsSettings(self, app, *args):
        """A first run writes the defaults; the next start reads the file the user has and
        writes it back unchanged."""
        for ini in (None, x.settings(app.home, app.home, app.home, "12", 1, 0, 1)):
            if ini:
                app.write_settings(ini)
            x.close(app.start(*args).control())
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(app.read_settings(),
                             ini or x.settings(app.home, app.home, app.home, "7", 0, 0, 0))


if __name__ == "__main__":
    x.main()
