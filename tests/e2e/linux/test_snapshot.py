"""The Linux edition's snapshots (see snapshot_cases.py): also the clipboard as
image/png, an ID outside ASCII, and a viewer window of another program."""

import os
import subprocess
import time
import unittest

from cases import REGULAR
from desktop import wait_until
from edition import LinuxTestCase
from images import parse_ppm
from snapshot_cases import SnapshotCases


class SnapshotTest(SnapshotCases, LinuxTestCase):
    def assertClipboardHolds(self, expected):
        super().assertClipboardHolds(expected)
        data = self.desktop.clipboard("image/png")
        self.assertIsNotNone(data, "X programs find no image/png on the clipboard")
        ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=data, capture_output=True,
                             check=True, timeout=30).stdout
        self.assertSamePicture(parse_ppm(ppm), expected, "clipboard as image/png")

    def test_id_outside_ascii(self):
        user_id = "Łukasz-東京"
        viewer = self.start_viewer(user_id, (40, 30))
        program = self.start_program()
        program.new_cam(user_id)
        self.assertEqual(program.id_label(), user_id)
        files = self.snapshot(program, 1)
        self.assertEqual(self.parse_name(files[0])[0], user_id)
        self.assertSamePicture(self.read_saved(files[0]), viewer.camera_picture(self.desktop.screenshot()), files[0])

    def test_viewer_window_of_another_program(self):
        # An image viewer that names its window with WM_NAME only, showing a picture
        # made here, decorated by the window manager like any other window.
        picture = os.path.join(self.desktop.root, "frame.ppm")
        subprocess.run(["convert", "-size", "400x320", "plasma:fractal", "-seed", "7", picture], check=True,
                       timeout=60)
        title = "Webcam for other program"
        process = self.desktop.spawn(["display", "-title", title, "-geometry", "+60+50", picture], log="display")
        self._started.append(process)
        self._titles.append(title)
        window = wait_until(lambda: self.desktop.x_windows(title), 20, what="the image viewer")[0]
        time.sleep(1)
        program = self.start_program()
        program.new_cam("other program")
        files = self.snapshot(program, 1)
        x, y = self.desktop.frame_corner(window)
        expected = self.desktop.screenshot().crop(x + 26, y + 44, *REGULAR)
        self.assertSamePicture(self.read_saved(files[0]), expected, files[0])


if __name__ == "__main__":
    unittest.main()
