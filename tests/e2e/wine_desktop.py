"""The Windows program under Wine, on a real X server with openbox: the captionless control
window above the others; a later start handing its folder over the named pipe; Tessary.ini at
exit beside tessary.exe, its folders with backslashes in Shift-JIS (CP932)."""
import os, re, unittest
from pathlib import Path
import harness as x

GRID = " Orlin-Tessary     クリック→開く   Enter→次画面   Backspace→前画面"


class WindowsUnderWine(unittest.TestCase):

    def test_a_later_start_shows_its_folder_and_the_settings_are_the_systems(self):
        exe = Path(os.environ["TESSARY_BINARY"])
        ini = exe.parent / "Tessary.ini"
        ini.unlink(missing_ok=True)  # a first run: every chooser on C:\
        self.addCleanup(ini.unlink, missing_ok=True)
        with x.Tessary(installed=exe) as app:
            folder = app.folder("写真", [("a.bmp", (80, 60), (0, 170, 60))])
            # The first run in a new Wine prefix makes it first.
            control = app.start(exe, program=os.environ["TESSARY_WINE_RUN"]).control(120)
            names = x.text("xprop", "-id", str(control), "-notype", "WM_NAME", "_NET_WM_NAME")
            self.assertNotRegex(names, r'"\S')  # the frame shows no caption
            self.assertIn("_NET_WM_STATE_ABOVE", x.text("xprop", "-id", str(control)))
            shown = "Z:" + folder.replace("/", "\\")
            app.start(exe, shown, program=os.environ["TESSARY_WINE_RUN"])
            grid = app.captioned(GRID)
            self.assertEqual(app.processes[1].wait(30), 0)  # handed over, and ended
            stacking = [int(w, 16) for w in re.findall(r"0x(\w+)", x.text(
                "xprop", "-root", "_NET_CLIENT_LIST_STACKING"))]  # bottom first
            self.assertGreater(stacking.index(control), stacking.index(grid))
            self.assertEqual(app.end()[0], 0)
        lines = [b"C:\\\n", shown.encode("cp932") + b"\\\n", b"C:\\\n", b"7"] + [b"0\n"] * 3
        self.assertEqual(ini.read_bytes(), b"".join(line + b"\r\n" for line in lines))


if __name__ == "__main__":
    x.main()
