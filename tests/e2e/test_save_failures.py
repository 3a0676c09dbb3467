"""Saves that fail: the user is told in a message, and the program keeps
running, so that the next snapshot into a usable folder works. And a file of
an earlier run is never written over."""

import datetime
import os
import unittest

from cases import REGULAR
from skellimor import SMILEY, DesktopTestCase

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

    def test_a_file_of_an_earlier_run_is_kept_and_the_next_number_taken(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        # Number 0 under every stamp the click can carry.
        now = datetime.datetime.now()
        earlier = {}
        for second in range(-2, 30):
            stamp = (now + datetime.timedelta(seconds=second)).strftime("%m-%d-%Y %H-%M-%S")
            name = f"alice-{stamp} 0.bmp"
            earlier[name] = f"an earlier run's {name}".encode()
            with open(os.path.join(self.save_dir, name), "wb") as f:
                f.write(earlier[name])
        files = self.snapshot(program, len(earlier) + 1)
        new = [name for name in files if name not in earlier]
        self.assertEqual(len(new), 1, new)
        self.assertTrue(new[0].endswith(" 1.bmp"), new[0])
        self.assertSamePicture(self.read_saved(new[0]), viewer.camera_picture(self.desktop.screenshot(), REGULAR),
                               new[0])
        for name, content in earlier.items():
            with open(os.path.join(self.save_dir, name), "rb") as f:
                self.assertEqual(f.read(), content, name)


if __name__ == "__main__":
    unittest.main()
