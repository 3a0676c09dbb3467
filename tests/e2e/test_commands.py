"""Every command of the main window but the snapshot, with the real program and
real input: On Top, Preview, Directions, the banner, New Cam, the OS option,
Pick Folder and Exit."""

import getpass
import os
import shutil
import tempfile
import time
import unittest

from desktop import wait_until
from skellimor import DIALOG_CLASS, EXIT, NEW_CAM, TITLE, DesktopTestCase
from window_face import (BANNER, CLIENT_SIZE, COLLAPSED_CLIENT_HEIGHT, COLLAPSED_OUTER_HEIGHT, DIRECTIONS,
                         EXPANDED_OUTER_HEIGHT, ON_TOP, OPTION_9X, PICK_FOLDER, PREVIEW, folder_label, move_dialog,
                         picture_problems, settled)

HOME_PAGE = "http://morvath.example/"
NEW_CAM_PROMPT = "Enter the ID of the person's cam to grab"
FOLDER_DIALOG = "Browse for Folder"
OPTION_9X_TEXT = "Set For: 95/98/98SE/ME"
OPTION_NT_TEXT = "Set For: NT/2000/XP"
SYSTEM_ICONS = {"question", "exclamation", "information", "error"}

# The help message: each piece with what follows it.
HELP_PIECES = [
    ("Do the following steps:", "\r"),
    ("1.) Select a folder to put the pictures in.(optional)", "\r"),
    ("2.) Press the 'New Cam' button, and type the ID of the person's cam. (Cam need not be on yet.)", "\r"),
    ("4.) When the webcam has started, select 'small size' for cams that are displaying ... well ... small.", "\r"),
    ("3.) Press the smiley to save a snapshot of the web cam.", "\r"),
    ("4.) Continue to click the smiley to take more snapshots!", "\r"),
    ("5.) Use the 'On Top' option to keep this program on top of all other programs for your convenience.",
     "\r\r"),
    ("Note: If you have XP, and the XP Theme is turned on, then there will be a small part cut off the bottom of "
     "the saved pics.", "\r\r"),
    ("On a totally unrelated subject, why does Hollywood keep making movies 'based' on old movies or tv shows and "
     "then screw up the original? Don't they even WATCH the origional?", ""),
]
HELP_TEXT = "".join(piece + after for piece, after in HELP_PIECES)

# Stands in for the web browser that Wine's shell starts: records each call's
# arguments, tab-separated, one call per line.
FAKE_BROWSER = """#!/bin/sh
(IFS="$(printf '\\t')"; printf '%s\\n' "$*") >> "{calls}"
"""


def folder_caption(folder):
    return "Save To: " + folder[-37:]


class CommandsTest(DesktopTestCase):
    @classmethod
    def setUpClass(cls):
        # Wine's browser launcher looks for xdg-open on the PATH of the program's process.
        cls.browser_dir = tempfile.mkdtemp(prefix="skellimor-browser-")
        cls.browser_calls = os.path.join(cls.browser_dir, "calls")
        script = os.path.join(cls.browser_dir, "xdg-open")
        with open(script, "w") as f:
            f.write(FAKE_BROWSER.format(calls=cls.browser_calls))
        os.chmod(script, 0o755)
        cls.saved_path = os.environ["PATH"]
        os.environ["PATH"] = cls.browser_dir + os.pathsep + cls.saved_path
        try:
            super().setUpClass()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        os.environ["PATH"] = cls.saved_path
        shutil.rmtree(cls.browser_dir, ignore_errors=True)

    def assertShows(self, program, name):
        self.assertEqual(settled(program, lambda client: picture_problems(client, name)), [], f"{name} not shown")

    def option_states(self, program):
        return {c["text"]: c["checked"] for c in program.children() if c["text"] in (OPTION_9X_TEXT, OPTION_NT_TEXT)}

    def test_on_top_switches_off_and_on(self):
        program = self.start_program()
        self.assertTrue(program.info()["topmost"], "the window is not topmost after start")
        for topmost, picture in ((False, "ontop1"), (True, "ontop0")):
            program.click(ON_TOP)
            self.desktop.park_pointer()
            wait_until(lambda: program.info()["topmost"] == topmost, 10, what=f"topmost {topmost}")
            self.assertShows(program, picture)

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

    def test_directions_shows_the_help_with_the_button_pressed(self):
        program = self.start_program()
        program.click(DIRECTIONS)
        box = program.wait_dialog()
        self.assertEqual(box.texts, [HELP_TEXT])
        self.assertEqual(box.info["title"], TITLE)
        self.assertEqual(box.buttons, ["OK"])
        # Wine's message box keeps its icon control when it has no icon, and that control
        # has been seen to report an icon handle of its own: no system icon may be there.
        self.assertEqual(set(box.icons) & SYSTEM_ICONS, set(), "the help message shows a system icon")

        # The box opens over the button; move it aside to see the button.
        move_dialog(self.desktop, box.info, 20, 600)
        wait_until(lambda: self.desktop.window(TITLE, DIALOG_CLASS)["client"][:2] == [20, 600], 10,
                   what="the help message to move")
        self.desktop.park_pointer()
        self.assertShows(program, "directions1")
        program.close_message(program.wait_dialog())  # its button's new place
        self.assertShows(program, "directions0")

    def test_banner_opens_the_home_page(self):
        program = self.start_program()
        if os.path.exists(self.browser_calls):
            os.remove(self.browser_calls)
        program.click(BANNER)
        wait_until(lambda: os.path.exists(self.browser_calls), 30, what="the browser to be started")
        time.sleep(1)  # any further call would follow at once
        with open(self.browser_calls) as f:
            calls = [line.rstrip("\n").split("\t") for line in f]
        self.assertEqual(calls, [[HOME_PAGE]])
        self.assertEqual(program.dialogs(), [])

    def test_new_cam_asks_for_the_id(self):
        program = self.start_program()
        with self.subTest("right button, then Cancel"):
            program.click(NEW_CAM, button=3)
            box = program.wait_dialog()
            self.assertEqual(box.texts, [NEW_CAM_PROMPT])
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

    def test_os_option_keeps_the_detected_family(self):
        program = self.start_program()
        # Wine reports the NT platform.
        self.assertEqual(self.option_states(program), {OPTION_9X_TEXT: False, OPTION_NT_TEXT: True})
        program.click(OPTION_9X)
        self.desktop.park_pointer()
        time.sleep(0.5)
        self.assertEqual(self.option_states(program), {OPTION_9X_TEXT: False, OPTION_NT_TEXT: True})

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
        program.click(PICK_FOLDER)
        dialog = self.desktop.children(FOLDER_DIALOG, DIALOG_CLASS, wait_ms=15000)
        self.assertIsNotNone(dialog, "the folder dialog did not open")
        self.assertShows(program, "pick1")
        return dialog

    def wait_folder_dialog_closed(self):
        self.assertTrue(self.desktop.window_gone(FOLDER_DIALOG, DIALOG_CLASS, wait_ms=10000),
                        "the folder dialog did not close")

    def test_exit_ends_the_program_with_code_0(self):
        program = self.start_program()
        program.click(EXIT)
        self.assertEqual(program.process.wait(20), 0)
        self.assertTrue(self.desktop.window_gone(TITLE, wait_ms=5000))


if __name__ == "__main__":
    unittest.main()
