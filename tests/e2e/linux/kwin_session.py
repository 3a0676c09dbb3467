"""A KDE Plasma session's compositor for the Linux edition's tests: KWin on a
virtual Wayland output with XWayland and the Breeze frames, its session bus
with the accessibility bus, in a private mount namespace in which the built
program is /usr/bin/morvaths-skellimor, as the package installs it. KWin reads
the package's own desktop entry from a scratch XDG_DATA_HOME written before it
starts, and gives window pictures to that path only (its real check: no switch
turns it off). A program started from the build tree is refused.

The screen is read through KWin's screenshots by tools/kwin_grab (which has an
entry of its own), since XWayland has no screen to read; Wayland windows are
found and moved through KWin's D-Bus interface and scripts."""

import json
import os
import shutil
import subprocess
import time

from cases import VIEWER_PREFIX, Viewer
from desktop import DesktopError, wait_until
from edition import APPLICATION, AT_SPI_BUS, LinuxDesktop, launch_program
from images import parse_ppm

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
PACKAGE_ENTRY = os.path.join(SOURCE_DIR, "packaging", "linux", f"{APPLICATION}.desktop")
INSTALLED_PROGRAM = f"/usr/bin/{APPLICATION}"
KWIN = "/usr/bin/kwin_wayland"
WIDTH, HEIGHT = 1600, 1000
WAYLAND_SOCKET = "skellimor-kwin"


