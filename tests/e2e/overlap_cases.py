"""The program's own window over the viewer's camera rectangle, for both
editions: the snapshot shows the viewer alone, as the screen shows it with the
program away, and the window comes back where it was, on top and active."""

from cases import REGULAR


class OverlapCases:
    def test_own_window_over_the_camera_leaves_no_trace(self):
        # The program opens centred on the screen, over this viewer's camera.
        viewer = self.start_viewer("overlapped", (300, 250))
        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        program = self.start_program()
        covered = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        self.assertNotEqual(covered.pixels, expected.pixels, "the program's window does not cover the camera")

        program.new_cam("overlapped")
        before = program.client()
        for count in (1, 2):
            files = self.snapshot(program, count)
            self.assertEqual(program.client(), before, "the window came back elsewhere")
            self.assertTrue(program.is_on_top_and_active(), "the window is not on top and active")
        for name in files:
            with self.subTest(file=name):
                self.assertSamePicture(self.read_saved(name), expected, name)
        self.assertSamePicture(self.desktop.clipboard_bmp(), expected, "clipboard")
