"""The ZIP that Windows users download: exactly the program of the shipping
build, a read-me and the licence that Notepad on Windows XP shows, in entries
that carry nothing of the machine that packed them."""

import os
import unittest
import zipfile

EXE_NAME = "Morvath's Skellimor.exe"
README_NAME = "README.txt"
LICENCE_NAME = "LICENSE.txt"


class WindowsZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.zip = zipfile.ZipFile(os.environ["SKELLIMOR_WIN32_ZIP"])
        cls.addClassCleanup(cls.zip.close)

    def test_holds_exactly_the_program_the_read_me_and_the_licence(self):
        self.assertEqual(self.zip.namelist(), [EXE_NAME, README_NAME, LICENCE_NAME])
        self.assertIsNone(self.zip.testzip(), "an entry does not match its checksum")

    def test_program_is_the_shipping_build(self):
        exe = os.path.join(os.environ["SKELLIMOR_WIN32_BUILD"], "window", EXE_NAME)
        with open(exe, "rb") as f:
            self.assertEqual(self.zip.read(EXE_NAME), f.read())

    def test_read_me_and_licence_are_plain_text_with_windows_line_ends(self):
        for name in (README_NAME, LICENCE_NAME):
            with self.subTest(name):
                text = self.zip.read(name)
                text.decode("ascii")  # any code page shows it alike
                self.assertTrue(text.endswith(b"\r\n"))
                self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "a line ends without CR")
                self.assertEqual(text.count(b"\r"), text.count(b"\r\n"), "a CR without LF")
        licence = self.zip.read(LICENCE_NAME).decode("ascii")
        self.assertIn("MIT License", licence)
        self.assertIn("the Morvath's Skellimor authors", licence)

    def test_read_me_says_what_it_runs_on_and_what_it_writes(self):
        text = self.zip.read(README_NAME).decode("ascii")
        self.assertIn("Windows XP with Service Pack 3", text)
        self.assertIn("keeps no settings", text)
        self.assertIn("snapshot files", text)

    def test_entries_carry_one_fixed_time_and_no_owner_or_permissions(self):
        for info in self.zip.infolist():
            with self.subTest(info.filename):
                self.assertEqual(info.date_time, (2026, 1, 1, 0, 0, 0))
                self.assertEqual(info.create_system, 0, "packed with Unix attributes")
                self.assertEqual(info.extra, b"", "extra fields (owner, access times) in the entry")
                self.assertEqual(info.compress_type, zipfile.ZIP_DEFLATED)  # what XP's compressed folders open


if __name__ == "__main__":
    unittest.main()
