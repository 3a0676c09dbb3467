"""The Linux edition in a headless sway session with XWayland (sway_session.py):
the shared snapshot and refusal cases with the sample viewer on XWayland, and
what is sway's own: the picture is the screen as sway shows it (another
program's window over the camera is in it, black past the output's edge), the
camera at the outer frame's corner whether the frame has a title bar or not, the
program's window over the camera leaves no trace and comes back exactly where it
was, and a native Wayland viewer is found and copied like an X11 one.

Run as root, it runs again as an unprivileged user (sway refuses root), on a
copy of the tests and the programs they run."""

import os
import unittest

from sway_session import SwayTestCase, as_session_user, outer_frame

as_session_user(staged=True)

from cases import CAMERA_OFFSET, REGULAR  # noqa: E402
from desktop import wait_until  # noqa: E402
from images import Rgb  # noqa: E402
from refusal_cases import RefusalCases  # noqa: E402
from snapshot_cases import SnapshotCases  # noqa: E402


class SwaySnapshotTest(SnapshotCases, SwayTestCase):
    pass


class SwayRefusalTest(RefusalCases, SwayTestCase):
    pass


class SwayScreenTest(SwayTestCase):
    def test_own_window_over_the_camera_leaves_no_trace_and_comes_back_where_it_was(self):
        viewer = self.start_viewer("covered", (20, 20))
        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        # The window's title bar across the camera's bottom rows, its smiley below
        # them: sway draws the pointer into the screen (no cursor plane here), and
        # it stays on the smiley while the window is away.
        program = self.start_program(at=(30, 290))
        covered = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        self.assertNotEqual(covered.pixels, expected.pixels, "the program's window does not cover the camera")
        program.new_cam("covered")
        frame = program.frame()
        for count in (1, 2, 3):
            files = self.snapshot(program, count)
            self.assertEqual(program.frame(), frame, "the window came back elsewhere")
            self.assertTrue(program.view()["focused"], "the window is not focused again")
        for name in files:
            with self.subTest(file=name):
                self.assertSamePicture(self.read_saved(name), expected, name)

    def test_another_programs_window_over_the_camera_is_in_the_picture(self):
        viewer = self.start_viewer("beneath", (20, 20))
        self.start_viewer("above", (200, 150))
        program = self.start_program(at=(900, 100))
        program.new_cam("beneath")
        files = self.snapshot(program, 1)
        shown = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        self.assertSamePicture(self.read_saved(files[0]), shown, "the camera as the screen shows it")

    def test_camera_reaching_past_the_output_is_black_there(self):
        # The camera's right 148 columns lie beyond the output's right edge (1600).
        viewer = self.start_viewer("edge", (1400, 300))
        program = self.start_program(at=(100, 100))
        program.new_cam("edge")
        files = self.snapshot(program, 1)
        left, top = viewer.camera_origin()
        shown = self.desktop.screenshot().crop(left, top, 1600 - left, REGULAR[1])
        black_row = bytes(3 * (REGULAR[0] - shown.width))
        expected = Rgb(REGULAR[0], REGULAR[1], b"".join(
            shown.pixels[y * shown.width * 3:(y + 1) * shown.width * 3] + black_row for y in range(REGULAR[1])))
        self.assertSamePicture(self.read_saved(files[0]), expected, "the output's part, black beyond it")

    def test_frames_without_a_title_bar(self):
        viewer = self.start_viewer("bordered", (20, 20))
        program = self.start_program(at=(900, 100))
        program.new_cam("bordered")
        view = self.desktop.view(viewer.title)
        for border in ("pixel 5", "none"):
            with self.subTest(border=border):
                self.desktop.ipc.command(f"[con_id={view['id']}] border {border}")
                frame = wait_until(lambda: (lambda v: v["deco_rect"]["height"] == 0 and outer_frame(v))(
                    self.desktop.view(viewer.title)), 5, what=f"border {border}")
                count = len(self.saved_files()) + 1
                files = self.snapshot(program, count)
                left, top = frame[0] + CAMERA_OFFSET[0], frame[1] + CAMERA_OFFSET[1]
                expected = self.desktop.screenshot().crop(left, top, *REGULAR)
                self.assertSamePicture(self.read_saved(files[-1]), expected, f"border {border}")

    def test_native_wayland_viewer(self):
        native = os.path.join(self.build.build_dir, "tools", "webcam_viewer_wayland")
        if not os.path.exists(native):
            self.skipTest("no native Wayland sample viewer in this build")
        viewer = self.start_viewer("native cam", (20, 20), program=native)
        self.assertIsNone(self.desktop.view(viewer.title).get("window"), "the viewer is not a Wayland window")
        program = self.start_program(at=(900, 100))
        program.new_cam("native cam")
        files = self.snapshot(program, 1)
        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        self.assertGreater(expected.distinct_colours(), 100, "the viewer's picture is not on the screen")
        self.assertSamePicture(self.read_saved(files[0]), expected, files[0])


if __name__ == "__main__":
    unittest.main()
