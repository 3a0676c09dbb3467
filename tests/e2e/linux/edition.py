"""Driving the Linux edition on a private desktop: the X display with openbox of
desktop.py, plus a session bus with the accessibility bus, through which the
program's labels, dialogs and focus are read (AT-SPI, as screen readers read
them). The window itself is looked at through the X server: xwininfo, xprop,
screenshots and the clipboard."""

import json
import os
import re
import subprocess
import threading
import time

from cases import TITLE, VIEWER_PREFIX, ProgramUnderTest, SnapshotTestCase, Viewer, viewer_painted
from desktop import DesktopError, XDesktop, wait_until

APPLICATION = "morvaths-skellimor"
# Debian's Python holds the AT-SPI bindings.
A11Y_PYTHON = "/usr/bin/python3"
A11Y_PROBE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "a11y_probe.py")
AT_SPI_BUS = "/usr/libexec/at-spi-bus-launcher"


class LinuxBuild:
    """The Linux edition's build: the program and the sample viewer."""

    def __init__(self, build_dir):
        self.build_dir = build_dir
        self.program = os.path.join(build_dir, "window", APPLICATION)
        self.viewer = os.path.join(build_dir, "tools", "webcam_viewer")
        self.wayland_viewer = os.path.join(build_dir, "tools", "webcam_viewer_wayland")
        self.kwin_grab = os.path.join(build_dir, "tools", "kwin_grab")

    @classmethod
    def from_environment(cls):
        build_dir = os.environ.get("SKELLIMOR_LINUX_BUILD")
        if not build_dir:
            raise DesktopError("SKELLIMOR_LINUX_BUILD must name the Linux edition's build directory")
        build = cls(build_dir)
        for path in (build.program, build.viewer):
            if not os.path.exists(path):
                raise DesktopError(f"missing {path}")
        return build


class LinuxDesktop(XDesktop):
    """The X desktop with a session bus and an accessibility bus of its own."""

    def _start_session(self):
        if self.dots_per_inch != 96:
            # What desktops set for their resolution, and the toolkit reads.
            subprocess.run(["xrdb", "-merge"], input=f"Xft.dpi: {self.dots_per_inch}\n", env=self.env(), text=True,
                           check=True, timeout=30)
        self.runtime_dir = os.path.join(self.root, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)
        self.bus = "unix:path=" + os.path.join(self.runtime_dir, "bus")
        self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + self.bus], log="dbus")
        wait_until(lambda: os.path.exists(self.bus[len("unix:path="):]), 10, what="the session bus")
        self.spawn([AT_SPI_BUS, "--launch-immediately"], log="at-spi")
        wait_until(self._accessibility_bus_ready, 10, what="the accessibility bus")

    def _accessibility_bus_ready(self):
        return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                               "org.a11y.Bus.GetAddress"], env=self.env(), capture_output=True).returncode == 0

    def env(self):
        env = super().env()
        if getattr(self, "bus", None):
            env.update({
                "DBUS_SESSION_BUS_ADDRESS": self.bus,
                "XDG_RUNTIME_DIR": self.runtime_dir,
                "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            })
        return env

    # --- what the program shows ---------------------------------------------

    def accessible_windows(self, application=APPLICATION):
        """The program's windows and dialogs as the accessibility bus describes them."""
        result = subprocess.run([A11Y_PYTHON, A11Y_PROBE, application], env=self.env(), capture_output=True,
                                text=True, timeout=30)
        if result.returncode not in (0, 1):
            raise DesktopError(f"a11y_probe failed: {result.stderr[-1500:]}")
        return json.loads(result.stdout)["windows"]

    def x_windows(self, title):
        """The X client windows whose name is exactly the title."""
        found = subprocess.run(["xdotool", "search", "--name", "^" + re.escape(title) + "$"], env=self.env(),
                               capture_output=True, text=True, timeout=30).stdout.split()
        return [int(window) for window in found]

    def geometry(self, window):
        """The client area on the screen (left, top, right, bottom), and whether it is viewable."""
        text = subprocess.run(["xwininfo", "-id", str(window)], env=self.env(), capture_output=True, text=True,
                              timeout=30).stdout
        fields = dict(re.findall(r"^\s*([A-Za-z -]+):\s+(.+)$", text, re.MULTILINE))
        left, top = int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])
        width, height = int(fields["Width"]), int(fields["Height"])
        return (left, top, left + width, top + height), fields.get("Map State") == "IsViewable"

    def property_text(self, window, name):
        result = subprocess.run(["xprop", "-id", str(window), name], env=self.env(), capture_output=True, text=True,
                                timeout=30)
        return result.stdout.strip()

    def root_window(self):
        text = subprocess.run(["xwininfo", "-root"], env=self.env(), capture_output=True, text=True,
                              timeout=30).stdout
        return int(re.search(r"Window id: (0x[0-9a-f]+)", text).group(1), 16)

    def active_window(self):
        """The window the window manager names active, 0 for none."""
        found = re.search(r"(0x[0-9a-f]+)", self.property_text(self.root_window(), "_NET_ACTIVE_WINDOW"))
        return int(found.group(1), 16) if found else 0

    def net_wm_state(self, window):
        text = self.property_text(window, "_NET_WM_STATE")
        return set(re.findall(r"_NET_WM_STATE_[A-Z_]+", text))

    def frame_corner(self, window):
        """The top-left corner of the window's outer frame on the screen: its place
        less the frame extents the window manager publishes, else the corner of
        the window manager's window around it (the top-level one), border included."""
        extents = re.findall(r"\d+", self.property_text(window, "_NET_FRAME_EXTENTS").split("=")[-1])
        if len(extents) == 4:
            (left, top, _, _), _ = self.geometry(window)
            return left - int(extents[0]), top - int(extents[2])
        root = self.root_window()
        for _ in range(8):
            parent = int(re.search(r"Parent window id: (0x[0-9a-f]+)", self._xwininfo("-children", window)).group(1), 16)
            if parent == root:
                break
            window = parent
        info = self._xwininfo(window)
        return tuple(int(re.search(rf"Absolute upper-left {axis}:\s+(-?\d+)", info).group(1)) for axis in "XY")

    def _xwininfo(self, *args):
        return subprocess.run(["xwininfo", *[str(a) for a in args[:-1]], "-id", str(args[-1])], env=self.env(),
                              capture_output=True, text=True, timeout=30).stdout


