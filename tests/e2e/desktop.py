"""A private desktop for the end-to-end tests: an Xvfb display with a window
manager (openbox unless a test asks for another) and a
home whose desktop folder is a directory of the test's own, with the means to
drive it with real input (XTEST through xdotool) and to look at it (screenshots,
the X clipboard). WineDesktop adds a fresh Wine prefix and the desktop probe
for Win32 state.

Everything started here is stopped again by close(), also after a failure."""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from images import parse_bmp, parse_ppm

SCREEN_SIZE = (1280, 1024)


class WindowManager:
    """A window manager the desktop runs: the commands that start it (a compositor
    after it, say), and what it does of what the program asks of it."""

    def __init__(self, name, *commands, composites=False, keeps_above=True, activates=True, ewmh=True):
        self.name = name
        self.commands = commands
        self.ewmh = ewmh  # names its check window on the root once it is ready
        self.composites = composites
        self.keeps_above = keeps_above  # honours _NET_WM_STATE_ABOVE
        self.activates = activates      # honours _NET_ACTIVE_WINDOW

    def __str__(self):
        return self.name


OPENBOX = WindowManager("openbox", ["openbox"])


class DesktopError(RuntimeError):
    pass


class Build:
    """The Windows build under test and the Wine loader that runs it."""

    def __init__(self, win_build, wine):
        self.win_build = win_build
        self.wine = wine
        self.exe = os.path.join(win_build, "window", "Morvath's Skellimor.exe")
        self.viewer = os.path.join(win_build, "tools", "webcam_viewer.exe")
        self.probe = os.path.join(win_build, "tools", "desktop_probe.exe")
        self.wineserver = os.path.join(os.path.dirname(wine), "wineserver")
        if not os.path.exists(self.wineserver):
            self.wineserver = shutil.which("wineserver") or "wineserver"
        self.arch = "win64" if os.path.basename(wine).endswith("64") else "win32"

    @classmethod
    def from_environment(cls):
        win_build = os.environ.get("SKELLIMOR_WIN_BUILD")
        wine = os.environ.get("SKELLIMOR_WINE")
        if not win_build or not wine:
            raise DesktopError("SKELLIMOR_WIN_BUILD and SKELLIMOR_WINE must name the Windows build and the Wine loader")
        build = cls(win_build, wine)
        for path in (build.exe, build.viewer, build.probe, build.wine):
            if not os.path.exists(path):
                raise DesktopError(f"missing {path}")
        return build


