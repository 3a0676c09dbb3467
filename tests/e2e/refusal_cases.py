"""Snapshots that cannot be taken, for both editions: no usable ID (the refusal
message) and no window with the title ("Not Found", silently, without
minimising). A test class mixes these cases into its edition's test case."""

import time

from cases import TITLE

REFUSAL = "You didn't say whose cam to capture!"


class RefusalCases:
    def assertQuestionIcon(self, box):
        """The edition's check that the box shows the question icon, where it can see icons."""

    def assertRefused(self, program):
        program.click(program.layout.middle("Picture1"))
        box = program.wait_dialog()
        program.close_message(box)
        self.assertEqual((box.title, box.message, box.buttons), (TITLE, REFUSAL, ["OK"]))
        self.assertQuestionIcon(box)
        self.assertEqual(program.id_label(), "Capture Who?")
        self.assertEqual(self.saved_files(), [])

    def test_refused_without_a_usable_id(self):
        # Viewers whose titles the marker values would match, were they taken as IDs.
        self.start_viewer("Not Found", (20, 20))
        self.start_viewer("Capture Who?", (20, 360))
        program = self.start_program()
        self.assertEqual(program.id_label(), "Capture Who?")
        with self.subTest("before New Cam"):
            self.assertRefused(program)
        with self.subTest("New Cam cancelled"):
            program.new_cam("ignored", cancel=True)
            self.assertEqual(program.id_label(), "")
            self.assertRefused(program)
        with self.subTest("New Cam confirmed empty"):
            program.new_cam("")
            self.assertEqual(program.id_label(), "")
            self.assertRefused(program)
        for marker in ("Not Found", "Capture Who?"):
            with self.subTest("ID typed as a marker", marker=marker):
                program.new_cam(marker)
                self.assertEqual(program.id_label(), marker)
                self.assertRefused(program)

    def test_missing_viewer_gives_not_found_without_minimising(self):
        self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("bob")
        self.assertEqual(program.id_label(), "bob")

        ever_minimised = program.watch_minimising(3000)
        time.sleep(0.5)  # the watch is on before the click
        program.click(program.layout.middle("Picture1"))
        self.assertFalse(ever_minimised(), "the window minimised although no viewer was found")
        self.assertEqual(program.id_label(), "Not Found")
        self.assertEqual(program.dialogs(), [], "a message was shown for a missing viewer")
        self.assertEqual(self.saved_files(), [])

        # The ID has to be given again: the next click is refused.
        self.assertRefused(program)
