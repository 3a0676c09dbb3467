"""Every command of the Linux edition's window but the snapshot, with real input:
New Cam, On Top, Preview, Directions, the banner, the OS option, Pick Folder and
Cancel, and Exit with status 0; and the program without an X display."""

import os
import subprocess
import tempfile
import time
import unittest

from desktop import wait_until
from edition import TITLE, LinuxTestCase, nodes
from window_face import AT_96_DPI, picture_problems, settled

NEW_CAM_PROMPT = "Enter the ID of the person's cam to grab"
FOLDER_DIALOG = "Browse for Folder"
FOLDER_PROMPT = "Select the Folder to save the images!\nBy the way: they should be caled 'Directories'! DOS Rules!"
OPTION_9X = "Set For: 95/98/98SE/ME"
OPTION_NT = "Set For: NT/2000/XP"
HOME_PAGE = "http://morvath.example/"
# The help message as the box shows it: each lone carriage return a line break.
HELP_TEXT = "\n".join([
    "Do the following steps:",
    "1.) Select a folder to put the pictures in.(optional)",
    "2.) Press the 'New Cam' button, and type the ID of the person's cam. (Cam need not be on yet.)",
    "4.) When the webcam has started, select 'small size' for cams that are displaying ... well ... small.",
    "3.) Press the smiley to save a snapshot of the web cam.",
    "4.) Continue to click the smiley to take more snapshots!",
    "5.) Use the 'On Top' option to keep this program on top of all other programs for your convenience.",
    "",
    "Note: If you have XP, and the XP Theme is turned on, then there will be a small part cut off the bottom of the "
    "saved pics.",
    "",
    "On a totally unrelated subject, why does Hollywood keep making movies 'based' on old movies or tv shows and "
    "then screw up the original? Don't they even WATCH the origional?",
])

# Stands in for the desktop's URL handler: records each call's arguments.
FAKE_BROWSER = """#!/bin/sh
printf '%s\\n' "$*" >> "{calls}"
"""


def folder_caption(folder):
    return "Save To: " + folder[-37:]


class CommandsTest(LinuxTestCase):
    def assertShows(self, program, name):
        self.assertEqual(settled(program, lambda client: picture_problems(client, name)), [], f"{name} not shown")

    def test_new_cam_asks_for_the_id_and_keeps_it_as_typed(self):
        program = self.start_program()
        with self.subTest("right button, then Cancel"):
            program.click(program.layout.middle("newcam0"), button=3)
            box = program.wait_dialog()
            self.assertEqual((box.title, box.texts), (TITLE, [NEW_CAM_PROMPT]))
            self.assertEqual(box.buttons, ["OK", "Cancel"])
            self.desktop.park_pointer()
            self.assertShows(program, "newcam1")
            self.desktop.key("Escape")
            program.wait_no_dialog()
            self.assertEqual(program.id_label(), "")
            self.assertShows(program, "newcam0")
        with self.subTest("spaces around the answer stay"):
            program.new_cam(" bob ")
            self.assertEqual(program.id_label(), " bob ")

    def test_on_top_switches_the_window_manager_state_off_and_on(self):
        program = self.start_program()
        self.assertIn("_NET_WM_STATE_ABOVE", program.state()["net_wm_state"])
        place = program.client()
        for above, picture in ((False, "ontop1"), (True, "ontop0")):
            program.click(program.layout.middle("ontop0"))
            self.desktop.park_pointer()
            wait_until(lambda: ("_NET_WM_STATE_ABOVE" in program.state()["net_wm_state"]) == above, 10,
                       what=f"above {above}")
            self.assertShows(program, picture)
            self.assertEqual(program.client(), place, "the window moved")

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

    def test_directions_shows_the_help_with_the_button_pressed(self):
        program = self.start_program()
        program.click(program.layout.middle("directions0"))
        box = program.wait_dialog()
        self.assertEqual((box.title, box.texts, box.buttons), (TITLE, [HELP_TEXT], ["OK"]))
        self.move_aside(TITLE, program)
        self.desktop.park_pointer()
        self.assertShows(program, "directions1")
        program.close_message(program.wait_dialog())
        self.assertShows(program, "directions0")

    def test_banner_opens_the_home_page_with_the_url_handler(self):
        folder = tempfile.mkdtemp(dir=self.desktop.root)
        calls = os.path.join(folder, "calls")
        script = os.path.join(folder, "xdg-open")
        with open(script, "w") as f:
            f.write(FAKE_BROWSER.format(calls=calls))
        os.chmod(script, 0o755)
        env = self.desktop.env()
        env["PATH"] = folder + os.pathsep + env["PATH"]
        program = self.start_program(env=env)
        program.click(program.layout.middle("brellow"))
        wait_until(lambda: os.path.exists(calls), 20, what="the URL handler to be started")
        time.sleep(0.5)
        with open(calls) as f:
            self.assertEqual(f.read().splitlines(), [HOME_PAGE])
        self.assertEqual(program.dialogs(), [])

    def test_os_option_keeps_the_nt_family(self):
        program = self.start_program()
        self.assertEqual({k: v for k, v in program.options().items() if k.startswith("Set For")},
                         {OPTION_9X: False, OPTION_NT: True})
        program.click((60, 38))
        self.desktop.park_pointer()
        time.sleep(0.5)
        self.assertEqual(program.options()[OPTION_NT], True)
        self.assertEqual(program.options()[OPTION_9X], False)

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
        wait_until(lambda: self.folder_dialog(program), 15, what="the folder dialog")
        self.move_aside(FOLDER_DIALOG, program)
        self.assertShows(program, "pick1")
        return wait_until(lambda: self.folder_dialog(program), 15, what="the folder dialog")[0]

    def move_aside(self, title, program):
        """Moves the program's dialog with this title off its window, so that the window shows."""
        for window in self.desktop.x_windows(title):
            if window != program.window:
                self.desktop.xdotool("windowmove", "--sync", str(window), "20", "560")

    def edit_box(self, dialog):
        for node in nodes(dialog.node, "text"):
            x, y, width, height = node["extents"]
            return x + width // 2, y + height // 2
        raise AssertionError("the folder dialog has no path box")

    def test_exit_ends_the_program_with_status_0(self):
        program = self.start_program()
        program.click(program.layout.middle("xit"))
        self.assertEqual(program.process.wait(20), 0)
        wait_until(lambda: not self.desktop.x_windows(TITLE), 10, what="the window to close")

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
