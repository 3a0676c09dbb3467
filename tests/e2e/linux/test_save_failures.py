"""The Linux edition's failed saves (see save_failure_cases.py), and an ID with
a "/" that names a folder that does not exist."""

import unittest

from edition import LinuxTestCase
from save_failure_cases import MISSING_FOLDER, SaveFailureCases


class SaveFailureTest(SaveFailureCases, LinuxTestCase):
    def test_id_with_a_slash_into_a_folder_that_does_not_exist(self):
        self.start_viewer("sub/bob", (20, 20))
        good = self.start_viewer("alice", (20, 380))
        program = self.start_program()
        program.new_cam("sub/bob")
        self.assertSaveFails(program, "sub/bob", MISSING_FOLDER)
        self.assertEqual(self.saved_files(), [])
        self.assertGoodSnapshot(program, good, 0)


if __name__ == "__main__":
    unittest.main()
