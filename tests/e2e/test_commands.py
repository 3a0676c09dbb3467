"""The Windows program's commands (see commands_cases.py), and those that differ
from the Linux edition's: Preview, which sets the window's outer height, and
Pick Folder with the shell's folder dialog."""

import getpass
import os
import unittest

from commands_cases import CommandCases
from desktop import wait_until
from skellimor import DIALOG_CLASS, DesktopTestCase
from window_face import (CLIENT_SIZE, COLLAPSED_CLIENT_HEIGHT, COLLAPSED_OUTER_HEIGHT, EXPANDED_OUTER_HEIGHT, PREVIEW,
                         folder_label)

FOLDER_DIALOG = "Browse for Folder"
SYSTEM_ICONS = {"question", "exclamation", "information", "error"}


def folder_caption(folder):
    return "Save To: " + folder[-37:]


class CommandsTest(CommandCases, DesktopTestCase):
    # A Windows message box keeps the help's lone carriage returns.
    HELP_LINE_END = "\r"

    def assertNoIcon(self, box):
        # Wine's message box keeps its icon control when it has no icon, and that control
        # has been seen to report an icon handle of its own: no system icon may be there.
        self.assertEqual(set(box.icons) & SYSTEM_ICONS, set(), "the message shows a system icon")

    def test_preview_collapses_and_expands_the_window(self):
        program = self.start_program()
        start = program.info()["rect"]
        for outer_height, client_height, picture in ((COLLAPSED_OUTER_HEIGHT, COLLAPSED_CLIENT_HEIGHT, "prev1"),
                                                     (EXPANDED_OUTER_HEIGHT, CLIENT_SIZE[1], "prev0")):
            program.click(PREVIEW)
            self.desktop.park_pointer()
            info = wait_until(lambda: (i := program.info())["rect"][3] - i["rect"][1] == outer_height and i, 10,
                              what=f"an outer height of {outer_height}")
            self.assertEqual(info["rect"][:3], start[:3], "the window moved or changed its width")
            self.assertEqual(info["client"][3] - info["client"][1], client_height)
            self.assertShows(program, picture)

    def test_pick_folder_chooses_where_snapshots_land(self):
        name = "LongerFolderForSnapshots"
        chosen_dir = os.path.join(self.desktop.desktop_dir, name)
        os.makedirs(chosen_dir)
        self.start_viewer("picker", (20, 20))
        program = self.start_program()
        desktop_folder = f"C:\\users\\{getpass.getuser()}\\Desktop\\"
        self.assertEqual(folder_label(program), folder_caption(desktop_folder))

        chosen = desktop_folder + name + "\\"
        self.assertGreater(len(chosen), 37, "the chosen folder must be long enough to be cut")
        with self.subTest("a folder chosen"):
            dialog = self.open_folder_dialog(program)
            tree = next(c for c in dialog["children"] if c["class"] == "SysTreeView32")
            # Click the tree's root item to give the tree the focus, then find the folder by typing.
            self.desktop.click(tree["rect"][0] + 55, tree["rect"][1] + 8)
            self.desktop.type_text(name[:7])
            self.desktop.key("Return")
            self.wait_folder_dialog_closed()
            self.assertEqual(folder_label(program), folder_caption(chosen))
            self.assertShows(program, "pick0")
        with self.subTest("Cancel"):
            dialog = self.open_folder_dialog(program)
            cancel = next(c for c in dialog["children"] if c["text"] == "Cancel")
            left, top, right, bottom = cancel["rect"]
            self.desktop.click((left + right) // 2, (top + bottom) // 2)
            self.wait_folder_dialog_closed()
            self.assertEqual(folder_label(program), folder_caption(chosen))
        with self.subTest("the next snapshot lands there"):
            program.new_cam("picker")
            self.save_dir = chosen_dir
            self.assertEqual(len(self.snapshot(program, 1)), 1)
            left_on_desktop = [f for f in os.listdir(self.desktop.desktop_dir) if f.endswith(".bmp")]
            self.assertEqual(left_on_desktop, [])

    def open_folder_dialog(self, program):
        program.click(program.layout.middle("pick0"))
        dialog = self.desktop.children(FOLDER_DIALOG, DIALOG_CLASS, wait_ms=15000)
        self.assertIsNotNone(dialog, "the folder dialog did not open")
        self.assertShows(program, "pick1")
        return dialog

    def wait_folder_dialog_closed(self):
        self.assertTrue(self.desktop.window_gone(FOLDER_DIALOG, DIALOG_CLASS, wait_ms=10000),
                        "the folder dialog did not close")


if __name__ == "__main__":
    unittest.main()
