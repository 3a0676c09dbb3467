"""Saves that fail, for both editions: the user is told in a message naming the
file and the reason, and the program keeps running, so that the next snapshot
into a usable folder works. A file of an earlier run is never written over.
The edition's test class says what ends a folder in its file names."""

import datetime
import os

from cases import REGULAR, TITLE

FAILURE_START = "The snapshot could not be saved as"
MISSING_FOLDER = "The folder does not exist"


class SaveFailureCases:
    FOLDER_SEPARATOR = "/"

    def assertWarningIcon(self, box):
        """The edition's check that the box shows the warning icon, where it can see icons."""

    def assertSaveFails(self, program, user_id, reason):
        program.click(program.layout.middle("Picture1"))
        box = program.wait_dialog()
        program.close_message(box)
        program.wait_restored()
        self.desktop.park_pointer()
        self.assertEqual((box.title, box.buttons), (TITLE, ["OK"]))
        self.assertTrue(box.message.startswith(FAILURE_START), f"message: {box.message!r}")
        self.assertIn(self.FOLDER_SEPARATOR + user_id + "-", box.message)
        self.assertIn(".bmp", box.message)
        self.assertIn(reason, box.message)
        self.assertWarningIcon(box)
        self.assertEqual(program.id_label(), user_id)
        self.assertIsNone(program.process.poll(), "the program ended")

    def assertGoodSnapshot(self, program, viewer, number):
        program.new_cam(viewer.user_id)
        files = self.snapshot(program, 1)
        self.assertEqual(len(files), 1, files)
        self.assertTrue(files[0].startswith(viewer.user_id + "-"), files[0])
        self.assertTrue(files[0].endswith(f" {number}.bmp"), files[0])
        picture = self.read_saved(files[0])
        self.assertSamePicture(picture, viewer.camera_picture(self.desktop.screenshot(), REGULAR), files[0])

    def test_missing_folder(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        os.rmdir(self.save_dir)
        self.assertSaveFails(program, "alice", MISSING_FOLDER)
        os.makedirs(self.save_dir)
        # A failed save uses up no number.
        self.assertGoodSnapshot(program, viewer, 0)

    def test_folder_path_that_is_a_file(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        os.rmdir(self.save_dir)
        with open(self.save_dir, "w") as f:
            f.write("not a folder")
        self.assertSaveFails(program, "alice", MISSING_FOLDER)
        os.remove(self.save_dir)
        os.makedirs(self.save_dir)
        self.assertGoodSnapshot(program, viewer, 0)

    def test_a_file_of_an_earlier_run_is_kept_and_the_next_number_taken(self):
        viewer = self.start_viewer("alice", (20, 20))
        program = self.start_program()
        program.new_cam("alice")
        # Number 0 under every stamp the click can carry.
        now = datetime.datetime.now()
        earlier = {}
        for second in range(-2, 30):
            stamp = (now + datetime.timedelta(seconds=second)).strftime("%m-%d-%Y %H-%M-%S")
            name = f"alice-{stamp} 0.bmp"
            earlier[name] = f"an earlier run's {name}".encode()
            with open(os.path.join(self.save_dir, name), "wb") as f:
                f.write(earlier[name])
        files = self.snapshot(program, len(earlier) + 1)
        new = [name for name in files if name not in earlier]
        self.assertEqual(len(new), 1, new)
        self.assertTrue(new[0].endswith(" 1.bmp"), new[0])
        self.assertSamePicture(self.read_saved(new[0]), viewer.camera_picture(self.desktop.screenshot(), REGULAR),
                               new[0])
        for name, content in earlier.items():
            with open(os.path.join(self.save_dir, name), "rb") as f:
                self.assertEqual(f.read(), content, name)
