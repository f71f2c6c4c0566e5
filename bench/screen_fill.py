"""The grid filling on a real X server (Xvfb and openbox, tests/e2e/harness.py): twelve 24 MP
JPEGs a page, the screen sampled during the fill of the first page, two seconds after the chooser
showed the folder, and of the next (its files changed after it was decoded ahead), then of a page
as a camera writes it (each JPEG with a blue EXIF thumbnail between black bars), changed likewise.
For each page: when the window was drawn, when each cell appeared (on the camera's page also when
every cell first showed something: the page whole), in the program's processor time (clock ticks
of its work, which a busy machine does not stretch), whether the window was drawn before the page
completed and the cells came in order, and the seconds from the click to the full page.
The last line is JSON. Usage: bench/screen_fill.py BINARY"""
import ctypes, io, json, os, shutil, struct, subprocess, sys, time
from pathlib import Path
try:
    from PIL import Image
except ImportError:  # Debian's python3-pil is for Debian's python3
    if not sys.executable.startswith("/usr"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests/e2e"))
import harness as x

X = ctypes.CDLL("libX11.so.6")  # Xlib itself: import is too slow to sample a fill
X.XOpenDisplay.restype = X.XGetImage.restype = X.XDefaultRootWindow.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p] * 2 + [ctypes.c_int] * 4 + [ctypes.c_ulong, ctypes.c_int]
X.XDefaultRootWindow.argtypes = X.XDestroyImage.argtypes = [ctypes.c_void_p]
COLOURS = {"red": (200, 40, 40), "green": (40, 200, 40), "blue": (40, 40, 200),
           "blank": (239, 239, 239)}


def named(rgb):
    name = min(COLOURS, key=lambda c: sum(abs(a - b) for a, b in zip(rgb, COLOURS[c])))
    return name if sum(abs(a - b) for a, b in zip(rgb, COLOURS[name])) < 60 else "?"


