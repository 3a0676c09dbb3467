"""The Linux edition's window as a user sees it: the title, the client area,
every picture pixel for pixel at its place, the ground between them, the preview
box after a small snapshot and after a regular one, and the focus at start."""

import unittest

from cases import REGULAR, SMALL
from edition import TITLE, LinuxTestCase, nodes
from window_face import (CLIENT_SIZE, GROUND, GROUND_SPOTS, ID_LABEL_ON_PLATE, PREVIEW_BORDER, area_colours,
                         caption_problems, differences_outside, picture_problems, pixels, preview_border_problems,
                         settled)

START_PICTURES = ["Picture1", "Picture2", "pick0", "newcam0", "xit", "prev0", "directions0", "ontop0", "Image1",
                  "brellow"]
REGULAR_BOX = (324, 244)
SMALL_BOX = (164, 124)


class WindowFaceTest(LinuxTestCase):
    def test_face_right_after_start(self):
        program = self.start_program()
        left, top, right, bottom = program.client()
        self.assertEqual((right - left, bottom - top), CLIENT_SIZE)
        self.assertEqual(self.desktop.property_text(program.window, "_NET_WM_NAME").split(" = ")[-1],
                         '"' + TITLE + '"')

        def problems(client):
            found = []
            for name in START_PICTURES:
                # The ID label stands on the plate.
                found += picture_problems(client, name, ID_LABEL_ON_PLATE if name == "Picture2" else None)
            found += [("ground", x, y, client.pixel(x, y)) for x, y in GROUND_SPOTS if client.pixel(x, y) != GROUND]
            return found + preview_border_problems(client, REGULAR_BOX) + caption_problems(client)
        self.assertEqual(settled(program, problems), [])

        # The smiley has the keyboard focus; the plate and the labels never take it.
        focused = [n for n in nodes(program.main_node()) if "focused" in n["states"]]
        self.assertEqual(len(focused), 1, focused)
        self.assertEqual(focused[0]["extents"], [left, top, 32, 31])

    def test_small_snapshot_shrinks_the_preview_box_and_regular_grows_it_again(self):
        self.start_viewer("small one", (20, 20))
        program = self.start_program()
        program.new_cam("small one")
        left, top = PREVIEW_BORDER
        for size, box, option, number in ((SMALL, SMALL_BOX, program.layout.small_size, 0),
                                          (REGULAR, REGULAR_BOX, program.layout.regular_size, 1)):
            program.click(option)
            self.desktop.park_pointer()
            files = self.snapshot(program, number + 1)
            saved = self.read_saved(next(name for name in files if name.endswith(f" {number}.bmp")))
            self.assertEqual(saved.size, size)

            def problems(client):
                found = preview_border_problems(client, box)
                found += [("preview", *d) for d in differences_outside(client.crop(left + 1, top + 1, *size), saved)]
                # The ground shows where the larger box was.
                if box == SMALL_BOX:
                    right_part = area_colours(client, left + box[0], top, REGULAR_BOX[0] - box[0], REGULAR_BOX[1])
                    below_part = area_colours(client, left, top + box[1], box[0], REGULAR_BOX[1] - box[1])
                    if right_part | below_part != {GROUND}:
                        found.append(("where the regular box was", sorted(right_part | below_part)[:5]))
                return found
            with self.subTest(size=size):
                self.assertEqual(settled(program, problems), [])


class At144DotsPerInch(LinuxTestCase):
    """A screen of 144 dots per inch, as the desktop tells the toolkit (Xft.dpi)."""
    DOTS_PER_INCH = 144

    def test_window_follows_its_twips_layout_and_the_snapshot_stays_exact(self):
        viewer = self.start_viewer("sharp", (20, 20))
        program = self.start_program()
        layout = program.layout
        left, top, right, bottom = program.client()
        self.assertEqual((right - left, bottom - top), layout.client_size)
        label = tuple(pixels(twips, layout.factor) for twips in (120, 120, 1935, 255))

        def problems(client):
            found = []
            for name in START_PICTURES:
                found += picture_problems(client, name, label if name == "Picture2" else None, layout)
            return found
        self.assertEqual(settled(program, problems), [])

        program.new_cam("sharp")
        saved = self.read_saved(self.snapshot(program, 1)[0])
        self.assertSamePicture(saved, viewer.camera_picture(self.desktop.screenshot(), REGULAR), "snapshot")


if __name__ == "__main__":
    unittest.main()
