"""Snapshots of X11 windows with the Linux edition, through real input: file
names and numbering, file content against the screen at the viewer's frame
corner + (26, 44), both sizes, the clipboard as image/bmp and image/png, an ID
outside ASCII, a viewer of another program, and rapid clicks."""

import datetime
import os
import re
import subprocess
import time
import unittest

from cases import REGULAR, SMALL
from desktop import wait_until
from edition import LinuxTestCase
from images import parse_ppm

NAME = re.compile(r"^(?P<id>.+)-(?P<mo>\d\d)-(?P<d>\d\d)-(?P<y>\d{4}) (?P<h>\d\d)-(?P<mi>\d\d)-(?P<s>\d\d) (?P<n>\d+)\.bmp$")


class SnapshotTest(LinuxTestCase):
    def parse_name(self, name):
        match = NAME.match(name)
        self.assertIsNotNone(match, f"file name {name!r} is not 'ID-mm-dd-yyyy hh-nn-ss N.bmp'")
        stamp = datetime.datetime(int(match["y"]), int(match["mo"]), int(match["d"]),
                                  int(match["h"]), int(match["mi"]), int(match["s"]))
        return match["id"], stamp, int(match["n"])

    def clipboard_png(self):
        data = self.desktop.clipboard("image/png")
        self.assertIsNotNone(data, "X programs find no image/png on the clipboard")
        ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=data, capture_output=True,
                             check=True, timeout=30).stdout
        return parse_ppm(ppm)

    def test_regular_snapshots_are_numbered_and_copy_the_camera_rectangle(self):
        viewer = self.start_viewer("alice99", (20, 20))
        program = self.start_program()
        program.new_cam("alice99")
        self.assertEqual(program.id_label(), "alice99")

        before = datetime.datetime.now().replace(microsecond=0) - datetime.timedelta(seconds=1)
        for count in (1, 2, 3):
            files = self.snapshot(program, count)
        after = datetime.datetime.now() + datetime.timedelta(seconds=1)

        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        self.assertGreater(expected.distinct_colours(), 100, "the viewer's picture is not on the screen")
        numbers = []
        for name in files:
            with self.subTest(file=name):
                user_id, stamp, number = self.parse_name(name)
                self.assertEqual(user_id, "alice99")
                self.assertTrue(before <= stamp <= after, f"stamp {stamp} not between {before} and {after}")
                numbers.append(number)
                self.assertSamePicture(self.read_saved(name), expected, name)
        self.assertEqual(sorted(numbers), [0, 1, 2])
        self.assertSamePicture(self.desktop.clipboard_bmp(), expected, "clipboard as image/bmp")
        self.assertSamePicture(self.clipboard_png(), expected, "clipboard as image/png")

    def test_small_size_copies_the_top_left_of_the_camera_rectangle(self):
        viewer = self.start_viewer("tiny cam", (20, 20))
        program = self.start_program()
        program.new_cam("tiny cam")
        program.click(program.layout.small_size)
        self.desktop.park_pointer()
        files = self.snapshot(program, 1)
        self.assertEqual(self.parse_name(files[0])[::2], ("tiny cam", 0))
        picture = self.read_saved(files[0])
        self.assertEqual(picture.size, SMALL)
        self.assertSamePicture(picture, viewer.camera_picture(self.desktop.screenshot(), SMALL), files[0])
        self.assertSamePicture(self.desktop.clipboard_bmp(), picture, "clipboard")

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

    def test_rapid_clicks_never_overlap_nor_lose_or_repeat_a_number(self):
        viewer = self.start_viewer("burst", (20, 20))
        program = self.start_program()
        program.new_cam("burst")
        x, y = program.client_point(program.layout.middle("Picture1"))
        self.desktop.xdotool("mousemove", "--sync", str(x), str(y))
        self.desktop.xdotool("click", "--repeat", "12", "--delay", "15", "1")
        self.wait_saved(1)
        time.sleep(3)
        program.wait_restored()
        files = self.saved_files()
        numbers = sorted(self.parse_name(name)[2] for name in files)
        self.assertEqual(numbers, list(range(len(files))), f"numbers lost or repeated: {files}")
        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        for name in files:
            with self.subTest(file=name):
                self.assertSamePicture(self.read_saved(name), expected, name)


if __name__ == "__main__":
    unittest.main()
