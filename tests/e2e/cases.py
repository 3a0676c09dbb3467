"""What the end-to-end tests of both editions share: a test case class whose
tests each get a clean save folder and fresh processes on the class's desktop,
the sample viewer's camera picture, and the checks of saved snapshots."""

import os
import shutil
import unittest

from desktop import OPENBOX, wait_until
from images import parse_bmp
from window_face import Layout, picture_problems, settled

TITLE = "Morvath's Skellimor"
VIEWER_PREFIX = "Webcam for "
CAMERA_OFFSET = (26, 44)
REGULAR = (322, 242)
SMALL = (162, 122)


class Viewer:
    """A sample viewer on the screen: the top-left corners of its outer frame and of
    its client area."""

    def __init__(self, process, user_id, corner, client_corner):
        self.process = process
        self.user_id = user_id
        self.corner = corner
        self.client_corner = client_corner

    @property
    def title(self):
        return VIEWER_PREFIX + self.user_id

    def camera_origin(self):
        return self.corner[0] + CAMERA_OFFSET[0], self.corner[1] + CAMERA_OFFSET[1]

    def camera_picture(self, screen, size=REGULAR):
        x, y = self.camera_origin()
        return screen.crop(x, y, *size)


class ProgramUnderTest:
    """The program under test, started on the desktop, and its main window: what
    both editions' drivers share. Each edition says where the client area is, how
    labels, dialogs and options are read, and how the window's state is watched."""

    def __init__(self, desktop, process):
        self.desktop = desktop
        self.process = process
        self.layout = Layout(desktop.dots_per_inch)

    def _exit_note(self):
        code = self.process.poll()
        return f" (the program ended with {code}: {self.desktop.log('program')[-1500:]})" if code is not None else ""

    def client_point(self, point):
        left, top = self.client()[:2]
        return left + point[0], top + point[1]

    def click(self, point, button=1):
        self.desktop.click(*self.client_point(point), button=button)

    def id_label(self):
        """The caption of the ID label on the plate."""
        return self.label_at(self.layout.id_label)

    def wait_no_dialog(self, timeout=15):
        wait_until(lambda: not self.dialogs(), timeout, what="the dialog to close")

    def new_cam(self, answer, cancel=False):
        """New Cam: types the answer into the input box and confirms it (or cancels)."""
        self.click(self.layout.middle("newcam0"))
        box = self.wait_dialog()
        if answer:
            self.type_answer(answer)
        self.desktop.key("Escape" if cancel else "Return")
        self.wait_no_dialog()
        return box

    def type_answer(self, answer):
        self.desktop.type_text(answer)


def viewer_painted(desktop, client):
    """Whether the viewer's client area (left, top, right, bottom) shows its picture."""
    left, top, right, bottom = client
    return desktop.screenshot().crop(left, top, right - left, bottom - top).distinct_colours() > 100


class SnapshotTestCase(unittest.TestCase):
    """One desktop for the class (set up by the edition's class); a clean save
    folder and fresh processes per test, which end with it."""

    desktop = None
    DOTS_PER_INCH = 96
    WINDOW_MANAGER = OPENBOX

    @classmethod
    def tearDownClass(cls):
        if cls.desktop is not None:
            cls.desktop.close()

    def setUp(self):
        self.save_dir = self.desktop.desktop_dir
        if os.path.islink(self.save_dir) or os.path.isfile(self.save_dir):
            os.remove(self.save_dir)
        shutil.rmtree(self.save_dir, ignore_errors=True)
        os.makedirs(self.save_dir)
        self._started = []
        self._titles = []  # of the windows the test's processes open
        self.addCleanup(self._stop_started)

    def _stop_started(self):
        if self._failed():
            self._keep_screenshot()
        for process in reversed(self._started):
            self.desktop.stop_process(process)
        self.wait_windows_gone()

    def wait_windows_gone(self):
        """Waits until the windows of the test's processes have left the desktop."""

    def started(self, launched, title):
        """Notes a viewer or the program that the test launched, to end it with the test."""
        self._started.append(launched.process)
        self._titles.append(title)
        return launched

    def _failed(self):
        outcome = getattr(self, "_outcome", None)
        result = getattr(outcome, "result", None)
        if result is None:
            return False
        return any(test is self for test, _ in result.failures + result.errors)

    def _keep_screenshot(self):
        folder = os.environ.get("SKELLIMOR_E2E_ARTIFACTS")
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        try:
            self.desktop.save_png(self.desktop.screenshot(), os.path.join(folder, self.id() + ".png"))
        except Exception as error:  # a missing screenshot must not hide the real failure
            print(f"no screenshot: {error}")


    # --- results ----------------------------------------------------------

    def saved_files(self):
        if not os.path.isdir(self.save_dir):
            return []
        return sorted(os.listdir(self.save_dir))

    def wait_saved(self, count, timeout=15):
        return wait_until(lambda: len(self.saved_files()) >= count and self.saved_files(), timeout,
                          what=f"{count} saved file(s) in {self.save_dir}")

    def read_saved(self, name):
        with open(os.path.join(self.save_dir, name), "rb") as f:
            return parse_bmp(f.read())

    def snapshot(self, program, expect_files):
        """A click on the smiley that saves a file; waits for the file and the restore."""
        program.click(program.layout.middle("Picture1"))
        files = self.wait_saved(expect_files)
        program.wait_restored()
        self.desktop.park_pointer()
        return files

    def assertShows(self, program, name):
        """The program's window shows the picture at its place."""
        self.assertEqual(settled(program, lambda client: picture_problems(client, name)), [], f"{name} not shown")

    def assertSamePicture(self, actual, expected, what):
        differences = actual.differences(expected)
        self.assertEqual(differences, [], f"{what}: first differing pixels (x, y, got, expected)")