def nodes(tree, role=None):
    """Every node below and including the given ones, of the role if one is given."""
    stack = list(tree) if isinstance(tree, list) else [tree]
    while stack:
        node = stack.pop(0)
        if role is None or node["role"] == role:
            yield node
        stack[:0] = node["children"]


class Dialog:
    """A message box, the input box or the folder dialog, as the accessibility bus shows it."""

    def __init__(self, node):
        self.node = node
        self.title = node["name"]
        self.texts = [n["name"] for n in nodes(node, "label") if n["name"]]
        self.buttons = [n["name"] for n in nodes(node, "push button")]

    @property
    def message(self):
        return "\n".join(self.texts)

    def button(self, name):
        for n in nodes(self.node, "push button"):
            if n["name"] == name:
                x, y, width, height = n["extents"]
                return x + width // 2, y + height // 2
        raise DesktopError(f"no {name} button in {self.title}: {self.buttons}")


class LinuxProgram(ProgramUnderTest):
    """The Linux edition under test, and its main window, read through the X
    server and the accessibility bus."""

    def __init__(self, desktop, process, window):
        super().__init__(desktop, process)
        self.window = window

    def client(self):
        rect, _ = self.desktop.geometry(self.window)
        return rect

    def main_node(self):
        for window in self.desktop.accessible_windows():
            if window["name"] == TITLE and window["role"] == "filler":
                return window
        raise DesktopError("the program's window is not on the accessibility bus" + self._exit_note())

    def label_at(self, place):
        """The text of the label whose corner is at this client point."""
        want = list(self.client_point(place))
        for label in nodes(self.main_node(), "label"):
            if label["extents"][:2] == want:
                return label["name"]
        raise DesktopError(f"no label at client {tuple(place)}")

    def folder_label(self):
        return self.label_at(self.layout.folder_label)

    def options(self):
        """Each option button's text and whether it is selected."""
        return {n["name"]: "checked" in n["states"] for n in nodes(self.main_node(), "radio button")}

    def dialogs(self):
        return [Dialog(window) for window in self.desktop.accessible_windows()
                if window["role"] in ("dialog", "alert") and "showing" in window["states"]]

    def wait_dialog(self, timeout=15):
        found = wait_until(self.dialogs, timeout, what="a dialog of the program")
        return found[0]

    def type_answer(self, answer):
        if answer.isascii():
            self.desktop.type_text(answer)
        else:
            # Typed, a character outside the keyboard map can be lost while the
            # program learns the map that xdotool makes for it: pasted instead.
            self.desktop.put_text_on_clipboard(answer)
            self.desktop.key("ctrl+v")

    def close_message(self, box, button="OK"):
        """Clicks the box's button, through the X server as a user would."""
        self.desktop.click(*box.button(button))
        self.wait_no_dialog()

    def state(self):
        _, viewable = self.desktop.geometry(self.window)
        return {"viewable": viewable, "net_wm_state": self.desktop.net_wm_state(self.window)}

    def is_on_top(self):
        return "_NET_WM_STATE_ABOVE" in self.desktop.net_wm_state(self.window)

    def move_aside(self, box):
        """Moves a dialog of the program off its window, so that the window shows."""
        for window in self.desktop.x_windows(box.title):
            if window != self.window:
                self.desktop.xdotool("windowmove", "--sync", str(window), "20", "560")

    def is_on_top_and_active(self):
        return self.is_on_top() and self.desktop.active_window() == self.window

    def watch_minimising(self, duration_ms):
        """Watches the window in the background; the returned call says whether it was
        ever minimised meanwhile."""
        seen = []
        watcher = threading.Thread(target=lambda: seen.extend(self._states_for(duration_ms / 1000)))
        watcher.start()

        def findings():
            watcher.join()
            return any(not s["viewable"] or "_NET_WM_STATE_HIDDEN" in s["net_wm_state"] for s in seen)
        return findings

    def _states_for(self, seconds):
        states = []
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            states.append(self.state())
        return states

    def wait_restored(self, timeout=15):
        """Waits until the window shows, not minimised, and stands still (a window
        manager may animate its way back)."""
        places = []

        def restored():
            rect, viewable = self.desktop.geometry(self.window)
            hidden = "_NET_WM_STATE_HIDDEN" in self.desktop.net_wm_state(self.window)
            places.append(rect if viewable and not hidden else None)
            return len(places) >= 3 and places[-1] is not None and places[-3:] == [places[-1]] * 3
        wait_until(restored, timeout, interval=0.05, what="the program's window to be shown and not minimised")


