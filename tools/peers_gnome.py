"""compare_peers.py --gnome: the Linux edition on a headless GNOME Shell on
Wayland (tests/e2e/linux/gnome_session.py), through its GNOME Shell extension,
against GNOME's own screenshot route.

The program: real clicks on the smiley (XTEST on the shell's XWayland) to the
file's closing (inotify), a native Wayland viewer's camera, our window clear of
it and over it; then, the extension disabled, an X11 viewer's camera read from
its own window on XWayland, as on any Wayland desktop the program has no route
of its own for. GNOME's route without a dialog: org.gnome.Shell.Screenshot's
ScreenshotArea, which the shell grants to callers that own one of a few bus names
(gnome-screenshot's org.gnome.Screenshot among them); a caller of our own owns
that name and writes the area to a PNG file, timed call by call. The portals'
Screenshot asks the user first, so it has no place in a timing."""

import json
import os
import statistics
import subprocess
import tempfile
import time

from edition import LinuxBuild
from gnome_session import GnomeSession
from test_gnome import GnomeTest

# GNOME's screenshot route, with Debian's Python and its GObject bindings: one
# process, `shots` calls, the milliseconds of each as JSON.
SHELL_SCREENSHOT = """
import json, sys, time
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", ("org.gnome.Screenshot", 4)), None, 0, 2000)
x, y, w, h, shots = map(int, sys.argv[1:6])
out = sys.argv[6]
took = []
for _ in range(shots):
    started = time.monotonic()
    reply = bus.call_sync("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
                          "ScreenshotArea", GLib.Variant("(iiiibs)", (x, y, w, h, False, out)), None, 0, 5000)
    took.append((time.monotonic() - started) * 1000)
    assert reply.unpack()[0], "ScreenshotArea failed"
print(json.dumps(took))
"""


def figures(values):
    ordered = sorted(values)
    return statistics.median(ordered), ordered[min(len(ordered) - 1, int(len(ordered) * 0.99))]


def measure_gnome(build_dir, shots, settle, x_class, saved_files_class, smiley):
    """Rows of (what, median, p99) in milliseconds. The session, the program and
    the viewer are started as the end-to-end tests start them."""
    case = GnomeTest("run")
    case.build = LinuxBuild(build_dir)
    case.native_viewer = os.path.join(build_dir, "tools", "webcam_viewer_wayland")
    case.desktop = GnomeSession(case.build).start()
    rows = []
    try:
        case.setUp()
        print(f"GNOME Shell headless, XWayland {case.desktop.display}", flush=True)
        case.start_native_viewer("peer")
        out = os.path.join(tempfile.mkdtemp(dir=case.desktop.root), "out.png")
        result = subprocess.run(["/usr/bin/python3", "-c", SHELL_SCREENSHOT, "100", "100", "322", "242", str(shots), out],
                                env=case.desktop.env(), capture_output=True, text=True, timeout=600)
        if result.returncode == 0:
            rows.append(("GNOME Shell's ScreenshotArea to a PNG file (D-Bus call)",
                         *figures(json.loads(result.stdout))))
        else:
            print("GNOME's screenshot route failed: " + result.stderr[-500:])

        program = case.start_program()
        program.new_cam("peer")
        os.environ["XAUTHORITY"] = case.desktop.xauthority
        x = x_class(case.desktop.display)
        saved = saved_files_class(case.save_dir)
        try:
            for over in (False, True):
                if over:
                    # Over the native viewer, which the shell places at the top left of the work area.
                    case.desktop.xdotool("windowmove", str(program.window), "150", "120")
                    time.sleep(0.5)
                    program.wait_restored()
                rows.append(("Linux edition, GNOME extension" + (", over the camera" if over else "") +
                             ": click to file", *figures(click_to_file(program, x, saved, shots, settle, smiley))))
            # Without the extension the program takes the XWayland route: an X11
            # viewer found over X and read from its own window.
            case.desktop.stop_process(program.process)
            case.desktop.set_extension_enabled(False)
            case.start_viewer("x11 peer", (40, 30))
            program = case.start_program()
            program.new_cam("x11 peer")
            rows.append(("Linux edition, X11 viewer without the extension (XWayland): click to file",
                         *figures(click_to_file(program, x, saved, shots, settle, smiley))))
        finally:
            saved.close()
            x.close()
        case.doCleanups()
    finally:
        case.desktop.close()
    return rows


def click_to_file(program, x, saved, shots, settle, smiley):
    """Milliseconds from each real click on the smiley to its file."""
    took = []
    for _ in range(shots):
        program.wait_restored()
        time.sleep(settle)
        x.move(*program.client_point(smiley))
        count = len(saved.events) + 1
        clicked = x.click()
        filed = saved.wait_for(count)
        if filed is None:
            raise RuntimeError("no file saved")
        took.append((filed - clicked) * 1000)
    return took
