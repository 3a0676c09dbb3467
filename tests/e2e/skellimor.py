"""Driving the real program on a private desktop: the sample viewer, the
program's window, its input box and message boxes, all through real input.
A test case class that derives from DesktopTestCase shares one desktop (X
display and Wine prefix) among its tests; each test gets a fresh save folder
and fresh program and viewer processes."""

import subprocess

from cases import TITLE, VIEWER_PREFIX, ProgramUnderTest, SnapshotTestCase, Viewer, viewer_painted
from desktop import Build, DesktopError, WineDesktop, wait_until

DIALOG_CLASS = "#32770"

# Click targets in the main window's client area at 96 dots per inch.
SMILEY = (16, 15)
NEW_CAM = (275, 15)
EXIT = (320, 15)
SMALL_SIZE = (110, 93)
REGULAR_SIZE = (14, 93)


def move_dialog(desktop, dialog, left, top):
    """Moves a dialog (as the probe describes it) through the window manager, so that
    its client area's corner lands at left, top of the screen."""
    width = dialog["client"][2] - dialog["client"][0]
    height = dialog["client"][3] - dialog["client"][1]
    found = subprocess.run(["xdotool", "search", "--name", "^" + dialog["title"] + "$"], env=desktop.env(),
                           capture_output=True, text=True, timeout=30).stdout.split()
    for window in found:
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=desktop.env(),
                                  capture_output=True, text=True, timeout=30).stdout
        fields = dict(line.split("=", 1) for line in geometry.split())
        if (int(fields["WIDTH"]), int(fields["HEIGHT"])) == (width, height):
            desktop.xdotool("windowmove", window, str(left), str(top))
            return
    raise DesktopError(f"no X window of {width}x{height} titled {dialog['title']!r}")


class Dialog:
    def __init__(self, info):
        self.info = info
        self.texts = [c["text"] for c in info["children"] if c["class"].lower() == "static" and c["text"]]
        self.buttons = [c["text"] for c in info["children"] if c["class"].lower() == "button"]
        # A box without an icon may still hold a hidden icon control.
        self.icons = [c["icon"] for c in info["children"] if "icon" in c and c["visible"]]

    @property
    def title(self):
        return self.info["title"]

    @property
    def message(self):
        return "\n".join(self.texts)


class Program(ProgramUnderTest):
    """The Windows program under test, and its main window as Wine's probe reads it."""

    def __init__(self, desktop, process, hwnd, window_class):
        super().__init__(desktop, process)
        self.hwnd = hwnd
        self.window_class = window_class

    def info(self):
        info = self.desktop.window(TITLE, self.window_class)
        if info is None:
            raise DesktopError("the program's window has gone" + self._exit_note())
        return info

    def client(self):
        """The client area on the screen: left, top, right, bottom."""
        return self.info()["client"]

    def children(self):
        return self.desktop.children(TITLE, self.window_class)["children"]

    def label_at(self, place):
        """The caption of the label whose corner is at this client point."""
        client_left, client_top = self.info()["client"][:2]
        want = [client_left + place[0], client_top + place[1]]
        for child in self.children():
            if child["class"].lower() == "static" and child["rect"][:2] == want:
                return child["text"]
        raise DesktopError(f"no label at client {tuple(place[:2])}")

    def dialogs(self):
        found = self.desktop.probe("list", TITLE, "--class", DIALOG_CLASS)["windows"]
        return [w for w in found if w["visible"]]

    def wait_dialog(self, timeout=15):
        wait_until(self.dialogs, timeout, what="a dialog titled " + TITLE)
        return Dialog(self.desktop.children(TITLE, DIALOG_CLASS))

    def close_message(self, box, button="OK"):
        """Clicks the box's button, through the X server as a user would."""
        for child in box.info["children"]:
            if child["class"].lower() == "button" and child["text"] == button:
                left, top, right, bottom = child["rect"]
                self.desktop.click((left + right) // 2, (top + bottom) // 2)
                self.wait_no_dialog()
                return
        raise DesktopError(f"no {button} button in the box: {box.buttons}")

    def options(self):
        """Each option button's text and whether it is selected."""
        return {c["text"]: c["checked"] for c in self.children() if c["class"].lower() == "button"}

    def is_on_top(self):
        return self.info()["topmost"]

    def move_aside(self, box):
        """Moves a dialog of the program off its window, so that the window shows."""
        move_dialog(self.desktop, box.info, 20, 600)
        wait_until(lambda: self.desktop.window(box.title, DIALOG_CLASS)["client"][:2] == [20, 600], 10,
                   what="the dialog to move")

    def is_on_top_and_active(self):
        info = self.info()
        return info["topmost"] and info["foreground"]

    def watch_minimising(self, duration_ms):
        """Watches the window in the background; the returned call says whether it was
        ever minimised meanwhile."""
        findings = self.desktop.start_watch(TITLE, duration_ms)
        return lambda: findings()["ever_iconic"]

    def wait_restored(self, timeout=15):
        def restored():
            info = self.info()
            return info["visible"] and not info["iconic"] and info
        return wait_until(restored, timeout, what="the program's window to be shown and not minimised")


def launch_viewer(desktop, user_id, at, *extra):
    """Starts the sample viewer with its outer corner at `at`; once it shows its picture."""
    title = VIEWER_PREFIX + user_id
    process = desktop.run_windows(desktop.build.viewer, user_id, "--at", str(at[0]), str(at[1]), *extra,
                                  log="viewer")
    info = desktop.window(title, wait_ms=30000)  # Wine starts slowly on a loaded machine
    if info is None:
        raise DesktopError("the sample viewer did not open: " + desktop.log("viewer")[-1000:])
    # Let it paint before anyone looks at it.
    wait_until(lambda: viewer_painted(desktop, info["client"]), 10, what="the viewer's picture")
    return Viewer(process, user_id, tuple(info["rect"][:2]), tuple(info["client"][:2]))


def launch_program(desktop, env=None):
    """Starts the program; once its window shows."""
    process = desktop.run_windows(desktop.build.exe, log="program", env=env)

    def main_window():
        for window in desktop.probe("list", TITLE)["windows"]:
            if window["class"] != DIALOG_CLASS and window["visible"]:
                return window
        return None

    info = wait_until(main_window, 20, what="the program's window")
    program = Program(desktop, process, info["hwnd"], info["class"])
    program.wait_restored()
    desktop.park_pointer()
    return program


class DesktopTestCase(SnapshotTestCase):
    """The Windows program's tests: one Wine desktop for the class."""

    @classmethod
    def setUpClass(cls):
        cls.build = Build.from_environment()
        cls.desktop = WineDesktop(cls.build, cls.DOTS_PER_INCH).start()
        print(f"\n[{cls.__name__}] Wine loader {cls.build.wine} ({cls.build.arch} build "
              f"{cls.build.win_build}), display {cls.desktop.display}, "
              f"prefix ready in {cls.desktop.wineboot_seconds:.1f} s", flush=True)

    def wait_windows_gone(self):
        for title in self._titles:
            self.desktop.window_gone(title, wait_ms=5000)

    def start_viewer(self, user_id, at, *extra):
        return self.started(launch_viewer(self.desktop, user_id, at, *extra), VIEWER_PREFIX + user_id)

    def start_program(self, *, env=None):
        return self.started(launch_program(self.desktop, env), TITLE)
