"""The Windows program's snapshots (see snapshot_cases.py): also the bitmap on
the Windows clipboard, and the window minimised for the grab and back."""

import time
import unittest

from cases import REGULAR
from skellimor import DesktopTestCase
from snapshot_cases import SnapshotCases


class SnapshotTest(SnapshotCases, DesktopTestCase):
    def assertClipboardHolds(self, expected):
        clipboard = self.desktop.probe("clipboard")
        self.assertTrue(clipboard["bitmap"], f"no bitmap on the clipboard: {clipboard}")
        self.assertEqual((clipboard["width"], clipboard["height"]), expected.size)
        super().assertClipboardHolds(expected)

    def test_window_gets_out_of_the_way_for_the_grab_and_comes_back(self):
        viewer = self.start_viewer("alice99", (20, 20))
        program = self.start_program()
        program.new_cam("alice99")
        ever_minimised = program.watch_minimising(6000)
        time.sleep(0.5)  # the watch is on before the click
        self.snapshot(program, 1)
        self.assertTrue(ever_minimised(), "the window did not get out of the way for the grab")
        self.assertFalse(program.info()["iconic"], "the window did not come back")
        self.assertSamePicture(self.read_saved(self.saved_files()[0]),
                               viewer.camera_picture(self.desktop.screenshot(), REGULAR), "snapshot")


if __name__ == "__main__":
    unittest.main()
