"""The commands of the main window that work alike in both editions, with real
input: New Cam, On Top, Directions, the banner, the OS option and Exit."""

import os
import tempfile
import time

from cases import TITLE
from desktop import wait_until

NEW_CAM_PROMPT = "Enter the ID of the person's cam to grab"
OPTION_9X = "Set For: 95/98/98SE/ME"
OPTION_NT = "Set For: NT/2000/XP"
HOME_PAGE = "http://morvath.example/"
OPTION_9X_POINT = (60, 38)  # in the client area at 96 dots per inch
HELP_LINES = [
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
]
# Stands in for the desktop's web browser: records each call's arguments,
# tab-separated, one call per line.
FAKE_BROWSER = """#!/bin/sh
(IFS="$(printf '\\t')"; printf '%s\\n' "$*") >> "{calls}"
"""


class CommandCases:
    # How the help message's lines end as its box reports them.
    HELP_LINE_END = "\n"

    def assertNoIcon(self, box):
        """The edition's check that the box shows no icon, where it can see icons."""

    def test_new_cam_asks_for_the_id(self):
        program = self.start_program()
        with self.subTest("right button, then Cancel"):
            program.click(program.layout.middle("newcam0"), button=3)
            box = program.wait_dialog()
            self.assertEqual((box.title, box.texts, box.buttons), (TITLE, [NEW_CAM_PROMPT], ["OK", "Cancel"]))
            self.desktop.park_pointer()
            self.assertShows(program, "newcam1")
            self.desktop.key("Escape")
            program.wait_no_dialog()
            self.assertEqual(program.id_label(), "")
            self.assertShows(program, "newcam0")
        with self.subTest("spaces around the answer stay"):
            program.new_cam(" bob ")
            self.assertEqual(program.id_label(), " bob ")

    def test_on_top_switches_off_and_on(self):
        program = self.start_program()
        self.assertTrue(program.is_on_top(), "the window is not on top after start")
        place = program.client()
        for on_top, picture in ((False, "ontop1"), (True, "ontop0")):
            program.click(program.layout.middle("ontop0"))
            self.desktop.park_pointer()
            wait_until(lambda: program.is_on_top() == on_top, 10, what=f"on top {on_top}")
            self.assertShows(program, picture)
            self.assertEqual(program.client(), place, "the window moved")

    def test_directions_shows_the_help_with_the_button_pressed(self):
        program = self.start_program()
        program.click(program.layout.middle("directions0"))
        box = program.wait_dialog()
        help_text = self.HELP_LINE_END.join(HELP_LINES)
        self.assertEqual((box.title, box.texts, box.buttons), (TITLE, [help_text], ["OK"]))
        self.assertNoIcon(box)
        # The box opens over the button; moved aside, it lets the button show.
        program.move_aside(box)
        self.desktop.park_pointer()
        self.assertShows(program, "directions1")
        program.close_message(program.wait_dialog())  # its button's new place
        self.assertShows(program, "directions0")

    def test_banner_opens_the_home_page(self):
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
        wait_until(lambda: os.path.exists(calls), 30, what="the browser to be started")
        time.sleep(1)  # any further call would follow at once
        with open(calls) as f:
            self.assertEqual([line.rstrip("\n").split("\t") for line in f], [[HOME_PAGE]])
        self.assertEqual(program.dialogs(), [])

    def test_os_option_keeps_the_nt_family(self):
        program = self.start_program()
        # Wine and Linux both report the NT platform.
        options = lambda: {k: v for k, v in program.options().items() if k.startswith("Set For")}  # noqa: E731
        self.assertEqual(options(), {OPTION_9X: False, OPTION_NT: True})
        program.click(OPTION_9X_POINT)
        self.desktop.park_pointer()
        time.sleep(0.5)
        self.assertEqual(options(), {OPTION_9X: False, OPTION_NT: True})

    def test_exit_ends_the_program_with_code_0(self):
        program = self.start_program()
        program.click(program.layout.middle("xit"))
        self.assertEqual(program.process.wait(20), 0)
        self.wait_windows_gone()