def cells(display, at):  # what the centres of cells 0 to 11 show on the screen
    image = X.XGetImage(display, X.XDefaultRootWindow(display), at[0] + 56, at[1] + 56, 349, 257,
                        0xFFFFFFFF, 2)  # 116 pixels apart across, 128 down
    pixels = ctypes.string_at(ctypes.c_void_p.from_address(image + 16).value, 349 * 257 * 4)
    X.XDestroyImage(image)
    return [named(pixels[i:i + 3][::-1]) for i in  # BGRX
            (4 * (349 * 128 * (c // 4) + 116 * (c % 4)) for c in range(12))]


def exif(thumbnail):
    """An EXIF block as a camera writes it: orientation 1, and the thumbnail's JPEG bytes."""
    tiff = b"MM\0*" + struct.pack(">IH", 8, 1) + struct.pack(">HHIHH", 0x112, 3, 1, 1, 0)
    tiff += struct.pack(">IH", 26, 2) + struct.pack(">HHII", 0x201, 4, 1, 56)
    return b"Exif\0\0" + tiff + struct.pack(">HHIII", 0x202, 4, 1, len(thumbnail), 0) + thumbnail


def fill(app, display, page, at, stand_in=None):
    """Clicks where the pointer is, and samples until cell 11 shows the page."""
    def work():
        with open("/proc/%d/stat" % app.processes[0].pid) as status:
            return sum(map(int, status.read().rsplit(")", 1)[1].split()[11:13]))
    start, shown, drawn, end = work(), {}, None, time.monotonic() + 60
    clicked, seconds, whole = time.monotonic(), None, None
    click = subprocess.Popen(["xdotool", "click", "1"])
    while 11 not in shown and time.monotonic() < end:
        now, seen = work() - start, cells(display, at)
        for cell in (c for c in range(12) if seen[c] == page):
            shown.setdefault(cell, now)
        if 11 in shown and seconds is None:
            seconds = time.monotonic() - clicked
        if whole is None and set(seen) <= {page, stand_in}:
            whole = (time.monotonic() - clicked, now, seen.count(stand_in))
        drawing = {"blank", stand_in}  # the window before its last cell is decoded
        if drawn is None and seen[11] in drawing and set(seen) <= drawing | {page}:
            drawn = now
        time.sleep(0.01)
    click.wait()
    complete = shown.get(11)
    return {"seconds": seconds, "whole_seconds": whole and whole[0],
            "whole_ticks": whole and whole[1], "whole_stand_ins": whole and whole[2],
            "drawn_ticks": drawn, "cell_ticks": [shown.get(c) for c in range(12)],
            "drawn_before_complete": None not in (drawn, complete) and drawn < complete,
            "cell0_share": shown[0] / complete if complete and 0 in shown else None,
            "in_order": sorted(shown, key=shown.get) == list(range(12))}


def main():
    os.environ["TESSARY_BINARY"] = os.path.abspath(sys.argv[1])
    with x.session(), x.Tessary() as app:
        pics, display = app.folder("pics", []), X.XOpenDisplay(None)
        noise = Image.effect_noise((6000, 4000), 24)
        for name in ("red", "green"):
            Image.merge("RGB", [noise.point(lambda v, c=c: v - 128 + c) for c in COLOURS[name]]
                        ).save(app.root / (name + ".jpg"), quality=90)
        thumbnail = Image.new("RGB", (160, 120))
        thumbnail.paste(COLOURS["blue"], (0, 7, 160, 113))
        with io.BytesIO() as out:
            thumbnail.save(out, "JPEG", quality=90)
            Image.open(app.root / "red.jpg").save(app.root / "camera.jpg", quality=90,
                                                  exif=exif(out.getvalue()))
        for i in range(36):
            os.link(app.root / "red.jpg", pics + "/p%02d.jpg" % i)
        app.write_settings(x.settings(app.home, pics, app.home, "7", 0, 0, 0))
        control = app.start().control()
        x.click(control, x.CONTROL["show12"])
        chooser = app.captioned(x.CHOOSER_CAPTION)
        # The grid's client area: where it asks to be, moved by the frame as the control's.
        grid = [a - b + c for a, b, c in zip(x.geometry(control), (20, 74), (80, 22))]
        x.run("xdotool", "mousemove", "--window", str(chooser), "260", "268")  # １２枚ずつ表示
        time.sleep(2)  # the folder listed, its first page decoded meanwhile
        first = fill(app, display, "red", grid)
        time.sleep(2)  # the next page is decoded ahead meanwhile; then its files change
        for i in range(12, 24):
            shutil.copy(app.root / "green.jpg", pics + "/p%02d.jpg.new" % i)
            os.replace(pics + "/p%02d.jpg.new" % i, pics + "/p%02d.jpg" % i)
        x.run("xdotool", "mousemove", "--window", str(control), "20", "112")  # >>
        second = fill(app, display, "green", grid)
        time.sleep(2)  # the camera's page is decoded ahead meanwhile, then its files change
        for i in range(24, 36):
            shutil.copy(app.root / "camera.jpg", pics + "/p%02d.jpg.new" % i)
            os.replace(pics + "/p%02d.jpg.new" % i, pics + "/p%02d.jpg" % i)
        camera = fill(app, display, "red", grid, "blue")
        status = app.end()
    pages = (("first", first), ("next", second), ("camera", camera))
    for name, page in pages:
        print("%s page: full after %.3f s; drawn at %s ticks, cells at %s; drawn before complete: %s, "
              "cell 0 at %s of the fill, in order: %s" % (name, page["seconds"] or -1,
                                      page["drawn_ticks"], page["cell_ticks"],
                                      page["drawn_before_complete"], page["cell0_share"],
                                      page["in_order"]))
        if page["whole_stand_ins"]:
            print("  whole after %.3f s (%s ticks), %d cells from embedded thumbnails"
                  % (page["whole_seconds"], page["whole_ticks"], page["whole_stand_ins"]))
    print(json.dumps({"screen_%s_%s" % (n, k): v for n, page in pages
                      for k, v in page.items() if k != "cell_ticks"} | {"exit_status": status[0]}))


if __name__ == "__main__":
    main()
