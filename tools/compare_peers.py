#!/usr/bin/env python3
"""Side by side on one private desktop: one snapshot of the viewer's 322 x 242
camera rectangle to a file, by this program (real clicks on the smiley through
the X server's XTEST extension, the way xdotool clicks) and by the X11 screen
shot tools maim, scrot, ImageMagick's import and xwd | convert. Also the
program's start-up time to its window's first paint, its size and peak memory,
and the capture stages alone from snapshot_bench.

    compare_peers.py WIN_BUILD WINE [--shots N]

For the program: click -> file present (inotify on the save folder) and
click -> window back (its background colour #8080FF seen again at a pixel of its
client area), with the window away from the camera rectangle and over it."""

import argparse
import ctypes
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from bench import VIEWER_ID, VIEWER_AT, run_bench, start_desktop  # noqa: E402
from desktop import wait_until  # noqa: E402
from skellimor import Program, SMILEY, TITLE, DIALOG_CLASS  # noqa: E402

CAMERA = (VIEWER_AT[0] + 26, VIEWER_AT[1] + 44, 322, 242)  # x, y, width, height
BACKGROUND = (0x80, 0x80, 0xFF)


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8))]


class X:
    """A connection of our own to the display: fake clicks and single pixels."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                       ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError(f"cannot open display {display}")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XSync(self.display, 0)

    def click(self):
        """Presses and releases button 1; the time the server has both."""
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x11.XSync(self.display, 0)
        return time.monotonic()

    def pixel(self, x, y):
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        data = image.contents.data
        rgb = (data[2], data[1], data[0])
        self.x11.XFree(data)
        self.x11.XFree(image)
        return rgb

    def close(self):
        self.x11.XCloseDisplay(self.display)


class SavedFiles:
    """Notes when each new picture file in the folder has been written and closed."""

    def __init__(self, folder):
        self.process = subprocess.Popen(["inotifywait", "-m", "-q", "-e", "moved_to", "-e", "close_write",
                                         "--format", "%e %f", folder], stdout=subprocess.PIPE)
        self.events = []
        self.lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()
        time.sleep(0.3)  # the watch is set up

    def _read(self):
        for line in self.process.stdout:
            now = time.monotonic()
            event, _, name = line.decode(errors="replace").rstrip("\n").partition(" ")
            if name.endswith(".bmp") and ("MOVED_TO" in event or "CLOSE_WRITE" in event):
                with self.lock:
                    self.events.append((now, name))
                    self.lock.notify_all()

    def wait_for(self, count, timeout=5):
        with self.lock:
            self.lock.wait_for(lambda: len(self.events) >= count, timeout)
            return self.events[count - 1][0] if len(self.events) >= count else None

    def close(self):
        self.process.kill()
        self.process.wait()


def figures(values):
    ordered = sorted(values)
    p99 = ordered[max(0, min(len(ordered) - 1, int(len(ordered) * 0.99 + 0.999999) - 1))]
    return statistics.median(ordered), p99


def background_point(desktop, client, inside=None):
    """A screen pixel of the window's client area that shows the background colour."""
    left, top, right, bottom = client
    screen = desktop.screenshot()
    fallback = None
    for y in range(top, bottom, 3):
        for x in range(left, right, 3):
            if screen.pixel(x, y) == BACKGROUND and screen.pixel(x + 1, y) == BACKGROUND:
                if inside is None or (inside[0] <= x < inside[0] + inside[2] and inside[1] <= y < inside[1] + inside[3]):
                    return x, y
                fallback = fallback or (x, y)
    return fallback


