"""The Windows program under Wine, on a real X server with openbox: the captionless control
window above the others and the viewer on the work area; a drive mapped to a missing folder; later
starts handing their paths over the named pipe, one a picture on a network share; Tessary.ini
beside tessary.exe, its folders with backslashes in Shift-JIS (CP932), read back at the next
start; the installer and its uninstaller."""
import os, re, subprocess, unittest
from pathlib import Path
import harness as x

GRID = " Orlin-Tessary     クリック→開く   Enter→次画面   Backspace→前画面"
EXE, WINE_RUN, PREFIX = (Path(os.environ[v]) for v in (
    "TESSARY_BINARY", "TESSARY_WINE_RUN", "WINEPREFIX"))


def wine(*args):  # a Windows program of the build folder or the prefix; its status
    return subprocess.run([WINE_RUN, *args], **x.QUIET, timeout=120).returncode


def registry():  # the machine's, as Wine writes it once its last program has ended
    subprocess.run(["/usr/lib/wine/wineserver", "-w"], timeout=60)  # drives are read anew then
    return (PREFIX / "system.reg").read_bytes()


class WindowsUnderWine(unittest.TestCase):

    def test_a_later_start_shows_its_path_and_the_settings_are_the_systems(self):
        ini = EXE.parent / "Tessary.ini"
        ini.unlink(missing_ok=True)  # a first run: every chooser on C:\
        self.addCleanup(ini.unlink, missing_ok=True)
        with x.Tessary(installed=EXE) as app:
            folder = app.folder("写真", [("a.bmp", (80, 60), (0, 170, 60))])
            # The first run in a new Wine prefix makes it first.
            control = app.start(EXE, program=WINE_RUN).control(120)
            names = x.text("xprop", "-id", str(control), "-notype", "WM_NAME", "_NET_WM_NAME")
            self.assertNotRegex(names, r'"\S')  # the frame shows no caption
            self.assertIn("_NET_WM_STATE_ABOVE", x.text("xprop", "-id", str(control)))
            self.assertEqual(app.end(), [0])
            (PREFIX / "dosdevices/r:").unlink(missing_ok=True)
            (PREFIX / "dosdevices/r:").symlink_to(PREFIX / "gone")  # a network drive gone
            share = PREFIX / "dosdevices/unc/tessary/pictures"  # \\tessary\pictures
            share.parent.mkdir(parents=True, exist_ok=True), share.unlink(missing_ok=True)
            share.symlink_to(Path(folder).parent)
            registry()
            control = app.start(EXE, program=WINE_RUN).control(60)
            x.click(control, x.CONTROL["show1"])
            x.click(app.captioned(x.CHOOSER_CAPTION), x.DRIVE_LIST)  # c:, r:, z:
            x.run("xdotool", "key", "r", "Return")
            box = app.captioned("Read Error.")  # "Drive is not ready."
            x.run("xdotool", "windowactivate", "--sync", str(box), "key", "Return")
            shown = "Z:" + folder.replace("/", "\\")
            app.start(EXE, shown, program=WINE_RUN)
            grid = app.captioned(GRID)
            self.assertLess(x.stacking().index(grid), x.stacking().index(control))
            on_share = "\\\\tessary\\pictures\\写真"  # as Explorer hands it over
            app.start(EXE, on_share + "\\a.bmp", program=WINE_RUN)
            viewer = app.captioned(x.VIEWER_CAPTION + "a.bmp")
            x.wait_until(lambda: x.geometry(viewer)[2] == x.WORK_AREA[2], "the viewer maximised")
            left, top, width, height = x.geometry(viewer)  # under a title bar, no borders
            self.assertEqual((left, width, top + height), (0, x.WORK_AREA[2], x.WORK_AREA[3]))
            self.assertLess(x.stacking().index(viewer), x.stacking().index(control))
            self.assertEqual(app.end(), [0] * 4)  # the later two handed over, and ended
            lines = [f.encode("cp932") + b"\\\n" for f in (on_share, shown, "C:")] + [b"7"]
            lines += [b"0\n"] * 3
            written = b"".join(line + b"\r\n" for line in lines)
            self.assertEqual(ini.read_bytes(), written)
            app.start(EXE, program=WINE_RUN).control(60)  # a folder read wrongly: C:\ now
            self.assertEqual((app.end(), ini.read_bytes()), ([0] * 5, written))

    def test_the_installer_puts_tessary_in_program_files_and_the_settings_in_appdata(self):
        package = x.run("cpack", "-G", "NSIS", "--config", EXE.parent / "CPackConfig.cmake",
                        "-B", PREFIX / "drive_c/package", timeout=180)
        installer = re.search(r"package: (\S+\.exe) generated", package.decode()).group(1)
        appdata = "drive_c/users/*/AppData/Roaming/Tessary/Tessary.ini"
        for left in PREFIX.glob(appdata):
            left.unlink()  # by an earlier run
        self.assertEqual(wine(installer, "/S"), 0)
        self.assertIn(b'.jpeg\\\\OpenWithList\\\\tessary.exe]', registry())
        folder = PREFIX / "drive_c/Program Files/Tessary"
        menu = PREFIX / "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessary"
        self.assertTrue((menu / "Tessary.lnk").is_file())
        with x.Tessary(installed=folder / "tessary.exe") as app:
            app.start(folder / "tessary.exe", program=WINE_RUN).control(60)
            self.assertEqual(app.end(), [0])
        settings = list(PREFIX.glob(appdata))
        self.assertEqual((len(settings), (folder / "Tessary.ini").exists()), (1, False))
        self.assertEqual(wine(folder / "Uninstall.exe", "/S"), 0)
        self.assertNotIn(b"tessary.exe", registry())  # it runs from a copy: waited for
        self.assertEqual((folder.exists(), menu.exists(), settings[0].is_file()),
                         (False, False, True))


if __name__ == "__main__":
    x.main()
