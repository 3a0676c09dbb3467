"""The program's own window over the viewer's camera rectangle: the snapshot
must show the viewer alone, as the screen shows it with the program away, and
the window comes back where it was, on top and active."""

import unittest

from cases import REGULAR
from skellimor import DesktopTestCase


class OverlapTest(DesktopTestCase):
    def test_own_window_over_the_camera_leaves_no_trace(self):
        # The program opens centred on the screen, over this viewer's camera.
        viewer = self.start_viewer("overlapped", (300, 250))
        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        program = self.start_program()
        covered = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        self.assertNotEqual(covered.pixels, expected.pixels, "the program's window does not cover the camera")

        program.new_cam("overlapped")
        before = program.info()
        for count in (1, 2):
            files = self.snapshot(program, count)
            after = program.wait_restored()
            self.assertEqual(after["rect"], before["rect"], "the window came back elsewhere")
            self.assertTrue(after["topmost"] and after["foreground"], f"not on top and active: {after}")
        for name in files:
            with self.subTest(file=name):
                self.assertSamePicture(self.read_saved(name), expected, name)
        self.assertSamePicture(self.desktop.clipboard_bmp(), expected, "clipboard")


if __name__ == "__main__":
    unittest.main()
