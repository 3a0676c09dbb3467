"""The Linux edition's commands (see commands_cases.py), and those that differ
from the Windows program's: Preview, which sets the client area's height (the
frame is the window manager's), Pick Folder with the edition's folder chooser,
and the program without an X display."""

import os
import subprocess
import unittest

from commands_cases import CommandCases
from desktop import wait_until
from edition import LinuxTestCase, nodes
from window_face import AT_96_DPI

FOLDER_DIALOG = "Browse for Folder"
FOLDER_PROMPT = "Select the Folder to save the images!\nBy the way: they should be caled 'Directories'! DOS Rules!"


def folder_caption(folder):
    return "Save To: " + folder[-37:]


class CommandsTest(CommandCases, LinuxTestCase):
    def test_preview_collapses_and_expands_the_client_area(self):
        program = self.start_program()
        start = program.client()
        for height, picture in ((AT_96_DPI.collapsed_client_height, "prev1"), (AT_96_DPI.client_size[1], "prev0")):
            program.click(program.layout.middle("prev0"))
            self.desktop.park_pointer()
            client = wait_until(lambda: (c := program.client())[3] - c[1] == height and c, 10,
                                what=f"a client height of {height}")
            self.assertEqual(client[:3], start[:3], "the window moved or changed its width")
            self.assertShows(program, picture)

    def test_pick_folder_chooses_where_snapshots_land_and_cancel_keeps_it(self):
        chosen = os.path.join(self.desktop.desktop_dir, "LongerFolderForSnapshots")
        os.makedirs(chosen)
        self.start_viewer("picker", (20, 20))
        program = self.start_program()
        self.assertEqual(program.folder_label(), folder_caption(self.desktop.desktop_dir + "/"))
        with self.subTest("a folder chosen"):
            dialog = self.open_folder_dialog(program)
            self.assertEqual(dialog.texts[0], FOLDER_PROMPT)
            self.desktop.click(*self.edit_box(dialog))
            self.desktop.key("ctrl+a")
            self.desktop.type_text(chosen)
            self.desktop.key("Return")
            wait_until(lambda: not self.folder_dialog(program), 10, what="the folder dialog to close")
            self.assertEqual(program.folder_label(), folder_caption(chosen + "/"))
            self.assertShows(program, "pick0")
        with self.subTest("Cancel"):
            dialog = self.open_folder_dialog(program)
            self.desktop.click(*dialog.button("Cancel"))
            wait_until(lambda: not self.folder_dialog(program), 10, what="the folder dialog to close")
            self.assertEqual(program.folder_label(), folder_caption(chosen + "/"))
        with self.subTest("the next snapshot lands there"):
            program.new_cam("picker")
            self.save_dir = chosen
            self.assertEqual(len(self.snapshot(program, 1)), 1)
            self.assertEqual([f for f in os.listdir(self.desktop.desktop_dir) if f.endswith(".bmp")], [])

    def folder_dialog(self, program):
        return [d for d in program.dialogs() if d.title == FOLDER_DIALOG]

    def open_folder_dialog(self, program):
        program.click(program.layout.middle("pick0"))
        dialog = wait_until(lambda: self.folder_dialog(program), 15, what="the folder dialog")[0]
        program.move_aside(dialog)
        self.assertShows(program, "pick1")
        return wait_until(lambda: self.folder_dialog(program), 15, what="the folder dialog")[0]

    def edit_box(self, dialog):
        for node in nodes(dialog.node, "text"):
            x, y, width, height = node["extents"]
            return x + width // 2, y + height // 2
        raise AssertionError("the folder dialog has no path box")

    def test_without_an_x_display_it_says_so_and_ends_with_status_1(self):
        for unset in (["DISPLAY"], ["DISPLAY", "WAYLAND_DISPLAY"]):
            env = {k: v for k, v in self.desktop.env().items() if k not in unset}
            if "WAYLAND_DISPLAY" not in unset:
                env["WAYLAND_DISPLAY"] = "wayland-0"
            result = subprocess.run([self.build.program], env=env, capture_output=True, text=True, timeout=30)
            with self.subTest(unset=unset):
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stdout, "")
                lines = result.stderr.splitlines()
                self.assertEqual(len(lines), 1, result.stderr)
                self.assertIn("DISPLAY", lines[0])


if __name__ == "__main__":
    unittest.main()