def wait_until(condition, timeout, interval=0.05, what="condition"):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise DesktopError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class XDesktop:
    """An X display of its own, with a window manager and a home folder."""

    def __init__(self, dots_per_inch=96, window_manager=OPENBOX):
        self.dots_per_inch = dots_per_inch
        self.window_manager = window_manager
        self.root = tempfile.mkdtemp(prefix="skellimor-e2e-")
        self.home = os.path.join(self.root, "home")
        self.desktop_dir = os.path.join(self.home, "Desktop")
        self.display = None
        self._processes = []
        self._xvfb = None
        os.makedirs(self.desktop_dir)

    # --- start and stop -------------------------------------------------

    def start(self):
        try:
            self._start_x()
            self._start_session()
        except BaseException:
            self.close()
            raise
        return self

    def _start_session(self):
        """What a derived desktop starts once the display is there."""

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        width, height = SCREEN_SIZE
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as reader:
            number = reader.readline().strip()
        if not number:
            raise DesktopError("Xvfb did not report a display")
        self.display = ":" + number
        manager = self.window_manager
        for number, command in enumerate(manager.commands):
            self.spawn(command, log=f"{manager}-{number}")
        wait_until(self._window_manager_running, 20, what=str(manager))
        if manager.composites:
            wait_until(self._compositor_running, 20, what=f"{manager}'s compositor")

    def _window_manager_running(self):
        """The window manager is ready: it has named its check window on the root,
        or (one that names none) it redirects the requests of the root's children."""
        if self.window_manager.ewmh:
            result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(),
                                    capture_output=True, text=True)
            return "window id" in result.stdout
        result = subprocess.run(["xwininfo", "-root", "-events"], env=self.env(), capture_output=True, text=True)
        return "SubstructureRedirect" in result.stdout.split("Someone wants these events:")[-1]

    def _compositor_running(self):
        """A compositing manager owns the selection _NET_WM_CM_S0."""
        code = ("import ctypes, sys; x = ctypes.CDLL('libX11.so.6'); x.XOpenDisplay.restype = ctypes.c_void_p; "
                "d = ctypes.c_void_p(x.XOpenDisplay(None)); x.XInternAtom.restype = ctypes.c_ulong; "
                "x.XGetSelectionOwner.restype = ctypes.c_ulong; "
                "x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]; "
                "sys.exit(0 if x.XGetSelectionOwner(d, x.XInternAtom(d, b'_NET_WM_CM_S0', 0)) else 1)")
        return subprocess.run([sys.executable, "-c", code], env=self.env()).returncode == 0

    def env(self):
        env = dict(os.environ)
        env.update({"HOME": self.home, "LANG": "C.UTF-8"})
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def spawn(self, argv, log=None, env=None):
        """Starts a process that close() ends; its output goes to a log file."""
        name = log or os.path.basename(argv[-1])
        out = open(os.path.join(self.root, f"{name}.log"), "ab")
        try:
            process = subprocess.Popen(argv, env=env or self.env(), stdout=out, stderr=subprocess.STDOUT,
                                       stdin=subprocess.DEVNULL, start_new_session=True)
        finally:
            out.close()
        self._processes.append(process)
        return process

    def stop_process(self, process, timeout=5):
        if process.poll() is None:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            pass
        if process in self._processes:
            self._processes.remove(process)

    def log(self, name):
        path = os.path.join(self.root, f"{name}.log")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def close(self):
        for process in reversed(list(self._processes)):
            self.stop_process(process)
        self._end_session()
        if self._xvfb is not None:
            self._xvfb.terminate()
            try:
                self._xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
            self._xvfb = None
        if not os.environ.get("SKELLIMOR_E2E_KEEP"):
            shutil.rmtree(self.root, ignore_errors=True)

    def _end_session(self):
        """What a derived desktop stops once its processes have ended."""

    # --- real input through the X server ------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env(), check=True, capture_output=True, text=True,
                              timeout=30).stdout

    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("click", str(button))

    def type_text(self, text):
        self.xdotool("type", "--delay", "20", "--", text)

    def key(self, *names):
        self.xdotool("key", *names)

    def park_pointer(self):
        """Moves the pointer to the screen's bottom-right corner, away from every window."""
        width, height = SCREEN_SIZE
        self.xdotool("mousemove", "--sync", str(width - 1), str(height - 1))

    # --- looking at the screen ----------------------------------------------

    def screenshot(self):
        result = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env(),
                                capture_output=True, check=True, timeout=30)
        return parse_ppm(result.stdout)

    def still_screenshot(self, timeout=10):
        """A screenshot once the screen has stopped changing (a compositor may still
        animate a window that came or went)."""
        last = [self.screenshot()]

        def still():
            time.sleep(0.15)
            shot = self.screenshot()
            if shot.pixels == last[0].pixels:
                return shot
            last[0] = shot
            return None
        return wait_until(still, timeout, interval=0, what="the screen to stand still")

    def save_png(self, picture, path):
        subprocess.run(["convert", "ppm:-", path], input=picture.to_ppm(), check=True, timeout=30)

    def clipboard(self, target):
        """The X clipboard's content as `target` (a type such as image/bmp), or None."""
        result = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                                env=self.env(), capture_output=True, timeout=30)
        return result.stdout if result.returncode == 0 and result.stdout else None

    def put_text_on_clipboard(self, text):
        """Puts the text on the X clipboard, as a user copying it elsewhere would."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text.encode(), env=self.env(), check=True,
                       timeout=30)

    def clipboard_bmp(self):
        """The X clipboard's picture as image/bmp, or None when it holds none."""
        data = self.clipboard("image/bmp")
        return parse_bmp(data) if data else None


