"""Snapshots of the sample viewer with the real program: file names and
numbering, file content against the screen, both sizes, and the clipboard."""

import datetime
import re
import time
import unittest

from cases import REGULAR, SMALL
from skellimor import SMALL_SIZE, SMILEY, TITLE, DesktopTestCase

NAME = re.compile(r"^(?P<id>.+)-(?P<mo>\d\d)-(?P<d>\d\d)-(?P<y>\d{4}) (?P<h>\d\d)-(?P<mi>\d\d)-(?P<s>\d\d) (?P<n>\d+)\.bmp$")


class SnapshotTest(DesktopTestCase):
    def parse_name(self, name):
        match = NAME.match(name)
        self.assertIsNotNone(match, f"file name {name!r} is not 'ID-mm-dd-yyyy hh-nn-ss N.bmp'")
        stamp = datetime.datetime(int(match["y"]), int(match["mo"]), int(match["d"]),
                                  int(match["h"]), int(match["mi"]), int(match["s"]))
        return match["id"], stamp, int(match["n"])

    def test_regular_snapshots_are_numbered_and_copy_the_camera_rectangle(self):
        viewer = self.start_viewer("alice99", (20, 20))
        program = self.start_program()
        program.new_cam("alice99")
        self.assertEqual(program.id_label(), "alice99")

        before = datetime.datetime.now().replace(microsecond=0) - datetime.timedelta(seconds=1)
        watch = self.desktop.start_watch(TITLE, 6000)
        time.sleep(0.5)  # the watcher is sampling before the click
        self.snapshot(program, 1)
        seen = watch()
        self.assertTrue(seen["ever_iconic"], "the window did not get out of the way for the grab")
        self.assertTrue(seen["present"] and not seen["iconic"], "the window did not come back")
        self.snapshot(program, 2)
        files = self.snapshot(program, 3)
        after = datetime.datetime.now() + datetime.timedelta(seconds=1)

        screen = self.desktop.screenshot()
        expected = viewer.camera_picture(screen, REGULAR)
        self.assertGreater(expected.distinct_colours(), 100, "the viewer's picture is not on the screen")

        numbers = []
        for name in files:
            with self.subTest(file=name):
                user_id, stamp, number = self.parse_name(name)
                self.assertEqual(user_id, "alice99")
                self.assertTrue(before <= stamp <= after, f"stamp {stamp} not between {before} and {after}")
                numbers.append(number)
                picture = self.read_saved(name)
                self.assertEqual(picture.size, REGULAR)
                self.assertSamePicture(picture, expected, name)
        self.assertEqual(sorted(numbers), [0, 1, 2])

        clipboard = self.desktop.probe("clipboard")
        self.assertTrue(clipboard["bitmap"], f"no bitmap on the clipboard: {clipboard}")
        self.assertEqual((clipboard["width"], clipboard["height"]), REGULAR)
        exported = self.desktop.clipboard_bmp()
        self.assertIsNotNone(exported, "X programs find no image/bmp on the clipboard")
        self.assertSamePicture(exported, expected, "clipboard")

    def test_small_size_copies_the_top_left_of_the_camera_rectangle(self):
        viewer = self.start_viewer("tiny cam", (20, 20))
        program = self.start_program()
        program.new_cam("tiny cam")
        program.click(SMALL_SIZE)
        self.desktop.park_pointer()
        files = self.snapshot(program, 1)

        self.assertEqual(len(files), 1)
        user_id, _, number = self.parse_name(files[0])
        self.assertEqual((user_id, number), ("tiny cam", 0))
        picture = self.read_saved(files[0])
        self.assertEqual(picture.size, SMALL)
        self.assertSamePicture(picture, viewer.camera_picture(self.desktop.screenshot(), SMALL), files[0])
        self.assertSamePicture(self.desktop.clipboard_bmp(), picture, "clipboard")

    def test_each_snapshot_shows_the_picture_of_its_moment(self):
        viewer = self.start_viewer("mover", (20, 20))
        program = self.start_program()
        program.new_cam("mover")
        expected = {}
        for number in (0, 1):
            self.snapshot(program, number + 1)
            expected[number] = viewer.camera_picture(self.desktop.screenshot())
            self.advance_frame(viewer)
        self.assertNotEqual(expected[0].pixels, expected[1].pixels, "the viewer's frame did not change")
        for name in self.saved_files():
            number = self.parse_name(name)[2]
            with self.subTest(file=name):
                self.assertSamePicture(self.read_saved(name), expected[number], name)

    def test_rapid_clicks_never_overlap_nor_lose_or_repeat_a_number(self):
        viewer = self.start_viewer("burst", (20, 20))
        program = self.start_program()
        program.new_cam("burst")
        x, y = program.client_point(SMILEY)
        self.desktop.xdotool("mousemove", "--sync", str(x), str(y))
        # Clicks queued while a snapshot runs, some of them during its yield.
        self.desktop.xdotool("click", "--repeat", "12", "--delay", "15", "1")
        self.wait_saved(1)
        time.sleep(3)  # every queued click has been handled
        program.wait_restored()
        files = self.saved_files()
        numbers = sorted(self.parse_name(name)[2] for name in files)
        self.assertEqual(numbers, list(range(len(files))), f"numbers lost or repeated: {files}")
        expected = viewer.camera_picture(self.desktop.screenshot(), REGULAR)
        for name in files:
            with self.subTest(file=name):
                self.assertSamePicture(self.read_saved(name), expected, name)

    def advance_frame(self, viewer):
        """A key press in the viewer, which it answers with its next frame."""
        left, top = viewer.window["client"][:2]
        self.desktop.click(left + 5, top + 5)
        self.desktop.key("space")
        self.desktop.park_pointer()
        time.sleep(0.3)

if __name__ == "__main__":
    unittest.main()
