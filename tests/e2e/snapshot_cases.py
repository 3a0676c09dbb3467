"""Snapshots of the sample viewer, for both editions: file names and numbering,
file content against the screen at the viewer's frame corner + (26, 44), both
sizes, the picture of each moment, the clipboard, and rapid clicks."""

import datetime
import re
import time

from cases import REGULAR, SMALL

NAME = re.compile(r"^(?P<id>.+)-(?P<mo>\d\d)-(?P<d>\d\d)-(?P<y>\d{4}) (?P<h>\d\d)-(?P<mi>\d\d)-(?P<s>\d\d) (?P<n>\d+)\.bmp$")


class SnapshotCases:
    def assertClipboardHolds(self, expected):
        """What X programs find on the clipboard; an edition checks more where it can."""
        exported = self.desktop.clipboard_bmp()
        self.assertIsNotNone(exported, "X programs find no image/bmp on the clipboard")
        self.assertSamePicture(exported, expected, "clipboard as image/bmp")

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
                picture = self.read_saved(name)
                self.assertEqual(picture.size, REGULAR)
                self.assertSamePicture(picture, expected, name)
        self.assertEqual(sorted(numbers), [0, 1, 2])
        self.assertClipboardHolds(expected)

    def test_small_size_copies_the_top_left_of_the_camera_rectangle(self):
        viewer = self.start_viewer("tiny cam", (20, 20))
        program = self.start_program()
        program.new_cam("tiny cam")
        program.click(program.layout.small_size)
        self.desktop.park_pointer()
        files = self.snapshot(program, 1)

        self.assertEqual(len(files), 1)
        user_id, _, number = self.parse_name(files[0])
        self.assertEqual((user_id, number), ("tiny cam", 0))
        picture = self.read_saved(files[0])
        self.assertEqual(picture.size, SMALL)
        self.assertSamePicture(picture, viewer.camera_picture(self.desktop.screenshot(), SMALL), files[0])
        self.assertClipboardHolds(picture)

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
        x, y = program.client_point(program.layout.middle("Picture1"))
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
        left, top = viewer.client_corner
        self.desktop.click(left + 5, top + 5)
        self.desktop.key("space")
        self.desktop.park_pointer()
        time.sleep(0.3)
