"""A headless sway session for the end-to-end tests: sway with XWayland on a
1600 x 1000 output (its headless backend, software rendering), every window
with a title bar and floating, a session bus with the accessibility bus, and
the means to look at it (grim, the layout tree over sway's IPC) and to drive it.

sway refuses to run as root: a test module calls as_session_user() first, which
runs the whole test again as an unprivileged user (made where missing), so that
sway, the program, the viewers and every tool are that user's processes.

Input: the headless backend gives sway's seat no input device. A virtual pointer
(tools/virtual_pointer) gives it one, and clicks are sway's own cursor commands
(`seat - cursor set X Y`, `seat - cursor press button1`), which sway hands to the
window under the cursor as a real pointer's and focuses it. Keys go through
XWayland's XTEST, as xdotool types them, to the focused X11 window, which the
program's window and its dialogs are."""

import json
import os
import pwd
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

from cases import TITLE, VIEWER_PREFIX, Viewer, viewer_painted
from desktop import DesktopError, WindowManager, wait_until
from edition import LinuxBuild, LinuxDesktop, LinuxProgram, LinuxTestCase
from images import parse_ppm

SESSION_USER = "skellimor-sway"
OUTPUT_SIZE = (1600, 1000)
SWAY = WindowManager("sway", [], composites=True, keeps_above=False)
CONFIG = f"""\
xwayland enable
output HEADLESS-1 resolution {OUTPUT_SIZE[0]}x{OUTPUT_SIZE[1]} position 0 0
default_border normal 2
default_floating_border normal 2
for_window [title=".*"] floating enable
focus_follows_mouse no
"""


# What the tests run of the build, copied where the session's user can reach it.
STAGED_PROGRAMS = ("window/morvaths-skellimor", "tools/webcam_viewer", "tools/webcam_viewer_wayland",
                   "tools/virtual_pointer")


def as_session_user(staged=False):
    """Runs this process again as the session's unprivileged user, where it runs as
    root. staged: the end-to-end tests and the programs they run are copied to a
    folder of the user's first (the checkout may lie where the user cannot reach,
    under /root say), the run's screenshots copied back afterwards."""
    if os.getuid() != 0:
        return
    try:
        pwd.getpwnam(SESSION_USER)
    except KeyError:
        subprocess.run(["useradd", "--create-home", "--shell", "/bin/sh", SESSION_USER], check=True, timeout=60)
    os.environ.pop("XDG_RUNTIME_DIR", None)
    as_user = ["setpriv", "--reuid", SESSION_USER, "--regid", SESSION_USER, "--init-groups"]
    sys.stdout.flush()
    sys.stderr.flush()
    if not staged:
        os.execvp("setpriv", [*as_user, *sys.orig_argv])
    stage = tempfile.mkdtemp(prefix="skellimor-sway-")
    try:
        # The tests, and the pictures they check the window against, as the checkout lays them out.
        e2e = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        shutil.copytree(e2e, os.path.join(stage, "tests", "e2e"), ignore=shutil.ignore_patterns("__pycache__"))
        shutil.copytree(os.path.join(e2e, "..", "..", "assets"), os.path.join(stage, "assets"))
        for program in STAGED_PROGRAMS:
            built = os.path.join(os.environ["SKELLIMOR_LINUX_BUILD"], program)
            if os.path.exists(built):
                os.makedirs(os.path.dirname(os.path.join(stage, "build", program)), exist_ok=True)
                shutil.copy2(built, os.path.join(stage, "build", program))
        artifacts = os.environ.get("SKELLIMOR_E2E_ARTIFACTS")
        env = dict(os.environ, SKELLIMOR_LINUX_BUILD=os.path.join(stage, "build"),
                   PYTHONPATH=os.path.join(stage, "tests", "e2e"),
                   SKELLIMOR_E2E_ARTIFACTS=os.path.join(stage, "artifacts"))
        subprocess.run(["chown", "-R", f"{SESSION_USER}:", stage], check=True, timeout=60)
        here = os.path.relpath(os.getcwd(), e2e) if os.getcwd().startswith(e2e) else "linux"
        code = subprocess.run([*as_user, *sys.orig_argv], env=env, cwd=os.path.join(stage, "tests", "e2e", here)).returncode
        if artifacts and os.path.isdir(env["SKELLIMOR_E2E_ARTIFACTS"]):
            shutil.copytree(env["SKELLIMOR_E2E_ARTIFACTS"], artifacts, dirs_exist_ok=True)
    finally:
        shutil.rmtree(stage, ignore_errors=True)
    sys.exit(code)


def views(tree):
    """Every window in the layout tree, with the workspace it is on."""
    stack = [(tree, None)]
    while stack:
        node, workspace = stack.pop()
        if node.get("type") == "workspace":
            workspace = node["name"]
        if "shell" in node:
            yield dict(node, workspace=workspace)
        stack.extend((child, workspace) for child in node["nodes"] + node["floating_nodes"])