def time_program_clicks(desktop, program, x, saved, shots, probe, settle):
    """click -> file and click -> back for `shots` clicks on the smiley."""
    to_file, to_back = [], []
    smiley = program.client_point(SMILEY)
    x.move(*smiley)
    time.sleep(0.2)
    for shot in range(shots):
        wait_until(lambda: x.pixel(*probe) == BACKGROUND, 5, interval=0.002, what="the window to be back")
        time.sleep(settle)
        count = len(saved.events) + 1
        clicked = x.click()
        gone = False
        back = None
        deadline = clicked + 5
        while time.monotonic() < deadline:
            shown = x.pixel(*probe) == BACKGROUND
            if not shown:
                gone = True
            elif gone:
                back = time.monotonic()
                break
            time.sleep(0.0002)
        filed = saved.wait_for(count)
        if filed is None:
            raise RuntimeError(f"shot {shot}: no file saved")
        to_file.append((filed - clicked) * 1000)
        if back is not None:
            to_back.append((back - clicked) * 1000)
    return to_file, to_back


def time_command(argv, shots, output, shell=False):
    took = []
    for _ in range(shots):
        if os.path.exists(output):
            os.remove(output)
        started = time.monotonic()
        subprocess.run(argv, shell=shell, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       env=PEER_ENV)
        took.append((time.monotonic() - started) * 1000)
        if not os.path.getsize(output):
            raise RuntimeError(f"{argv} wrote an empty file")
    return took


PEER_ENV = dict(os.environ)


def peer_commands(out):
    x, y, w, h = CAMERA
    return {
        "maim -g ... -f bmp": (["maim", "-g", f"{w}x{h}+{x}+{y}", "-f", "bmp", out], False),
        "scrot -a ... out.bmp": (["scrot", "-o", "-a", f"{x},{y},{w},{h}", out], False),
        "import -window root -crop ...": (["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", out], False),
        "xwd -root | convert ... bmp:": (f"xwd -root -silent | convert xwd:- -crop {w}x{h}+{x}+{y} bmp:{out}", True),
    }


def bench_row(output, name):
    for line in output.splitlines():
        cells = [c.strip() for c in line.strip("|").split("|")]
        if cells and cells[0].startswith(name):
            return float(cells[1]), float(cells[2])
    raise RuntimeError(f"snapshot_bench printed no row {name!r}:\n{output}")


def start_program(desktop):
    process = desktop.run_windows(desktop.build.exe, log="program")

    def main_window():
        for window in desktop.probe("list", TITLE)["windows"]:
            if window["class"] != DIALOG_CLASS and window["visible"]:
                return window
        return None
    info = wait_until(main_window, 30, what="the program's window")
    program = Program(desktop, process, info["hwnd"], info["class"])
    program.wait_restored()
    return program


def time_startup(desktop, probe, runs):
    """Launch -> the background colour at the probe pixel, with the Wine server running."""
    x = X(desktop.display)
    took = []
    try:
        for _ in range(runs):
            wait_until(lambda: x.pixel(*probe) != BACKGROUND, 10, what="the old window to go")
            started = time.monotonic()
            process = desktop.run_windows(desktop.build.exe, log="startup")
            wait_until(lambda: x.pixel(*probe) == BACKGROUND, 30, interval=0.001, what="the first paint")
            took.append((time.monotonic() - started) * 1000)
            time.sleep(0.3)
            desktop.stop_process(process)
    finally:
        x.close()
    return took


