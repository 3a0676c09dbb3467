"""The Windows program's failed saves (see save_failure_cases.py), IDs that make
names Windows treats specially (refused by the program before anything is
created, so that the picture cannot vanish into a stream or a device), and a path
longer than MAX_PATH, written whole."""

import os
import unittest

from cases import REGULAR
from desktop import wait_until
from images import parse_bmp

from save_failure_cases import FAILURE_START, SaveFailureCases
from skellimor import DesktopTestCase


class SaveFailureTest(SaveFailureCases, DesktopTestCase):
    FOLDER_SEPARATOR = "\\"

    def assertWarningIcon(self, box):
        self.assertEqual(box.icons, ["exclamation"])

    def test_id_with_characters_a_file_name_cannot_hold(self):
        self.start_viewer("a?b", (20, 20))
        self.start_viewer("a*b", (20, 360))
        good = self.start_viewer("alice", (20, 680))
        program = self.start_program()
        for user_id in ("a?b", "a*b"):
            with self.subTest(user_id=user_id):
                program.new_cam(user_id)
                self.assertSaveFails(program, user_id, "characters that a file name may not contain")
                self.assertEqual(self.saved_files(), [])
        self.assertGoodSnapshot(program, good, 0)

    def test_names_windows_treats_specially_are_refused_before_anything_is_created(self):
        cases = {"bob:cam": "characters that a file name may not contain", "CON\\cam": "for a device",
                 "cams.\\bob": "ends in a dot or a space"}
        for row, user_id in enumerate(cases):
            self.start_viewer(user_id, (20 + 30 * row, 20 + 30 * row))
        program = self.start_program()
        for user_id, reason in cases.items():
            with self.subTest(user_id=user_id):
                program.new_cam(user_id)
                program.click(program.layout.middle("Picture1"))
                box = program.wait_dialog()
                program.close_message(box)
                program.wait_restored()
                self.assertTrue(box.message.startswith(FAILURE_START), f"message: {box.message!r}")
                self.assertIn(reason, box.message)
                self.assertEqual(program.id_label(), user_id)
                self.assertEqual(os.listdir(self.save_dir), [], "something was created")

    def test_a_path_longer_than_max_path_is_written_whole(self):
        folders = ["a" * 100, "b" * 100]
        os.makedirs(os.path.join(self.save_dir, *folders))
        user_id = "\\".join(folders) + "\\bob"
        viewer = self.start_viewer(user_id, (20, 20))
        program = self.start_program()
        program.new_cam(user_id)
        program.click(program.layout.middle("Picture1"))
        inner = os.path.join(self.save_dir, *folders)
        name = wait_until(lambda: os.listdir(inner), 15, what="the file in the long path")[0]
        program.wait_restored()
        self.assertEqual(program.dialogs(), [])
        with open(os.path.join(inner, name), "rb") as f:
            picture = parse_bmp(f.read())
        self.assertSamePicture(picture, viewer.camera_picture(self.desktop.screenshot(), REGULAR), name)


if __name__ == "__main__":
    unittest.main()
