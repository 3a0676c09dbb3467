"""A headless GNOME Shell for the end-to-end tests of the GNOME route:
gnome-shell --headless --wayland --virtual-monitor 1600x1000 with XWayland, under
dbus-run-session, with a system bus of its own, the program's extension installed
into a scratch data folder and enabled before the shell starts.

The shell and the programs that must pass as installed run in a private mount
namespace: a tmpfs over /run/systemd (an empty one in a container would send the
shell down the logind path, where it dies) and, over /usr/bin, an overlay that
adds the build's program as /usr/bin/morvaths-skellimor, the one executable the
extension answers. Nothing outside the namespace changes. Our window is an X11
window on the shell's XWayland, driven with real input (XTEST) and read over the
accessibility bus as on every desktop."""

import glob
import os
import re
import shutil
import subprocess

from desktop import DesktopError, wait_until
from edition import APPLICATION, LinuxDesktop
from images import parse_ppm

SOURCES = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
EXTENSION_SOURCE = os.path.join(SOURCES, "packaging", "linux", "gnome-shell-extension")
EXTENSION_UUID = "skellimor@morvath.example"
EXTENSION_BUS_NAME = "example.morvath.skellimor.ShellExtension"
INSTALLED_PROGRAM = "/usr/bin/" + APPLICATION
VIRTUAL_MONITOR = "1600x1000"

# Run by dbus-run-session: tells the session bus's address, enables the extension,
# then becomes the shell.
SHELL_SCRIPT = """
echo "$DBUS_SESSION_BUS_ADDRESS" > "$SKELLIMOR_BUS_FILE"
gsettings set org.gnome.shell disable-user-extensions false
gsettings set org.gnome.shell enabled-extensions "['$SKELLIMOR_EXTENSION']"
exec gnome-shell --headless --wayland --virtual-monitor $SKELLIMOR_MONITOR
"""


class GnomeSession(LinuxDesktop):
    """GNOME Shell on Wayland in place of the X display and window manager."""

    def __init__(self, build):
        super().__init__()
        self.build = build
        self.namespace = None
        self.system_bus = None
        self.data_home = os.path.join(self.root, "data")
        self.installed_bin = os.path.join(self.root, "bin")
        self.xauthority = None

    def _start_x(self):
        os.makedirs(self.installed_bin)
        shutil.copy2(self.build.program, os.path.join(self.installed_bin, APPLICATION))
        extensions = os.path.join(self.data_home, "gnome-shell", "extensions")
        shutil.copytree(EXTENSION_SOURCE, os.path.join(extensions, EXTENSION_UUID))
        self.runtime_dir = os.path.join(self.root, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)

        mounts = ("mount -t tmpfs tmpfs /run/systemd && "
                  f"mount -t overlay overlay -o 'lowerdir={self.installed_bin}:/usr/bin' /usr/bin && "
                  "exec sleep infinity")
        self.namespace = self.spawn(["unshare", "--mount", "--propagation", "private", "sh", "-c", mounts],
                                    log="namespace")
        wait_until(self._namespace_ready, 10, what="the private mount namespace")

        self.system_bus = "unix:path=" + os.path.join(self.root, "system_bus")
        self.spawn(["dbus-daemon", "--system", "--nofork", "--nopidfile", "--address=" + self.system_bus],
                   log="system-bus")
        wait_until(lambda: os.path.exists(self.system_bus[len("unix:path="):]), 10, what="the system bus")

        bus_file = os.path.join(self.root, "session-bus")
        env = self.env()
        env.update({"SKELLIMOR_BUS_FILE": bus_file, "SKELLIMOR_EXTENSION": EXTENSION_UUID,
                    "SKELLIMOR_MONITOR": VIRTUAL_MONITOR})
        self.shell = self.spawn_in_namespace(["dbus-run-session", "--", "sh", "-c", SHELL_SCRIPT], log="gnome-shell",
                                             env=env)
        self.bus = wait_until(lambda: self._read(bus_file), 20, what="the session bus")
        self.display = wait_until(self._xwayland_display, 60, what="GNOME Shell's XWayland")
        wait_until(self.extension_answers, 30, what="the extension on the session bus")

    def _start_session(self):
        """The shell's session bus carries the accessibility bus too."""

    def _namespace_ready(self):
        with open(f"/proc/{self.namespace.pid}/mountinfo") as mounts:
            return " /usr/bin " in mounts.read()

    def _read(self, path):
        if self.shell.poll() is not None:
            raise DesktopError("GNOME Shell ended: " + self.log("gnome-shell")[-3000:])
        if not os.path.exists(path):
            return None
        with open(path) as f:
            return f.read().strip() or None

    def _xwayland_display(self):
        self._read(os.devnull)
        found = re.search(r"Using public X11 display (:\d+)", self.log("gnome-shell"))
        # XWayland lets in the clients that show the cookie mutter writes for it.
        cookies = glob.glob(os.path.join(self.runtime_dir, ".mutter-Xwaylandauth.*"))
        if found and cookies and os.path.exists(f"/tmp/.X11-unix/X{found.group(1)[1:]}"):
            self.xauthority = cookies[0]
            return found.group(1)
        return None

    def env(self):
        env = super().env()
        env.update({
            "XDG_RUNTIME_DIR": self.runtime_dir,
            "XDG_DATA_HOME": self.data_home,
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_CURRENT_DESKTOP": "GNOME",
            "XDG_SESSION_TYPE": "wayland",
            "WAYLAND_DISPLAY": "wayland-0",
            "DBUS_SYSTEM_BUS_ADDRESS": self.system_bus or "",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        })
        if self.xauthority:
            env["XAUTHORITY"] = self.xauthority
        return env

    def spawn_in_namespace(self, argv, log=None, env=None):
        """Starts a process in the namespace, where the build's program is installed."""
        return self.spawn(["nsenter", f"--target={self.namespace.pid}", "--mount", "--", *argv], log=log, env=env)

    def window_picture(self, window):
        """An X window's own picture: XWayland has no screen to read, but keeps each
        window's picture whole."""
        result = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"], env=self.env(),
                                capture_output=True, timeout=30)
        return parse_ppm(result.stdout) if result.returncode == 0 else None

    # --- the shell ---------------------------------------------------------

    def gdbus(self, *args, program="gdbus"):
        return subprocess.run([program, *args], env=self.env(), capture_output=True, text=True, timeout=30)

    def extension_answers(self):
        reply = self.gdbus("call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                           "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner",
                           EXTENSION_BUS_NAME)
        return "true" in reply.stdout

    def set_extension_enabled(self, enabled):
        """With the command the program's advice names; the shell loads or unloads
        the extension at once."""
        result = subprocess.run(["gnome-extensions", "enable" if enabled else "disable", EXTENSION_UUID],
                                env=self.env(), capture_output=True, text=True, timeout=30)
        if result.returncode != 0:
            raise DesktopError(f"gnome-extensions: {result.stderr}")
        wait_until(lambda: self.extension_answers() == enabled, 10,
                   what="the extension to be " + ("enabled" if enabled else "disabled"))
