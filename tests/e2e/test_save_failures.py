"""The Windows program's failed saves (see save_failure_cases.py), and an ID
holding characters that a Windows file name may not contain."""

import unittest

from save_failure_cases import SaveFailureCases
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


if __name__ == "__main__":
    unittest.main()
