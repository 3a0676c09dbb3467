#!/usr/bin/env python3
"""Side by side on one private display in one run: one snapshot of the viewer's
322 x 242 camera rectangle to a file, by the X11 screenshot tools scrot, maim,
ImageMagick's import and xwd | convert (each a whole process), and by this
program, the Linux edition and the Windows program under Wine, each started
once with New Cam done once, through real clicks on the smiley (the X server's
XTEST extension, the way xdotool clicks). Also each edition's start-up to its
window's first paint, the capture stages alone and the window system's own time
to clear the camera rectangle (from snapshot_bench), size and peak memory.

    compare_peers.py [--linux-build DIR] [--win-build DIR --wine WINE] [--shots N]
                     [--window-manager NAME | --gnome]

--gnome runs the Linux edition on a headless GNOME Shell on Wayland instead,
through its GNOME Shell extension, against GNOME's own screenshot route
(tools/peers_gnome.py).

--window-manager runs the display under another window manager or compositor
of the end-to-end tests' table (tests/e2e/linux/window_managers.py: Mutter,
Xfwm4, OpenboxWithFadingCompositor, I3, Twm; Openbox by default).

--sway compares the Linux edition in a headless sway session with XWayland
(tests/e2e/linux/sway_session.py; run as root, it runs as that session's user)
with grim -g "X,Y WxH", the same rectangle from sway's screen copy in a process
of its own: click (sway's own cursor commands) -> file with the window away from
the camera and over it.

--kwin compares in a KDE Plasma session instead (KWin with XWayland, as the
end-to-end tests start it, tests/e2e/linux/kwin_session.py): the Linux edition,
run as the package installs it, real click -> file for a native Wayland viewer
and an X11 one, against one bare call of KWin's screenshot interface for the
same rectangle (tools/kwin_grab, timed inside its process), in the same run.

For the program: click -> file present (inotify on the save folder) and
click -> window back (its background colour #8080FF seen again at a pixel of its
client area), with the window away from the camera rectangle and over it. One
table, each median also as a ratio to scrot's."""

import argparse
import ctypes
import os
import re
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e", "linux"))

from bench import (VIEWER_ID, VIEWER_AT, LinuxEdition, add_build_arguments, editions_from, run_bench,  # noqa: E402
                   start_viewer, x_windows)
from desktop import wait_until  # noqa: E402
from cases import CAMERA_OFFSET, REGULAR, TITLE  # noqa: E402
from skellimor import SMILEY, launch_program  # noqa: E402
from window_face import Layout, asset  # noqa: E402
from window_managers import MANAGERS  # noqa: E402
from images import parse_bmp  # noqa: E402

