"""The .deb built by CPack, clean for lintian, installed, its menu entry and software centre
metainfo valid, started from its menu entry, purged whatever failed; installed, the program keeps
its settings in ~/.config/tessary."""

import glob, os, shlex, shutil, signal, tempfile, unittest
import xml.etree.ElementTree as ET

import harness as x

ENTRY = "/usr/share/applications/tessary.desktop"
METAINFO = "/usr/share/metainfo/example.c_seed_dda7f602.tessary.metainfo.xml"


class Package(unittest.TestCase):

    def test_package_installs_starts_and_purges(self):
        if os.geteuid() != 0 or b"ok installed" in x.run("dpkg-query", "-W", "-f=${Status}",
                                                         "tessary", check=False):
            self.skipTest("installing needs root, and a Tessary not installed already")
        # An alarm interrupts any step in time for the purge, before ctest's timeout (900 s, of
        # which up to 250 s waiting for another package test).
        signal.signal(signal.SIGALRM, signal.default_int_handler)
        signal.alarm(200)
        with tempfile.TemporaryDirectory() as work:
            deb = x.package(work)
            x.run("lintian", "--fail-on", "error,warning", deb, timeout=120)
            try:
                x.run("dpkg", "-i", deb, timeout=60)
                self.assertEqual(x.run("desktop-file-validate", ENTRY), b"")
                # Any error, warning or info fails, but the id's domain, under .example, is one
                # AppStream cannot know.
                x.run("appstreamcli", "validate", "--no-net", "--strict",
                      "--override=cid-maybe-not-rdns=pedantic", METAINFO)
                version = x.run("dpkg-query", "-W", "-f=${Version}", "tessary").decode()
                self.assertEqual(ET.parse(METAINFO).find("releases/release").get("version"),
                                 version.rsplit("-", 1)[0], "the newest release in the metainfo")
                icons = glob.glob("/usr/share/icons/hicolor/*/apps/tessary.*")
                self.assertEqual(len(icons), 9, "eight sizes of PNG and the SVG")
                with open(ENTRY) as f:
                    command = next(shlex.split(line[5:]) for line in f if line[:5] == "Exec=")
                program = shutil.which(command[0])
                self.assertEqual(program, "/usr/bin/tessary")
                with x.Tessary(installed=program) as app:
                    self.assertKeepsItsSettings(app, *[w for w in command[1:] if w[0] != "%"])
                self.assertFalse(os.path.exists("/usr/bin/Tessary.ini"))
            finally:
                signal.alarm(0)
                x.run("dpkg", "--purge", "tessary", timeout=60)
        for path in ("/usr/bin/tessary", ENTRY, METAINFO, "/usr/share/doc/tessary"):
            self.assertFalse(os.path.exists(path), path + " is left after the purge")

    def assertKeepsItsSettings(self, app, *args):
        """A first run writes the defaults; the next one writes the user's file back as it was."""
        for ini in (None, x.settings(app.home, app.home, app.home, "12", 1, 0, 1)):
            if ini:
                app.write_settings(ini)
            self.assertEqual(app.start(*args).end()[-1], 0)
            self.assertEqual(app.ini.read_bytes(),
                             ini or x.settings(app.home, app.home, app.home, "7", 0, 0, 0))


if __name__ == "__main__":
    x.main()