def outer_frame(view):
    """A view's outer frame (left, top, right, bottom): rect, with the title bar above it."""
    rect, title_bar = view["rect"], view["deco_rect"]["height"]
    return rect["x"], rect["y"] - title_bar, rect["x"] + rect["width"], rect["y"] + rect["height"]


class SwayIpc:
    """sway's IPC on its socket: "i3-ipc", the payload's length and the message's
    type (32 bits each, the machine's byte order), then the payload; replies alike."""

    RUN_COMMAND, GET_TREE, GET_SEATS = 0, 4, 101

    def __init__(self, path):
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.settimeout(10)
        self.socket.connect(path)
        self.lock = threading.Lock()  # a test may watch the window from a thread of its own

    def request(self, kind, payload=""):
        data = payload.encode()
        with self.lock:
            self.socket.sendall(b"i3-ipc" + struct.pack("=II", len(data), kind) + data)
            header = self._read(14)
            reply = self._read(struct.unpack("=I", header[6:10])[0])
        length, answered = struct.unpack("=II", header[6:])
        if answered != kind:
            raise DesktopError(f"sway answered message {kind} with {answered}")
        return json.loads(reply)

    def command(self, text):
        results = self.request(self.RUN_COMMAND, text)
        if not all(result["success"] for result in results):
            raise DesktopError(f"sway refused {text!r}: {results}")
        return results

    def _read(self, size):
        data = b""
        while len(data) < size:
            chunk = self.socket.recv(size - len(data))
            if not chunk:
                raise DesktopError("sway closed its IPC socket")
            data += chunk
        return data

    def close(self):
        self.socket.close()