CAMERA = (VIEWER_AT[0] + CAMERA_OFFSET[0], VIEWER_AT[1] + CAMERA_OFFSET[1], *REGULAR)  # x, y, width, height
BACKGROUND = (0x80, 0x80, 0xFF)


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class X:
    """A connection of our own to the display: fake clicks and screen pixels."""

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

    def region(self, x, y, width, height):
        """The screen's pixels there as the server holds them, row after row; None off the screen."""
        image = self.x11.XGetImage(self.display, self.root, x, y, width, height, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        row = width * image.contents.bits_per_pixel // 8
        stride = image.contents.bytes_per_line
        data = ctypes.string_at(image.contents.data, stride * height)
        self.x11.XFree(image.contents.data)
        self.x11.XFree(image)
        return b"".join(data[y * stride:y * stride + row] for y in range(height))

    def pixel(self, x, y):
        data = self.region(x, y, 1, 1)
        return (data[2], data[1], data[0]) if data else None

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


def time_program_clicks(program, x, saved, shots, probe, settle):
    """click -> file and click -> back for `shots` clicks on the smiley. The two are
    timed on alternate clicks: watching the screen for the window's return asks the
    X server for pixels all the time, which would slow the program on its way to
    the file."""
    to_file, to_back = [], []
    smiley = program.client_point(SMILEY)
    x.move(*smiley)
    time.sleep(0.2)
    for shot in range(shots):
        wait_until(lambda: x.pixel(*probe) == BACKGROUND, 5, interval=0.002, what="the window to be back")
        time.sleep(settle)
        count = len(saved.events) + 1
        clicked = x.click()
        if shot % 2 == 0:
            filed = saved.wait_for(count)
            if filed is None:
                raise RuntimeError(f"shot {shot}: no file saved")
            to_file.append((filed - clicked) * 1000)
            continue
        gone = False
        deadline = clicked + 5
        while time.monotonic() < deadline:
            shown = x.pixel(*probe) == BACKGROUND
            if not shown:
                gone = True
            elif gone:
                to_back.append((time.monotonic() - clicked) * 1000)
                break
            time.sleep(0.0002)
        if saved.wait_for(count) is None:
            raise RuntimeError(f"shot {shot}: no file saved")
    return to_file, to_back


def time_command(argv, shots, output, env, shell=False):
    took = []
    for _ in range(shots):
        if os.path.exists(output):
            os.remove(output)
        started = time.monotonic()
        subprocess.run(argv, shell=shell, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        took.append((time.monotonic() - started) * 1000)
        if not os.path.getsize(output):
            raise RuntimeError(f"{argv} wrote an empty file")
    return took


def peer_commands(out):
    x, y, w, h = CAMERA
    return {
        "scrot -a ... out.bmp": (["scrot", "-o", "-a", f"{x},{y},{w},{h}", out], False),
        "maim -g ... -f bmp": (["maim", "-g", f"{w}x{h}+{x}+{y}", "-f", "bmp", out], False),
        "import -window root -crop ...": (["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", out], False),
        "xwd -root | convert ... bmp:": (f"xwd -root -silent | convert xwd:- -crop {w}x{h}+{x}+{y} bmp:{out}", True),
    }


def bench_row(output, name):
    for line in output.splitlines():
        cells = [c.strip() for c in line.strip("|").split("|")]
        if cells and cells[0].startswith(name):
            return float(cells[1]), float(cells[2])
    raise RuntimeError(f"snapshot_bench printed no row {name!r}:\n{output}")


def note_bench_faults(notes, what, code, output):
    """A benchmark that found faults still reports its timings: its faults become a
    note under the table, so one fault does not throw the whole comparison away."""
    if code != 0:
        faults = [line for line in output.splitlines() if "fault" in line.lower()] or output.splitlines()[-3:]
        notes.append(f"{what} ended with {code}: " + "; ".join(faults))


class NativeProgram:
    """The Linux edition's window, found and driven through the X server alone."""

    def __init__(self, desktop, process):
        self.desktop = desktop
        self.process = process
        self.layout = Layout(desktop.dots_per_inch)
        self.window = wait_until(lambda: self._shown_windows()[:1], 20, what="the program's window")[0]

    def _shown_windows(self):
        if self.process.poll() is not None:
            raise RuntimeError(f"the program ended with {self.process.returncode}: {self.desktop.log('program')}")
        return [w for w in x_windows(self.desktop, TITLE) if self._client_of(w)[1]]

    def _client_of(self, window):
        text = subprocess.run(["xwininfo", "-id", str(window)], env=self.desktop.env(), capture_output=True,
                              text=True, timeout=30).stdout
        fields = dict(re.findall(r"^\s*([A-Za-z -]+):\s+(.+)$", text, re.MULTILINE))
        if "Width" not in fields:
            return None, False
        left, top = int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])
        return (left, top, left + int(fields["Width"]), top + int(fields["Height"])), \
            fields.get("Map State") == "IsViewable"

    def client(self):
        return self._client_of(self.window)[0]

    def client_point(self, point):
        left, top = self.client()[:2]
        return left + point[0], top + point[1]

    def new_cam(self, answer):
        """New Cam: types the answer into the input box, which comes up as a second
        window of the program's title, and confirms it."""
        self.desktop.click(*self.client_point(self.layout.middle("newcam0")))
        wait_until(lambda: len(self._shown_windows()) > 1, 15, what="the input box")
        time.sleep(0.3)  # it has the keyboard focus
        self.desktop.type_text(answer)
        self.desktop.key("Return")
        wait_until(lambda: len(self._shown_windows()) == 1, 15, what="the input box to close")

    def wait_restored(self):
        wait_until(lambda: self._client_of(self.window)[1], 15, what="the program's window")
        time.sleep(0.3)


def start_program(edition, desktop):
    """The program started, its window shown, the pointer away from it."""
    if not isinstance(edition, LinuxEdition):
        return launch_program(desktop)
    program = NativeProgram(desktop, edition.run(desktop, edition.program, log="program"))
    program.wait_restored()
    desktop.park_pointer()
    return program


def smiley_area(program):
    """The smiley's place on the screen: x, y, width, height."""
    x, y = program.client_point(Layout(program.desktop.dots_per_inch).places["Picture1"])
    picture = asset("Picture1")
    return x, y, picture.width, picture.height


