"""Saves the Linux edition cannot make: the user is told in a message, and the
program keeps running, so that the next snapshot into a usable folder works."""

import os
import unittest

from cases import REGULAR
from edition import TITLE, LinuxTestCase

FAILURE_START = "The snapshot could not be saved as"


class SaveFailureTest(LinuxTestCase):
    def assertSaveFails(self, program, user_id, reason):
        program.click(program.layout.middle("Picture1"))
        box = program.wait_dialog()
        program.close_message(box)
        program.wait_restored()
        self.desktop.park_pointer()
        self.assertEqual(box.title, TITLE)
        self.assertTrue(box.message.startswith(FAILURE_START), f"message: {box.message!r}")
        self.assertIn("/" + user_id + "-", box.message)
        self.assertIn(reason, box.message)
        self.assertEqual(box.buttons, ["OK"])
        self.assertEqual(program.id_label(), user_id)
        self.assertIsNone(program.process.poll(), "the program ended")

    def assertGoodSnapshot(self, program, viewer, number):
        program.new_cam(viewer.user_id)
        files = self.snapshot(program, 1)
        self.assertEqual(len(files), 1, files)
        self.assertTrue(files[0].startswith(viewer.user_id + "-") and files[0].endswith(f" {number}.bmp"), files)
        self.assertSamePicture(self.read_saved(files[0]), viewer.camera_picture(self.desktop.screenshot(), REGULAR),
                               files[0])

    def test_missing_folder(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        os.rmdir(self.save_dir)
        self.assertSaveFails(program, "alice", "The folder does not exist")
        os.makedirs(self.save_dir)
        # A failed save uses up no number.
        self.assertGoodSnapshot(program, viewer, 0)

    def test_folder_path_that_is_a_file(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        os.rmdir(self.save_dir)
        with open(self.save_dir, "w") as f:
            f.write("not a folder")
        self.assertSaveFails(program, "alice", "The folder does not exist")
        os.remove(self.save_dir)
        os.makedirs(self.save_dir)
        self.assertGoodSnapshot(program, viewer, 0)

    def test_id_with_a_slash_into_a_folder_that_does_not_exist(self):
        self.start_viewer("sub/bob", (20, 20))
        good = self.start_viewer("alice", (20, 380))
        program = self.start_program()
        program.new_cam("sub/bob")
        self.assertSaveFails(program, "sub/bob", "The folder does not exist")
        self.assertEqual(self.saved_files(), [])
        self.assertGoodSnapshot(program, good, 0)


if __name__ == "__main__":
    unittest.main()
