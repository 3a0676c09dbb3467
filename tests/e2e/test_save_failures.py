"""Saves that fail: the user is told in a message, and the program keeps
running, so that the next snapshot into a usable folder works."""

import os
import unittest

from skellimor import REGULAR, SMILEY, DesktopTestCase

FAILURE_START = "The snapshot could not be saved as"


class SaveFailureTest(DesktopTestCase):
    def assertSaveFails(self, program, user_id):
        program.click(SMILEY)
        box = program.wait_dialog()
        program.close_message(box)
        program.wait_restored()
        self.desktop.park_pointer()
        self.assertTrue(box.message.startswith(FAILURE_START), f"message: {box.message!r}")
        self.assertIn("\\" + user_id + "-", box.message)
        self.assertIn(".bmp", box.message)
        self.assertEqual(box.icons, ["exclamation"])
        self.assertEqual(box.buttons, ["OK"])
        self.assertEqual(program.id_label(), user_id)

    def assertGoodSnapshot(self, program, viewer, number):
        program.new_cam(viewer.user_id)
        files = self.snapshot(program, 1)
        self.assertEqual(len(files), 1, files)
        self.assertTrue(files[0].startswith(viewer.user_id + "-"), files[0])
        self.assertTrue(files[0].endswith(f" {number}.bmp"), files[0])
        picture = self.read_saved(files[0])
        self.assertSamePicture(picture, viewer.camera_picture(self.desktop.screenshot(), REGULAR), files[0])

    def test_missing_folder(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        os.rmdir(self.save_dir)
        self.assertSaveFails(program, "alice")
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
        self.assertSaveFails(program, "alice")
        os.remove(self.save_dir)
        os.makedirs(self.save_dir)
        self.assertGoodSnapshot(program, viewer, 0)

    def test_id_with_characters_a_file_name_cannot_hold(self):
        self.start_viewer("a?b", (20, 20))
        self.start_viewer("a*b", (20, 360))
        good = self.start_viewer("alice", (20, 680))
        program = self.start_program()
        for user_id in ("a?b", "a*b"):
            with self.subTest(user_id=user_id):
                program.new_cam(user_id)
                self.assertSaveFails(program, user_id)
                self.assertEqual(self.saved_files(), [])
        self.assertGoodSnapshot(program, good, 0)


if __name__ == "__main__":
    unittest.main()