def time_startup(edition, desktop, area, shown, runs):
    """Launch -> the smiley's pixels on the screen as a settled window shows them."""
    x = X(desktop.display)
    took = []
    try:
        for _ in range(runs):
            wait_until(lambda: x.region(*area) != shown, 10, what="the old window to go")
            started = time.monotonic()
            process = edition.run(desktop, edition.program, log="startup")
            wait_until(lambda: x.region(*area) == shown, 30, interval=0.001, what="the first paint")
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


def measure_edition(edition, desktop, options, label):
    """The edition's rows of the table and its notes."""
    rows, notes = [], []
    program = start_program(edition, desktop)
    program.new_cam(VIEWER_ID)
    saved = SavedFiles(desktop.desktop_dir)
    x = X(desktop.display)
    try:
        probe = background_point(desktop, program.client())
        to_file, to_back = time_program_clicks(program, x, saved, options.shots, probe, options.settle)
        rows.append((f"{label}: real click -> file", *figures(to_file)))
        rows.append((f"{label}: real click -> window back", *figures(to_back)))
        peak = peak_memory_kib(program.process.pid)

        # The window over the camera rectangle: a third of the way in.
        cam_x, cam_y, cam_w, cam_h = CAMERA
        desktop.xdotool("search", "--name", "^" + re.escape(TITLE) + "$", "windowmove", str(cam_x + cam_w // 3),
                        str(cam_y + cam_h // 3))
        time.sleep(0.5)
        probe = background_point(desktop, program.client(), inside=CAMERA)
        to_file, to_back = time_program_clicks(program, x, saved, options.shots, probe, options.settle)
        rows.append((f"{label}: over the camera, real click -> file", *figures(to_file)))
        rows.append((f"{label}: over the camera, real click -> window back", *figures(to_back)))
        peak = max(peak or 0, peak_memory_kib(program.process.pid) or 0) or None
    finally:
        x.close()
        saved.close()
    desktop.stop_process(program.process)
    wait_until(lambda: not x_windows(desktop, TITLE), 10, what="the program to end")

    shots = str(max(options.shots, 200))
    code, output = run_bench(edition, desktop, "--shots", shots)
    note_bench_faults(notes, f"{label}: snapshot_bench", code, output)
    rows.append((f"{label}: capture stages alone (snapshot_bench)", *bench_row(output, "capture stages")))
    code, output = run_bench(edition, desktop, "--overlap", "--shots", shots)
    note_bench_faults(notes, f"{label}: snapshot_bench --overlap", code, output)
    rows.append((f"{label}: over the camera, window system clears it (floor)",
                 *bench_row(output, "window system: area clear for good")))
    rows.append((f"{label}: over the camera, snapshot_bench click -> file", *bench_row(output, "click to saved file")))

    # Start-up: the window opens centred, so the smiley shows at the same place.
    program = start_program(edition, desktop)
    area = smiley_area(program)
    time.sleep(0.3)
    x = X(desktop.display)
    shown = x.region(*area)
    x.close()
    desktop.stop_process(program.process)
    startup = time_startup(edition, desktop, area, shown, 10)
    rows.append((f"{label}: start-up, launch -> smiley on the screen", *figures(startup)))
    notes.append(f"{label}: executable {os.path.basename(edition.program)}: {os.path.getsize(edition.program):,} bytes")
    if peak:
        notes.append(f"{label}: peak memory of the program's process (VmHWM, shared libraries included): "
                     f"{peak / 1024:.1f} MiB")
    return rows, notes


def print_ratio_table(rows, reference):
    """Rows of (what, median, p99) in milliseconds, each median also divided by the
    first row's, which is `reference`'s."""
    first = rows[0][1]
    print(f"| {'what (ms)':<60} | {'median':>8} | {'p99':>8} | {'/ ' + reference:>7} |")
    print(f"|{'-' * 62}|{'-' * 10}|{'-' * 10}|{'-' * 9}|")
    for what, med, p99 in rows:
        print(f"| {what:<60} | {med:>8.2f} | {p99:>8.2f} | {med / first:>7.2f} |")


def time_sway_clicks(program, saved, shots, settle, expected):
    """click -> file for `shots` clicks on the smiley (sway's own cursor commands,
    timed from sway's answer: it has handed both the press and the release on),
    each once the window is back where it was; every file checked against the
    camera's picture."""
    frame = program.frame()
    ipc = program.desktop.ipc
    program.desktop.move_pointer(*program.client_point(SMILEY))
    took = []
    for shot in range(shots):
        wait_until(lambda: program.is_shown() and program.frame() == frame, 5, what="the window back in its place")
        time.sleep(settle)
        count = len(saved.events) + 1
        ipc.command("seat - cursor press button1; seat - cursor release button1")
        clicked = time.monotonic()
        filed = saved.wait_for(count)
        if filed is None:
            raise RuntimeError(f"shot {shot}: no file saved")
        took.append((filed - clicked) * 1000)
    faults = 0
    for _, name in saved.events[-shots:]:
        with open(os.path.join(program.desktop.desktop_dir, name), "rb") as f:
            picture = parse_bmp(f.read())
        faults += picture.pixels != expected.pixels
    return took, faults


def compare_on_sway(options):
    """The Linux edition against grim in one headless sway session."""
    from sway_session import SwayDesktop, launch_program as launch_on_sway, launch_viewer
    desktop = SwayDesktop(os.path.abspath(options.linux_build)).start()
    rows, notes = [], []
    try:
        build = os.path.abspath(options.linux_build)
        launch_viewer(desktop, os.path.join(build, "tools", "webcam_viewer"), VIEWER_ID, VIEWER_AT)
        cam_x, cam_y, width, height = CAMERA
        expected = desktop.screenshot().crop(cam_x, cam_y, width, height)
        out = os.path.join(tempfile.mkdtemp(dir=desktop.root), "out.ppm")
        grim = ["grim", "-g", f"{cam_x},{cam_y} {width}x{height}", "-t", "ppm", out]
        rows.append(('grim -g "X,Y WxH" -t ppm (whole process)',
                     *figures(time_command(grim, options.shots, out, desktop.env()))))
        program = launch_on_sway(desktop, os.path.join(build, "window", "morvaths-skellimor"), at=(900, 100))
        program.new_cam(VIEWER_ID)
        saved = SavedFiles(desktop.desktop_dir)
        try:
            # Over the camera: the title bar across its bottom rows, the smiley (and
            # the pointer, which sway draws into the screen here) below it.
            for what, corner in (("away from the camera", (900, 100)), ("over the camera", (30, 290))):
                program.move_to(corner)
                took, faults = time_sway_clicks(program, saved, options.shots, options.settle, expected)
                rows.append((f"Linux edition, {what}: real click to file saved", *figures(took)))
                notes.append(f"{what}: {faults} of {options.shots} pictures differ from the camera's")
        finally:
            saved.close()
    finally:
        desktop.close()
    print(f"One snapshot of the {width} x {height} camera rectangle at ({cam_x}, {cam_y}) to a file, "
          f"{options.shots} each, headless sway 1600 x 1000 with XWayland")
    print_ratio_table(rows, "grim")
    for note in notes:
        print(note)
    return 0


def kwin_click_to_file(desktop, program, saved, shots, settle):
    """click -> file for `shots` real clicks on the smiley (XTEST on XWayland), the
    window back and still before each."""
    x = X(desktop.display)
    took = []
    try:
        x.move(*program.client_point(SMILEY))
        time.sleep(0.2)
        for shot in range(shots):
            program.wait_restored()
            time.sleep(settle)
            count = len(saved.events) + 1
            clicked = x.click()
            filed = saved.wait_for(count)
            if filed is None:
                raise RuntimeError(f"shot {shot}: no file saved")
            took.append((filed - clicked) * 1000)
    finally:
        x.close()
    return took


def compare_under_kwin(options):
    """The Linux edition in a KDE Plasma session against KWin's bare screenshot call."""
    from edition import LinuxBuild, launch_viewer
    from kwin_session import KWinDesktop, launch_installed_program, launch_wayland_viewer

    build = LinuxBuild(os.path.abspath(options.linux_build or "build/linux"))
    desktop = KWinDesktop(build).start()
    rows = []
    try:
        for kind, launch in (("native Wayland viewer", lambda: launch_wayland_viewer(desktop, VIEWER_ID, VIEWER_AT)),
                             ("X11 viewer on XWayland",
                              lambda: launch_viewer(desktop, build, VIEWER_ID, VIEWER_AT))):
            viewer = launch()
            x, y = viewer.camera_origin()
            bare = subprocess.run([build.kwin_grab, str(x), str(y), *map(str, REGULAR), "--repeat", str(options.shots)],
                                  env=desktop.env(), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                  timeout=600)
            if bare.returncode != 0:
                raise RuntimeError(f"kwin_grab: {bare.stderr}")
            rows.append((f"KWin's CaptureArea of the rectangle, bare call ({kind})",
                         *figures([float(line) for line in bare.stderr.split()])))
            program = launch_installed_program(desktop)
            program.new_cam(VIEWER_ID)
            desktop.park_pointer()
            saved = SavedFiles(desktop.desktop_dir)
            try:
                took = kwin_click_to_file(desktop, program, saved, options.shots, options.settle)
            finally:
                saved.close()
            rows.append((f"Linux edition, {kind}: real click -> file", *figures(took)))
            desktop.stop_process(program.process)
            desktop.stop_process(viewer.process)
            wait_until(lambda: not desktop.kwin_window("Webcam for " + VIEWER_ID), 10, what="the viewer to close")
    finally:
        desktop.close()
    print(f"KWin {desktop.display}: one snapshot of the {REGULAR[0]} x {REGULAR[1]} camera rectangle, "
          f"{options.shots} each")
    print(f"| {'what (ms)':<70} | {'median':>8} | {'p99':>8} | {'/ bare':>7} |")
    print(f"|{'-' * 72}|{'-' * 10}|{'-' * 10}|{'-' * 9}|")
    for index, (what, med, p99) in enumerate(rows):
        bare = rows[index - index % 2][1]
        print(f"| {what:<70} | {med:>8.2f} | {p99:>8.2f} | {med / bare:>7.2f} |")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    add_build_arguments(parser)
    parser.add_argument("--shots", type=int, default=100)
    parser.add_argument("--settle", type=float, default=0.35,
                        help="seconds between a restore and the next click (default 0.35)")
    parser.add_argument("--window-manager", choices=sorted(MANAGERS), default="Openbox")
    parser.add_argument("--sway", action="store_true", help="the Linux edition against grim on sway")
    parser.add_argument("--kwin", action="store_true", help="compare in a KDE Plasma session (KWin) instead")
    parser.add_argument("--gnome", action="store_true", help="GNOME Shell on Wayland (the Linux edition)")
    options = parser.parse_args()
    if options.sway:
        if not options.linux_build:
            raise SystemExit("--sway needs --linux-build")
        from sway_session import as_session_user
        as_session_user()
        return compare_on_sway(options)
    if options.kwin:
        return compare_under_kwin(options)
    if options.gnome:
        from peers_gnome import measure_gnome
        rows = measure_gnome(options.linux_build, options.shots, options.settle, X, SavedFiles, SMILEY)
        print(f"| {'what (ms)':<60} | {'median':>8} | {'p99':>8} |")
        for what, med, p99 in rows:
            print(f"| {what:<60} | {med:>8.2f} | {p99:>8.2f} |")
        return 0
    editions = editions_from(options)

    # One display for all: with the Windows program, the desktop with its Wine
    # prefix, where native programs run as well.
    desktop = editions[-1].desktop(MANAGERS[options.window_manager]).start()
    rows = []  # (what, median, p99)
    notes = []
    try:
        print(f"display {desktop.display} with {desktop.window_manager}; " + "; ".join(f"{e.name}: {e.program}" for e in editions), flush=True)
        viewer = start_viewer(editions[0], desktop)
        work = tempfile.mkdtemp(dir=desktop.root)
        out = os.path.join(work, "out.bmp")
        for name, (argv, shell) in peer_commands(out).items():
            rows.append((name + " (whole process)", *figures(time_command(argv, options.shots, out, desktop.env(),
                                                                          shell))))
        for edition in editions:
            # Each edition with its own sample viewer at the same place: a Wine
            # program finds only Wine windows.
            if edition is not editions[0]:
                desktop.stop_process(viewer)
                wait_until(lambda: not x_windows(desktop, "Webcam for " + VIEWER_ID), 10, what="the viewer to close")
                viewer = start_viewer(edition, desktop)
            label = "Linux" if isinstance(edition, LinuxEdition) else "Wine"
            edition_rows, edition_notes = measure_edition(edition, desktop, options, label)
            rows += edition_rows
            notes += edition_notes
    finally:
        desktop.close()

    print(f"One snapshot of the {CAMERA[2]} x {CAMERA[3]} camera rectangle at ({CAMERA[0]}, {CAMERA[1]}) to a file, "
          f"{options.shots} each, one display")
    print_ratio_table(rows, "scrot")
    print("(/ scrot: this row's median divided by scrot's)")
    for note in notes:
        print(note)
    return 0


if __name__ == "__main__":
    sys.exit(main())
