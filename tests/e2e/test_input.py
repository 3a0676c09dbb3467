"""The mouse and the keyboard as a Windows user meets them, with real input: a
drag onto a control runs nothing, a second button never runs another control's
command, a lost mouse leaves no button pressed, the smiley has the focus at
start, Tab never stops on the plate or its label, the focus stays on its
control while another window is active, and Enter and Escape change nothing."""

import time
import unittest

from skellimor import DesktopTestCase
from window_face import GROUND_SPOTS, picture_problems, settled

PICTURE_BOX = "MorvathsSkellimorPictureBox"


class InputTest(DesktopTestCase):
    def press_and_release(self, program, start, end, button=1):
        """Presses the button over one client point and lets it go over another."""
        x, y = program.client_point(start)
        x2, y2 = program.client_point(end)
        self.desktop.xdotool("mousemove", "--sync", str(x), str(y), "mousedown", str(button))
        self.desktop.xdotool("mousemove", "--sync", str(x2), str(y2), "mouseup", str(button))

    def assertNothingRan(self, program, what):
        time.sleep(1)  # a snapshot or a dialog would have started by now
        self.assertEqual(program.dialogs(), [], f"{what}: a dialog opened")
        self.assertEqual(self.saved_files(), [], f"{what}: a snapshot was saved")
        self.assertEqual(program.id_label(), "dragged", f"{what}: the snapshot command ran")
        self.assertFalse(program.info()["iconic"], f"{what}: the window minimised")

    def test_drags_onto_the_smiley_and_directions_run_nothing(self):
        self.start_viewer("dragged", (20, 20))
        program = self.start_program()
        program.new_cam("dragged")
        layout = program.layout
        starts = {
            "the window's ground": (3, 40),
            "the plate": (layout.places["Picture2"][0] + 130, 15),
            "the ID label": (layout.id_label[0] + 5, layout.id_label[1] + 5),
            "the preview": (layout.places["Image1"][0] + 100, layout.places["Image1"][1] + 100),
        }
        for target in ("Picture1", "directions0"):
            for where, start in starts.items():
                with self.subTest(start=where, target=target):
                    self.press_and_release(program, start, layout.middle(target))
                    self.assertNothingRan(program, f"from {where} onto {target}")
        self.assertEqual(settled(program, lambda client: picture_problems(client, "directions0")), [])

    def test_a_second_button_goes_to_the_control_pressed_first(self):
        program = self.start_program()
        layout = program.layout
        new_cam = program.client_point(layout.middle("newcam0"))
        on_top = program.client_point(layout.middle("ontop0"))
        # Left down on New Cam, right down on On Top, left up there: New Cam asks
        # for the ID, On Top does not switch.
        self.desktop.xdotool("mousemove", "--sync", *map(str, new_cam), "mousedown", "1")
        self.desktop.xdotool("mousemove", "--sync", *map(str, on_top), "mousedown", "3")
        self.desktop.xdotool("mouseup", "1")
        box = program.wait_dialog()
        self.assertEqual(box.texts, ["Enter the ID of the person's cam to grab"])
        self.desktop.xdotool("mouseup", "3")
        self.desktop.key("Escape")
        program.wait_no_dialog()
        self.desktop.park_pointer()
        self.assertTrue(program.info()["topmost"], "On Top switched off")
        self.assertEqual(settled(program, lambda c: picture_problems(c, "newcam0") + picture_problems(c, "ontop0")),
                         [])
        self.assertEqual(program.dialogs(), [])

    def test_losing_the_mouse_leaves_no_button_pressed(self):
        viewer = self.start_viewer("elsewhere", (20, 20))
        program = self.start_program()
        x, y = program.client_point(program.layout.middle("newcam0"))
        self.desktop.xdotool("mousemove", "--sync", str(x), str(y), "mousedown", "1")
        self.assertEqual(settled(program, lambda client: picture_problems(client, "newcam1")), [])
        # Another window takes the focus while the button is held.
        self.desktop.xdotool("search", "--name", "^" + viewer.title + "$", "windowactivate", "--sync")
        self.desktop.xdotool("mouseup", "1")
        time.sleep(1)
        self.assertEqual(program.dialogs(), [], "New Cam ran although the mouse was lost")
        self.assertEqual(settled(program, lambda client: picture_problems(client, "newcam0")), [])

    def focused(self, program):
        """The focused control of the main window: its class and client rectangle."""
        left, top = program.info()["client"][:2]
        for child in program.children():
            if child["focused"]:
                r = child["rect"]
                return child["class"], (r[0] - left, r[1] - top, r[2] - r[0], r[3] - r[1]), child["text"]
        return None

    def test_focus_starts_on_the_smiley_and_tab_skips_the_plate_and_its_label(self):
        program = self.start_program()
        smiley = (PICTURE_BOX, (0, 0, 32, 31), "")
        self.assertEqual(self.focused(program), smiley)
        plate = program.layout.places["Picture2"]
        seen = []
        for _ in range(6):
            self.desktop.key("Tab")
            time.sleep(0.2)
            seen.append(self.focused(program))
        for control in seen:
            self.assertIsNotNone(control, f"the focus left the window's controls: {seen}")
            self.assertNotEqual(control[1][:2], plate, f"Tab stopped on the plate: {seen}")
            self.assertNotEqual(control[0].lower(), "static", f"Tab stopped on a label: {seen}")
        self.assertIn(smiley, seen, f"Tab never came back to the smiley: {seen}")
        self.assertEqual((seen[0][0], seen[0][2]), ("Button", "Set For: NT/2000/XP"), f"Tab from the smiley: {seen}")

    def test_focus_comes_back_to_its_control_and_enter_and_escape_change_nothing(self):
        self.start_viewer("elsewhere", (20, 20))
        program = self.start_program()
        self.desktop.key("Tab")
        time.sleep(0.2)
        held = self.focused(program)
        self.assertIsNotNone(held)
        self.assertEqual(held[2], "Set For: NT/2000/XP")
        # Another window active, then this one again by a click on its ground.
        viewer = self.desktop.window("Webcam for elsewhere")
        self.desktop.click(viewer["client"][0] + 40, viewer["client"][1] + 40)
        time.sleep(0.5)
        program.click(GROUND_SPOTS[4])  # between the two rows of buttons
        time.sleep(0.5)
        self.assertEqual(self.focused(program), held, "the focus did not come back to its control")

        before = program.children()
        for key in ("Return", "Escape"):
            self.desktop.key(key)
            time.sleep(0.5)
            self.assertEqual(program.dialogs(), [], f"{key}: a dialog opened")
            self.assertEqual(program.children(), before, f"{key} changed a control")
            self.assertFalse(program.info()["iconic"], f"{key}: the window minimised")


if __name__ == "__main__":
    unittest.main()