def peak_memory_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("win_build")
    parser.add_argument("wine")
    parser.add_argument("--shots", type=int, default=100)
    parser.add_argument("--settle", type=float, default=0.35,
                        help="seconds between a restore and the next click (default 0.35)")
    options = parser.parse_args()

    desktop = start_desktop(options.win_build, options.wine)
    rows = []  # (what, median, p99)
    notes = []
    try:
        PEER_ENV.update(desktop.env())
        work = tempfile.mkdtemp(dir=desktop.root)
        out = os.path.join(work, "out.bmp")
        for name, (argv, shell) in peer_commands(out).items():
            rows.append((name + " (whole process)", *figures(time_command(argv, options.shots, out, shell))))

        program = start_program(desktop)
        desktop.park_pointer()
        info = program.info()
        client = info["client"]
        program.new_cam(VIEWER_ID)
        saved = SavedFiles(desktop.desktop_dir)
        x = X(desktop.display)
        try:
            probe = background_point(desktop, client)
            to_file, to_back = time_program_clicks(desktop, program, x, saved, options.shots, probe,
                                                   options.settle)
            rows.append(("ours, click -> file (no overlap)", *figures(to_file)))
            rows.append(("ours, click -> window back (no overlap)", *figures(to_back)))
            peak = peak_memory_kib(program.process.pid)

            # The window over the camera rectangle: a third of the way in.
            cam_x, cam_y, cam_w, cam_h = CAMERA
            desktop.xdotool("search", "--name", "^" + TITLE + "$", "windowmove", str(cam_x + cam_w // 3),
                            str(cam_y + cam_h // 3))
            time.sleep(0.5)
            client = program.info()["client"]
            probe = background_point(desktop, client, inside=CAMERA)
            to_file, to_back = time_program_clicks(desktop, program, x, saved, options.shots, probe,
                                                   options.settle)
            rows.append(("ours, click -> file (overlap)", *figures(to_file)))
            rows.append(("ours, click -> window back (overlap)", *figures(to_back)))
            peak = max(peak or 0, peak_memory_kib(program.process.pid) or 0) or None
        finally:
            x.close()
            saved.close()
        desktop.stop_process(program.process)
        wait_until(lambda: desktop.window(TITLE) is None, 10, what="the program to end")

        code, output = run_bench(desktop, "--shots", str(max(options.shots, 200)))
        if code != 0:
            raise RuntimeError("snapshot_bench failed:\n" + output)
        rows.append(("ours, capture stages alone (snapshot_bench)", *bench_row(output, "capture stages")))
        rows.append(("ours, click to saved file (snapshot_bench)", *bench_row(output, "click to saved file")))

        # Start-up: the window opens centred, so the same pixel shows its first paint.
        program = start_program(desktop)
        probe = background_point(desktop, program.info()["client"])
        desktop.stop_process(program.process)
        startup = time_startup(desktop, probe, 10)
        notes.append(f"start-up, launch -> first paint (Wine server running, 10 runs): median "
                     f"{statistics.median(startup):.0f} ms, max {max(startup):.0f} ms")
        notes.append(f"executable {os.path.basename(desktop.build.exe)} ({desktop.build.arch}): "
                     f"{os.path.getsize(desktop.build.exe):,} bytes")
        win32_exe = os.path.join(os.path.dirname(desktop.build.win_build.rstrip('/')), "win32", "window",
                                 os.path.basename(desktop.build.exe))
        if os.path.exists(win32_exe) and os.path.abspath(win32_exe) != os.path.abspath(desktop.build.exe):
            notes.append(f"executable (win32 build): {os.path.getsize(win32_exe):,} bytes")
        if peak:
            notes.append(f"peak memory of the program's process (VmHWM, Wine's DLLs included): {peak / 1024:.1f} MiB")
    finally:
        desktop.close()

    peers = [(what, med) for what, med, _ in rows if "whole process" in what]
    print(f"One snapshot of the {CAMERA[2]} x {CAMERA[3]} camera rectangle at ({CAMERA[0]}, {CAMERA[1]}) to a file, "
          f"{options.shots} each, same display")
    print(f"| {'what (ms)':<46} | {'median':>8} | {'p99':>8} |" + "".join(f" {'/ ' + w.split()[0]:>9} |" for w, _ in peers))
    print(f"|{'-' * 48}|{'-' * 10}|{'-' * 10}|" + "-----------|" * len(peers))
    for what, med, p99 in rows:
        ratios = "".join(f" {med / peer:>9.2f} |" for _, peer in peers)
        print(f"| {what:<46} | {med:>8.2f} | {p99:>8.2f} |{ratios}")
    print("(ratio columns: this row's median divided by the peer's median)")
    for note in notes:
        print(note)
    return 0


if __name__ == "__main__":
    sys.exit(main())