class WineDesktop(XDesktop):
    """The desktop with a fresh Wine prefix whose desktop folder is the test's own."""

    def __init__(self, build, dots_per_inch=96, window_manager=OPENBOX):
        super().__init__(dots_per_inch, window_manager)
        self.build = build
        self.prefix = os.path.join(self.root, "prefix")

    def _start_session(self):
        started = time.monotonic()
        result = subprocess.run([self.build.wine, "wineboot", "-i"], env=self.env(),
                                capture_output=True, text=True, timeout=120)
        if result.returncode != 0:
            raise DesktopError(f"wineboot failed: {result.stderr[-2000:]}")
        self.wineboot_seconds = time.monotonic() - started
        if self.dots_per_inch != 96:
            # The screen's logical resolution, as a user sets it in the display settings.
            subprocess.run([self.build.wine, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                            "/t", "REG_DWORD", "/d", str(self.dots_per_inch), "/f"],
                           env=self.env(), check=True, capture_output=True, timeout=60)
            subprocess.run([self.build.wineserver, "-w"], env=self.env(), check=True, timeout=60)
        # A server that outlives short gaps between programs, so that Wine's
        # service processes start once, here; it still ends by itself should
        # this harness be killed before close().
        subprocess.run([self.build.wineserver, "-p30"], env=self.env(), check=True, timeout=30)

    def env(self):
        env = super().env()
        env.update({
            "WINEPREFIX": self.prefix,
            "WINEARCH": self.build.arch,
            "WINEDEBUG": "-all",
            # No Gecko or Mono install prompts in a fresh prefix.
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        return env

    def _end_session(self):
        if os.path.isdir(self.prefix):
            subprocess.run([self.build.wineserver, "-k"], env=self.env(), capture_output=True, timeout=30)
            subprocess.run([self.build.wineserver, "-w"], env=self.env(), capture_output=True, timeout=30)

    # --- Wine programs ----------------------------------------------------

    def run_windows(self, exe, *args, log=None, env=None):
        return self.spawn([self.build.wine, exe, *args], log=log, env=env)

    def probe(self, *args, timeout=30):
        """The probe's JSON answer, or None when what it looked for is not there."""
        # Output goes through a file: a Wine process that the probe happens to
        # start would keep a pipe open long after the probe itself has ended.
        with tempfile.TemporaryFile(dir=self.root) as out, tempfile.TemporaryFile(dir=self.root) as err:
            code = subprocess.run([self.build.wine, self.build.probe, *args], env=self.env(),
                                  stdout=out, stderr=err, stdin=subprocess.DEVNULL, timeout=timeout).returncode
            out.seek(0)
            err.seek(0)
            answer, complaint = out.read(), err.read()
        if code == 1:
            return None
        if code != 0:
            raise DesktopError(f"probe {args} failed ({code}): {complaint.decode(errors='replace')}")
        return json.loads(answer.decode("utf-8"))

    def start_watch(self, title, duration_ms):
        """Samples the window's state in the background; the returned call gives the findings."""
        out = tempfile.NamedTemporaryFile(dir=self.root, delete=False)
        process = subprocess.Popen([self.build.wine, self.build.probe, "watch", title, str(duration_ms)],
                                   env=self.env(), stdout=out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        out.close()

        def findings():
            process.wait(duration_ms / 1000 + 30)
            with open(out.name, "rb") as f:
                answer = f.read()
            os.remove(out.name)
            return json.loads(answer.decode("utf-8"))
        return findings

    def window(self, title, window_class=None, wait_ms=0):
        args = ["window", title]
        if window_class:
            args += ["--class", window_class]
        if wait_ms:
            args += ["--wait", str(wait_ms)]
        return self.probe(*args)

    def children(self, title, window_class=None, wait_ms=0):
        args = ["children", title]
        if window_class:
            args += ["--class", window_class]
        if wait_ms:
            args += ["--wait", str(wait_ms)]
        return self.probe(*args)

    def window_gone(self, title, window_class=None, wait_ms=0):
        args = ["gone", title]
        if window_class:
            args += ["--class", window_class]
        if wait_ms:
            args += ["--wait", str(wait_ms)]
        return self.probe(*args) is not None
