"""The Linux edition under the window managers and compositors people run, each on
a display of its own: the snapshot exact at the viewer's outer frame corner
(wherever the window manager keeps its frame), no trace of the program's window
over the camera and no shadow of it beside the camera, twenty snapshots in a row
with the window back in its place after each, and On Top off and on where the
window manager keeps windows above others.

    python3 -m unittest test_window_managers.OnMutter    (one manager's cases)"""

import sys
import time
import unittest

from cases import REGULAR
from desktop import wait_until
from edition import LinuxTestCase
from window_managers import MANAGERS


class WindowManagerCases:
    SHOTS_IN_A_ROW = 20
    SHOTS_OVER_THE_CAMERA = 4

    def setUp(self):
        super().setUp()
        self.manager = self.WINDOW_MANAGER

    def shot(self, program, count):
        """A click on the smiley once the screen stands still; the saved files."""
        self.desktop.still_screenshot()
        return self.snapshot(program, count)

    def place(self, program):
        """Where the window lies: its client area, and its outer frame's corner."""
        return program.client(), self.desktop.frame_corner(program.window)

    def assertBack(self, program, place):
        """The window shows again at its place, frame and all, not minimised, on top
        and active where the window manager does that."""
        self.assertEqual(self.place(program), place, f"{self.manager}: the window came back elsewhere")
        self.assertTrue(program.state()["viewable"], f"{self.manager}: the window did not come back")
        self.assertNotIn("_NET_WM_STATE_HIDDEN", program.state()["net_wm_state"], f"{self.manager}: minimised")
        if self.manager.keeps_above:
            wait_until(program.is_on_top, 5, what=f"the window on top under {self.manager}")
        if self.manager.activates:
            wait_until(lambda: self.desktop.active_window() == program.window, 5,
                       what=f"the window active under {self.manager} (active: {self.desktop.active_window():#x})")

    def test_snapshot_is_exact_at_the_outer_frames_corner(self):
        viewer = self.start_viewer("framed", (20, 20))
        program = self.start_program()
        program.new_cam("framed")
        files = self.shot(program, 1)
        expected = viewer.camera_picture(self.desktop.still_screenshot(), REGULAR)
        self.assertGreater(expected.distinct_colours(), 100, f"{self.manager}: the viewer's picture is not there")
        self.assertSamePicture(self.read_saved(files[0]), expected, f"{self.manager}: {files[0]}")

    def test_window_over_the_camera_leaves_no_trace(self):
        # The program opens centred on the screen, over this viewer's camera, and
        # is moved, still over it, as a user moves a window: where it lies is then
        # no longer where it was first shown.
        viewer = self.start_viewer("covered", (300, 250))
        expected = viewer.camera_picture(self.desktop.still_screenshot(), REGULAR)
        program = self.start_program()
        program.new_cam("covered")
        first = self.place(program)
        self.desktop.xdotool("windowmove", "--sync", str(program.window), "350", "300")
        wait_until(lambda: self.place(program) != first, 5, what=f"{self.manager} to move the window")
        program.wait_restored()
        place = self.place(program)
        for count in range(1, self.SHOTS_OVER_THE_CAMERA + 1):
            files = self.shot(program, count)
            self.assertBack(program, place)
        for name in files:
            self.assertSamePicture(self.read_saved(name), expected, f"{self.manager}: {name}")

    def test_window_beside_the_camera_leaves_no_shadow(self):
        viewer = self.start_viewer("beside", (20, 20))
        expected = viewer.camera_picture(self.desktop.still_screenshot(), REGULAR)
        program = self.start_program()
        program.new_cam("beside")
        # The window's frame a few pixels right of the camera rectangle.
        camera_right = viewer.camera_origin()[0] + REGULAR[0]
        client = program.client()
        frame_width = client[0] - self.desktop.frame_corner(program.window)[0]
        self.desktop.xdotool("windowmove", "--sync", str(program.window), str(camera_right + 6 + frame_width),
                             str(client[1]))
        wait_until(lambda: camera_right < self.desktop.frame_corner(program.window)[0] <= camera_right + 12, 5,
                   what=f"{self.manager} to put the window's frame just right of the camera")
        files = self.shot(program, 1)
        self.assertSamePicture(self.read_saved(files[0]), expected, f"{self.manager}: {files[0]}")

    def test_snapshots_in_a_row_are_numbered_in_order_with_the_window_back_each_time(self):
        viewer = self.start_viewer("row", (20, 20))
        expected = viewer.camera_picture(self.desktop.still_screenshot(), REGULAR)
        program = self.start_program()
        program.new_cam("row")
        place = self.place(program)
        client = place[0]
        x, y = program.client_point(program.layout.middle("Picture1"))
        self.desktop.xdotool("mousemove", "--sync", str(x), str(y))
        for count in range(1, self.SHOTS_IN_A_ROW + 1):
            self.desktop.xdotool("click", "1")
            self.wait_saved(count)
            # The next click once the window is back and the snapshot over (a click
            # while it runs is not taken).
            time.sleep(0.25)
            wait_until(lambda: program.client() == client and program.state()["viewable"] and
                       "_NET_WM_STATE_HIDDEN" not in program.state()["net_wm_state"], 5,
                       interval=0.01, what=f"the window back under {self.manager}")
        files = self.saved_files()
        numbers = sorted(int(name.rsplit(" ", 1)[1][:-len(".bmp")]) for name in files)
        self.assertEqual(numbers, list(range(self.SHOTS_IN_A_ROW)), f"{self.manager}: {files}")
        for name in files:
            self.assertSamePicture(self.read_saved(name), expected, f"{self.manager}: {name}")
        self.desktop.park_pointer()
        program.wait_restored()
        self.assertBack(program, place)

    def test_on_top_goes_off_and_on(self):
        if not self.manager.keeps_above:
            self.skipTest(f"{self.manager} keeps no window above others")
        program = self.start_program()
        self.assertTrue(wait_until(program.is_on_top, 5, what="On Top at start"))
        for on in (False, True):
            program.click(program.layout.middle("ontop0" if not on else "ontop1"))
            wait_until(lambda: program.is_on_top() == on, 5, what=f"On Top {'on' if on else 'off'}")


# One test class per window manager, named after it.
for _name, _manager in MANAGERS.items():
    setattr(sys.modules[__name__], "On" + _name,
            type("On" + _name, (WindowManagerCases, LinuxTestCase), {"WINDOW_MANAGER": _manager}))


if __name__ == "__main__":
    unittest.main()