class KWinDesktop(LinuxDesktop):
    """KWin with XWayland, its own session bus and accessibility bus."""

    def __init__(self, build):
        super().__init__()
        self.build = build
        self.namespace = None  # the process that holds the private mount namespace
        self.data_home = os.path.join(self.root, "data")
        self.config_home = os.path.join(self.root, "config")

    # --- start and stop -------------------------------------------------

    def _start_x(self):
        """KWin starts XWayland; the display is the one KWin names to its programs."""
        self.runtime_dir = os.path.join(self.root, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)
        self._write_entries()
        self._hold_namespace()
        self.bus = "unix:path=" + os.path.join(self.runtime_dir, "bus")
        self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + self.bus], log="dbus")
        wait_until(lambda: os.path.exists(self.bus[len("unix:path="):]), 10, what="the session bus")
        # The binary carries a file capability that a container may refuse to
        # grant: a plain copy runs (KWin wants its own name for its Qt platform).
        kwin = os.path.join(self.root, "bin", "kwin_wayland")
        os.makedirs(os.path.dirname(kwin))
        shutil.copy(KWIN, kwin)
        display_file = os.path.join(self.root, "display")
        env = self._kwin_env()
        # KWin starts this with its XWayland's DISPLAY once both are up.
        report = os.path.join(self.root, "report-display.sh")
        with open(report, "w") as f:
            f.write(f'#!/bin/sh\necho "$DISPLAY" > {display_file}.new && mv {display_file}.new {display_file}\n'
                    "exec sleep 100000\n")
        os.chmod(report, 0o755)
        self.spawn(["nsenter", "-t", str(self.namespace.pid), "-m", "--", kwin, "--virtual", "--xwayland",
                    "--no-lockscreen", "--width", str(WIDTH), "--height", str(HEIGHT), "--socket", WAYLAND_SOCKET,
                    report], log="kwin", env=env)
        wait_until(lambda: os.path.exists(display_file), 30, what="KWin and XWayland")
        with open(display_file) as f:
            self.display = f.read().strip()
        wait_until(self._kwin_answers, 10, what="KWin on the session bus")

    def _start_session(self):
        self.spawn([AT_SPI_BUS, "--launch-immediately"], log="at-spi")
        wait_until(self._accessibility_bus_ready, 10, what="the accessibility bus")

    def _write_entries(self):
        """The package's desktop entry as the package installs it, and one for the
        screen reader of the tests, both before KWin starts."""
        applications = os.path.join(self.data_home, "applications")
        os.makedirs(applications)
        shutil.copy(PACKAGE_ENTRY, applications)
        with open(os.path.join(applications, "skellimor-test-kwin-grab.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Screen reader of the tests\nNoDisplay=true\n"
                    f"Exec={self.build.kwin_grab}\n"
                    "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2\n")

    def _hold_namespace(self):
        """A private mount namespace in which /usr/bin shows the built program as
        /usr/bin/morvaths-skellimor (through an overlay, so that nothing of the
        system changes)."""
        upper, work = os.path.join(self.root, "usr-bin"), os.path.join(self.root, "usr-bin-work")
        os.makedirs(upper)
        os.makedirs(work)
        ready = os.path.join(self.root, "namespace-ready")
        script = (f"set -e; mount -t overlay overlay -o lowerdir=/usr/bin,upperdir={upper},workdir={work} /usr/bin; "
                  f": > {INSTALLED_PROGRAM}; mount --bind {self.build.program} {INSTALLED_PROGRAM}; "
                  f": > {ready}; exec sleep 100000")
        self.namespace = self.spawn(["unshare", "-m", "--propagation", "private", "sh", "-c", script],
                                    log="namespace")
        wait_until(lambda: os.path.exists(ready) or self.namespace.poll() is not None, 10, what="the namespace")
        if self.namespace.poll() is not None:
            raise DesktopError(f"no private mount namespace: {self.log('namespace')}")

    def _kwin_env(self):
        env = {key: value for key, value in os.environ.items()
               if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "KWIN_SCREENSHOT_NO_PERMISSION_CHECKS")}
        env.update({"HOME": self.home, "LANG": "C.UTF-8", "XDG_RUNTIME_DIR": self.runtime_dir,
                    "XDG_DATA_HOME": self.data_home, "XDG_CONFIG_HOME": self.config_home,
                    "DBUS_SESSION_BUS_ADDRESS": self.bus})
        return env

    def _kwin_answers(self):
        return self.busctl("call", "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameHasOwner", "s", "org.kde.KWin") == {"type": "b", "data": [True]}

    def env(self):
        env = super().env()
        env.update({"WAYLAND_DISPLAY": WAYLAND_SOCKET, "XDG_DATA_HOME": self.data_home,
                    "XDG_CONFIG_HOME": self.config_home})
        return env

    # --- KWin's D-Bus interface -------------------------------------------

    def busctl(self, *args):
        result = subprocess.run(["busctl", "--address=" + self.bus, "--json=short", *args], env=self.env(),
                                capture_output=True, text=True, timeout=30)
        return json.loads(result.stdout) if result.returncode == 0 and result.stdout else None

    def kwin_window(self, title):
        """KWin's account of the window with exactly this caption: id, frame x, y,
        width, height, minimised; None when there is none."""
        matches = self.busctl("call", "org.kde.KWin", "/WindowsRunner", "org.kde.krunner1", "Match", "s", title)
        for match in (matches or {"data": [[]]})["data"][0]:
            if match[1] == title:
                uuid = match[0].split("_", 1)[1]
                info = self.busctl("call", "org.kde.KWin", "/KWin", "org.kde.KWin", "getWindowInfo", "s", uuid)
                fields = {key: value["data"] for key, value in info["data"][0].items()}
                return {"id": uuid, "x": round(fields["x"]), "y": round(fields["y"]),
                        "width": round(fields["width"]), "height": round(fields["height"]),
                        "minimized": fields["minimized"]}
        return None

    def run_script(self, text):
        """Runs a KWin script (it acts inside KWin; nothing comes back)."""
        path = os.path.join(self.root, f"script-{time.monotonic_ns()}.js")
        with open(path, "w") as f:
            f.write(text)
        name = os.path.basename(path)
        loaded = self.busctl("call", "org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "loadScript", "ss",
                             path, name)
        if not loaded or loaded["data"][0] < 0:
            raise DesktopError(f"KWin did not load {path}")
        self.busctl("call", "org.kde.KWin", f"/{loaded['data'][0]}", "org.kde.kwin.Script", "run")
        time.sleep(0.2)
        self.busctl("call", "org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "unloadScript", "s", name)

    def move_window(self, title, x, y):
        """Puts the window's outer frame corner at (x, y), through KWin."""
        self.run_script(
            "var all = workspace.clientList();\n"
            "for (var i = 0; i < all.length; ++i) {\n"
            f"    if (all[i].caption == {json.dumps(title)}) {{\n"
            "        var g = all[i].frameGeometry;\n"
            f"        all[i].frameGeometry = {{x: {x}, y: {y}, width: g.width, height: g.height}};\n"
            "    }\n"
            "}\n")
        wait_until(lambda: (lambda w: w and (w["x"], w["y"]) == (x, y))(self.kwin_window(title)), 10,
                   what=f"KWin to move {title} to {x}, {y}")

    def set_minimised(self, title, minimised):
        self.run_script(
            "var all = workspace.clientList();\n"
            "for (var i = 0; i < all.length; ++i) {\n"
            f"    if (all[i].caption == {json.dumps(title)}) all[i].minimized = {json.dumps(minimised)};\n"
            "}\n")
        wait_until(lambda: (self.kwin_window(title) or {}).get("minimized") == minimised, 10,
                   what=f"KWin to {'minimise' if minimised else 'restore'} {title}")

    # --- the screen -------------------------------------------------------

    def screenshot(self):
        result = subprocess.run([self.build.kwin_grab, "0", "0", str(WIDTH), str(HEIGHT)], env=self.env(),
                                capture_output=True, timeout=30)
        if result.returncode != 0:
            raise DesktopError(f"kwin_grab: {result.stderr.decode(errors='replace')}")
        return parse_ppm(result.stdout)

    def park_pointer(self):
        self.xdotool("mousemove", "--sync", str(WIDTH - 1), str(HEIGHT - 1))


def launch_installed_program(desktop):
    """The built program, run as /usr/bin/morvaths-skellimor in the session's namespace."""
    return launch_program(desktop, ["nsenter", "-t", str(desktop.namespace.pid), "-m", "--", INSTALLED_PROGRAM])


def launch_wayland_viewer(desktop, user_id, at, *extra):
    """The native Wayland sample viewer, moved by KWin to have its outer corner at `at`."""
    title = VIEWER_PREFIX + user_id
    process = desktop.spawn([desktop.build.wayland_viewer, user_id, *extra], log="wayland-viewer")
    wait_until(lambda: desktop.kwin_window(title), 15, what="the Wayland sample viewer")
    desktop.move_window(title, *at)
    window = desktop.kwin_window(title)
    # Breeze frames: a title bar above, borders alike on the other three sides.
    border = (window["width"] - CLIENT_SIZE[0]) // 2
    title_bar = window["height"] - CLIENT_SIZE[1] - border
    return Viewer(process, user_id, (window["x"], window["y"]), (window["x"] + border, window["y"] + title_bar))


# The sample viewers' client area.
CLIENT_SIZE = (360, 320)