def launch_viewer(desktop, build, user_id, at, *extra):
    """Starts the sample viewer with its outer corner at `at`; once it shows its picture."""
    title = VIEWER_PREFIX + user_id
    process = desktop.spawn([build.viewer, user_id, "--at", str(at[0]), str(at[1]), *extra], log="viewer")
    window = wait_until(lambda: desktop.x_windows(title), 15, what="the sample viewer")[0]
    wait_until(lambda: viewer_painted(desktop, desktop.geometry(window)[0]), 10, what="the viewer's picture")
    client, _ = desktop.geometry(window)
    return Viewer(process, user_id, desktop.frame_corner(window), client[:2])


def launch_program(desktop, program, env=None, spawn=None):
    """Starts the program at this path or by this command (through `spawn`, a
    desktop's spawn, where given); once its window shows and is on the
    accessibility bus."""
    process = (spawn or desktop.spawn)(program if isinstance(program, list) else [program], log="program", env=env)

    def shown():
        if process.poll() is not None:
            raise DesktopError(f"the program ended with {process.returncode}: {desktop.log('program')}")
        for window in desktop.x_windows(TITLE):
            if desktop.geometry(window)[1]:
                return window
        return None
    launched = LinuxProgram(desktop, process, wait_until(shown, 20, what="the program's window"))
    wait_until(launched.main_node, 10, what="the program on the accessibility bus")
    desktop.park_pointer()
    return launched


class LinuxTestCase(SnapshotTestCase):
    """The Linux edition's tests: one desktop for the class."""

    @classmethod
    def setUpClass(cls):
        cls.build = LinuxBuild.from_environment()
        cls.desktop = LinuxDesktop(cls.DOTS_PER_INCH, cls.WINDOW_MANAGER).start()
        print(f"\n[{cls.__name__}] {cls.build.program}, display {cls.desktop.display}", flush=True)

    def wait_windows_gone(self):
        for title in self._titles:
            wait_until(lambda t=title: not self.desktop.x_windows(t), 10, what=f"{title} to close")

    def start_viewer(self, user_id, at, *extra):
        return self.started(launch_viewer(self.desktop, self.build, user_id, at, *extra), VIEWER_PREFIX + user_id)

    def start_program(self, *, env=None):
        return self.started(launch_program(self.desktop, self.build.program, env), TITLE)