class SwayDesktop(LinuxDesktop):
    """sway with XWayland, its IPC and its screen copies; the X11 side (XWayland's
    display) and the accessibility bus as LinuxDesktop has them."""

    def __init__(self, build_dir):
        super().__init__(96, SWAY)
        self.build_dir = build_dir
        self.sway_runtime = os.path.join(self.root, "sway-runtime")
        self.swaysock = None
        self.wayland_display = None
        self.ipc = None

    def _start_x(self):
        os.makedirs(self.sway_runtime, mode=0o700)
        config = os.path.join(self.root, "sway.config")
        with open(config, "w") as f:
            f.write(CONFIG)
        env = self.env()
        env.update({"XDG_RUNTIME_DIR": self.sway_runtime, "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                    "WLR_RENDERER": "pixman"})
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK"):
            env.pop(name, None)
        self.spawn(["sway", "-c", config], log="sway", env=env)

        def socket_named(prefix):
            found = [name for name in os.listdir(self.sway_runtime) if name.startswith(prefix)
                     and not name.endswith(".lock")]
            return os.path.join(self.sway_runtime, found[0]) if found else None
        self.swaysock = wait_until(lambda: socket_named("sway-ipc."), 20, what=f"sway to start: {self.log('sway')[-800:]}")
        self.wayland_display = wait_until(lambda: socket_named("wayland-"), 10, what="sway's Wayland socket")
        self.ipc = SwayIpc(self.swaysock)
        self.spawn([os.path.join(self.build_dir, "tools", "virtual_pointer")], log="pointer", env=dict(
            self.env(), SWAYSOCK=self.swaysock, WAYLAND_DISPLAY=self.wayland_display))
        wait_until(lambda: any(seat["capabilities"] & 1 for seat in self.ipc.request(SwayIpc.GET_SEATS)), 10,
                   what=f"a pointer on sway's seat: {self.log('pointer')}")
        # XWayland's display, as sway gives it to the programs it starts.
        named = os.path.join(self.root, "display")
        self.ipc.command(f"exec echo $DISPLAY > {named}")
        def display():
            if not os.path.exists(named):
                return None
            with open(named) as f:
                return f.read().strip()
        self.display = wait_until(display, 10, what="XWayland's display name")

    def _end_session(self):
        if self.ipc is not None:
            self.ipc.close()

    def env(self):
        env = super().env()
        if self.swaysock:
            env.update({"SWAYSOCK": self.swaysock, "WAYLAND_DISPLAY": self.wayland_display})
        return env

    # --- sway's IPC -----------------------------------------------------------

    def views(self):
        return list(views(self.ipc.request(SwayIpc.GET_TREE)))

    def view(self, title):
        """The window titled exactly so, or None."""
        return next((v for v in self.views() if v["name"] == title), None)

    def move_view(self, view, corner):
        """Puts the view's outer frame's corner at this place of the layout."""
        self.ipc.command(f"[con_id={view['id']}] move absolute position {corner[0]} {corner[1]}")
        wait_until(lambda: outer_frame(self.view(view["name"]))[:2] == tuple(corner), 5,
                   what=f"{view['name']} at {corner}")

    # --- input (see the module's comment) and the screen ----------------------

    def move_pointer(self, x, y):
        # The pixel's middle: sway takes the place as a fraction of the layout, and a
        # whole number may come out a hair below itself, a pixel up and left.
        self.ipc.command(f"seat - cursor set {x + 0.5} {y + 0.5}")
        # As xdotool's mousemove --sync: on once the X server has the pointer there
        # (it does only over an X11 window; elsewhere after a moment).
        deadline = time.monotonic() + 1
        while time.monotonic() < deadline and self._x_pointer() != (x, y):
            time.sleep(0.01)

    def click(self, x, y, button=1):
        self.move_pointer(x, y)
        self.ipc.command(f"seat - cursor press button{button}; seat - cursor release button{button}")

    def _x_pointer(self):
        fields = dict(line.split("=", 1) for line in self.xdotool("getmouselocation", "--shell").split())
        return int(fields["X"]), int(fields["Y"])

    def park_pointer(self):
        self.ipc.command(f"seat - cursor set {OUTPUT_SIZE[0] - 1} {OUTPUT_SIZE[1] - 1}")

    def screenshot(self):
        result = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env(), capture_output=True, check=True,
                                timeout=30)
        return parse_ppm(result.stdout)

    def frame_corner(self, window):
        """The outer frame's corner of the X11 window, from the layout tree."""
        view = next(v for v in self.views() if v.get("window") == window)
        return outer_frame(view)[:2]


class SwayProgram(LinuxProgram):
    """The program's window, whose place and state sway's layout tree tells."""

    def view(self):
        return next(v for v in self.desktop.views() if v.get("window") == self.window)

    def frame(self):
        return outer_frame(self.view())

    def is_shown(self):
        view = self.view()
        return view["visible"] and view["workspace"] != "__i3_scratch"

    def state(self):
        # sway has no minimise: a window that left is in the scratchpad.
        return {"viewable": self.is_shown(), "net_wm_state": set()}

    def wait_restored(self, timeout=15):
        """Waits until the window shows again and stands still."""
        places = []

        def restored():
            places.append(self.frame() if self.is_shown() else None)
            return len(places) >= 3 and places[-1] is not None and places[-3:] == [places[-1]] * 3
        wait_until(restored, timeout, interval=0.05, what="the program's window to be shown again")

    def move_to(self, corner):
        self.desktop.move_view(self.view(), corner)


class SwayTestCase(LinuxTestCase):
    """The Linux edition's tests in one sway session for the class."""

    WINDOW_MANAGER = SWAY

    @classmethod
    def setUpClass(cls):
        cls.build = LinuxBuild.from_environment()
        cls.desktop = SwayDesktop(cls.build.build_dir).start()
        print(f"\n[{cls.__name__}] {cls.build.program}, sway with XWayland on {cls.desktop.display}", flush=True)

    def wait_windows_gone(self):
        for title in self._titles:
            wait_until(lambda t=title: self.desktop.view(t) is None, 10, what=f"{title} to close")

    def start_viewer(self, user_id, at, *extra, program=None):
        viewer = launch_viewer(self.desktop, program or self.build.viewer, user_id, at, *extra)
        self._started.append(viewer.process)
        self._titles.append(viewer.title)
        return viewer

    def start_program(self, *, env=None, at=None):
        return self.started(launch_program(self.desktop, self.build.program, env=env, at=at), TITLE)


def launch_viewer(desktop, program, user_id, at, *extra):
    """Starts a sample viewer and puts its outer frame's corner at `at` (sway places
    new windows itself); once it shows its picture."""
    title = VIEWER_PREFIX + user_id
    process = desktop.spawn([program, user_id, *extra], log="viewer")
    view = wait_until(lambda: desktop.view(title), 20, what=f"the viewer {title}")
    desktop.move_view(view, at)
    view = desktop.view(title)
    window = view["window_rect"]
    client = (view["rect"]["x"] + window["x"], view["rect"]["y"] + window["y"])
    # The part of it on the output.
    shown = (*client, min(client[0] + window["width"], OUTPUT_SIZE[0]), min(client[1] + window["height"],
                                                                            OUTPUT_SIZE[1]))
    wait_until(lambda: viewer_painted(desktop, shown), 10, what="the viewer's picture")
    desktop.park_pointer()  # sway draws the pointer into the screen here
    return Viewer(process, user_id, outer_frame(view)[:2], client)


def launch_program(desktop, program, env=None, at=None):
    """Starts the program; its frame's corner at `at` where one is given."""
    process = desktop.spawn([program], log="program", env=env)

    def shown():
        if process.poll() is not None:
            raise DesktopError(f"the program ended with {process.returncode}: {desktop.log('program')}")
        view = desktop.view(TITLE)
        return view and view.get("window")
    launched = SwayProgram(desktop, process, wait_until(shown, 20, what="the program's window"))
    wait_until(launched.main_node, 10, what="the program on the accessibility bus")
    if at is not None:
        launched.move_to(at)
    desktop.park_pointer()
    return launched
