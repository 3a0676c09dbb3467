"""The Linux edition in a KDE Plasma session (KWin on Wayland with XWayland): the
viewer found by its exact title, native Wayland or on XWayland, and its camera
picture exactly the viewer's test picture at the outer frame's corner + (26, 44),
both sizes, with the program's own window over the camera too; "Not Found" for a
viewer that is not there. The program runs as the package installs it; run from
its build tree, KWin refuses it pictures, and it says why, once, and saves nothing
(an X11 viewer is still read from its own X window)."""

import os
import time
import unittest

from cases import CAMERA_OFFSET, REGULAR, SMALL, SnapshotTestCase, TITLE, VIEWER_PREFIX
from desktop import wait_until
from edition import LinuxBuild, launch_program, launch_viewer
from images import viewer_picture
from kwin_session import KWinDesktop, launch_installed_program, launch_wayland_viewer

REFUSED = "The screen could not be copied, so no snapshot was saved."


class KWinTestCase(SnapshotTestCase):
    @classmethod
    def setUpClass(cls):
        cls.build = LinuxBuild.from_environment()
        cls.desktop = KWinDesktop(cls.build).start()
        print(f"\n[{cls.__name__}] KWin, XWayland display {cls.desktop.display}", flush=True)

    def wait_windows_gone(self):
        for title in self._titles:
            wait_until(lambda t=title: not self.desktop.kwin_window(t), 10, what=f"{title} to close")

    def start_x11_viewer(self, user_id, at):
        return self.started(launch_viewer(self.desktop, self.build, user_id, at), VIEWER_PREFIX + user_id)

    def start_wayland_viewer(self, user_id, at):
        return self.started(launch_wayland_viewer(self.desktop, user_id, at), VIEWER_PREFIX + user_id)

    def start_program(self, installed=True):
        launched = (launch_installed_program(self.desktop) if installed
                    else launch_program(self.desktop, self.build.program))
        return self.started(launched, TITLE)

    def camera(self, viewer, size=REGULAR):
        """The viewer's test picture at its frame's corner + (26, 44)."""
        return viewer_picture(viewer.corner[0] + CAMERA_OFFSET[0] - viewer.client_corner[0],
                              viewer.corner[1] + CAMERA_OFFSET[1] - viewer.client_corner[1], *size)

    def keep_screenshot(self, picture, name):
        """Keeps a picture of the session with the test's artifacts, to look at."""
        folder = os.environ.get("SKELLIMOR_E2E_ARTIFACTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            self.desktop.save_png(picture, os.path.join(folder, f"{self.id()}.{name}.png"))

    def assertSavedOnce(self, program, expected, what):
        files = self.snapshot(program, 1)
        self.assertEqual(len(files), 1)
        self.assertSamePicture(self.read_saved(files[0]), expected, what)
        self.assertSamePicture(self.desktop.clipboard_bmp(), expected, f"{what}: clipboard")
        return files


class InstalledProgramTest(KWinTestCase):
    def test_x11_viewer_on_xwayland_is_exact(self):
        viewer = self.start_x11_viewer("on xwayland", (40, 30))
        program = self.start_program()
        program.new_cam("on xwayland")
        self.assertSavedOnce(program, self.camera(viewer), "X11 viewer")

    def test_wayland_viewer_is_exact_at_both_sizes(self):
        viewer = self.start_wayland_viewer("native", (60, 50))
        self.assertNotEqual(viewer.client_corner, viewer.corner, "the viewer has no frame")
        self.assertSamePicture(self.desktop.screenshot().crop(*viewer.camera_origin(), *REGULAR), self.camera(viewer),
                               "the screen at the viewer's camera")
        program = self.start_program()
        program.new_cam("native")
        self.assertSavedOnce(program, self.camera(viewer), "Wayland viewer")
        program.click(program.layout.small_size)
        self.desktop.park_pointer()
        files = self.snapshot(program, 2)
        self.assertSamePicture(self.read_saved(files[1]), self.camera(viewer, SMALL), "Wayland viewer, Small Size")

    def test_own_window_over_the_camera_leaves_no_trace_and_comes_back(self):
        program = self.start_program()
        client = program.client()
        # The viewer's camera under the program's window.
        viewer = self.start_wayland_viewer("covered", (client[0] - 60, client[1] - 80))
        program.new_cam("covered")
        covered = self.desktop.screenshot()
        self.keep_screenshot(covered, "covered")
        self.assertNotEqual(covered.crop(*viewer.camera_origin(), *REGULAR).pixels, self.camera(viewer).pixels,
                            "the program's window does not cover the camera")
        for count in (1, 2):
            files = self.snapshot(program, count)
            self.assertEqual(program.client(), client, "the window came back elsewhere")
        for name in files:
            self.assertSamePicture(self.read_saved(name), self.camera(viewer), name)

    def test_minimised_viewer_is_named_as_the_reason_and_nothing_is_saved(self):
        viewer = self.start_wayland_viewer("minimised", (80, 70))
        self.desktop.set_minimised(viewer.title, True)
        program = self.start_program()
        program.new_cam("minimised")
        clicked = time.monotonic()
        program.click(program.layout.middle("Picture1"))
        box = program.wait_dialog()
        # At once: KWin, asked for a minimised window's picture, would never answer.
        self.assertLess(time.monotonic() - clicked, 1.8)
        program.close_message(box)
        self.assertTrue(box.message.startswith(REFUSED), box.message)
        self.assertIn("minimised", box.message)
        self.assertEqual(self.saved_files(), [])
        self.desktop.set_minimised(viewer.title, False)
        self.assertSavedOnce(program, self.camera(viewer), "restored Wayland viewer")

    def test_viewer_that_is_not_there_is_not_found(self):
        self.start_wayland_viewer("someone", (60, 50))
        program = self.start_program()
        program.new_cam("nobody")
        program.click(program.layout.middle("Picture1"))
        wait_until(lambda: program.id_label() == "Not Found", 10, what="Not Found")
        time.sleep(0.5)
        self.assertEqual((program.dialogs(), self.saved_files()), ([], []))


class ProgramFromTheBuildTreeTest(KWinTestCase):
    def test_refused_pictures_are_explained_once_and_nothing_is_saved(self):
        viewer = self.start_wayland_viewer("refused", (60, 50))
        program = self.start_program(installed=False)
        program.new_cam("refused")
        messages = []
        for _ in range(2):
            program.click(program.layout.middle("Picture1"))
            box = program.wait_dialog()
            messages.append(box.message)
            program.close_message(box)
        self.assertEqual(self.saved_files(), [])
        first, second = messages
        self.assertTrue(first.startswith(REFUSED), first)
        for words in ("KWin", "installed", "/usr/bin/morvaths-skellimor", self.build.program, "Exec=",
                      "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2"):
            self.assertIn(words, first)
        self.assertTrue(second.startswith(REFUSED), second)
        self.assertNotIn("Exec=", second)
        self.assertLess(len(second), len(first) // 2, "the explanation is repeated")
        self.assertEqual(program.id_label(), "refused")
        del viewer

    def test_x11_viewer_is_still_read_from_its_own_window(self):
        viewer = self.start_x11_viewer("still x11", (40, 30))
        program = self.start_program(installed=False)
        program.new_cam("still x11")
        self.assertSavedOnce(program, self.camera(viewer), "X11 viewer, build tree")


if __name__ == "__main__":
    unittest.main()
