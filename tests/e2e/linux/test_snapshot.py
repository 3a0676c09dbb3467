"""The Linux edition's snapshots (see snapshot_cases.py): also the clipboard as
image/png, an ID outside ASCII, and viewer windows of other programs (one of the
X toolkit, titled beyond Latin-1)."""

import os
import subprocess
import time
import unittest

from cases import CAMERA_OFFSET, REGULAR, VIEWER_PREFIX
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

    def assertSnapshotOfAnotherProgram(self, user_id, argv, program_env=None):
        """Another program's window titled for the ID, at (60, 50), found by the
        program (started with program_env) and snapshot at its frame's corner."""
        title = VIEWER_PREFIX + user_id
        process = self.desktop.spawn([argv[0], "-title", title, "-geometry", "+60+50", *argv[1:]], log=argv[0])
        self._started.append(process)
        self._titles.append(title)
        window = wait_until(lambda: self.desktop.x_windows(title), 20, what=f"the window of {argv[0]}")[0]
        time.sleep(1)
        program = self.start_program(env=program_env)
        program.new_cam(user_id)
        files = self.snapshot(program, 1)
        x, y = self.desktop.frame_corner(window)
        expected = self.desktop.screenshot().crop(x + CAMERA_OFFSET[0], y + CAMERA_OFFSET[1], *REGULAR)
        self.assertSamePicture(self.read_saved(files[0]), expected, files[0])

    def test_viewer_window_of_another_program(self):
        # An image viewer that names its window with WM_NAME only, showing a picture
        # made here, decorated by the window manager like any other window.
        picture = os.path.join(self.desktop.root, "frame.ppm")
        subprocess.run(["convert", "-size", "400x320", "plasma:fractal", "-seed", "7", picture], check=True,
                       timeout=60)
        self.assertSnapshotOfAnotherProgram("other program", ["display", picture])

    def test_viewer_window_of_the_x_toolkit_titled_beyond_latin1(self):
        # An X toolkit program writes a Latin-2 and Cyrillic title as compound text
        # with escape sequences, and no _NET_WM_NAME. The program runs in the user's
        # locale, here one that the C library has and Xlib has no database for.
        locales = os.path.join(self.desktop.root, "locales")
        os.makedirs(locales, exist_ok=True)
        subprocess.run(["localedef", "-i", "sah_RU", "-f", "UTF-8", os.path.join(locales, "sah_RU.UTF-8")],
                       check=True, capture_output=True, timeout=120)
        env = self.desktop.env()
        env.update({"LOCPATH": locales, "LANG": "sah_RU.UTF-8"})
        self.assertSnapshotOfAnotherProgram("Łukasz-Иван", ["xmessage", "-buttons", "", "A webcam"], env)


if __name__ == "__main__":
    unittest.main()
