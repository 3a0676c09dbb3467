"""The main window's face on the real desktop: every picture pixel for pixel at
its place, the ground between them, the client size, the preview box after a
small snapshot, and the collapsed window."""

import unittest

from cases import REGULAR, SMALL
from desktop import wait_until
from skellimor import REGULAR_SIZE, SMALL_SIZE, DesktopTestCase
from window_face import (CLIENT_SIZE, COLLAPSED_CLIENT_HEIGHT, GROUND, GROUND_SPOTS, ID_LABEL_ON_PLATE, PLACES,
                         PREVIEW, PREVIEW_BORDER, area_colours, asset, caption_problems, client_picture,
                         differences_outside, picture_problems, preview_border_problems, settled)

REGULAR_BOX = (324, 244)
SMALL_BOX = (164, 124)
START_PICTURES = ["Picture1", "Picture2", "pick0", "newcam0", "xit", "prev0", "directions0", "ontop0", "Image1",
                  "brellow"]


def client_size(program):
    left, top, right, bottom = program.info()["client"]
    return right - left, bottom - top


class WindowFaceTest(DesktopTestCase):
    def test_face_right_after_start(self):
        program = self.start_program()
        self.assertEqual(client_size(program), CLIENT_SIZE)

        def problems(client):
            found = []
            for name in START_PICTURES:
                # The ID label stands on the plate.
                found += picture_problems(client, name, ID_LABEL_ON_PLATE if name == "Picture2" else None)
            found += [("ground", x, y, client.pixel(x, y)) for x, y in GROUND_SPOTS if client.pixel(x, y) != GROUND]
            return found + preview_border_problems(client, REGULAR_BOX) + caption_problems(client)
        self.assertEqual(settled(program, problems), [])

    def test_small_snapshot_shrinks_the_preview_box_and_regular_grows_it_again(self):
        self.start_viewer("small one", (20, 20))
        program = self.start_program()
        program.new_cam("small one")
        program.click(SMALL_SIZE)
        self.desktop.park_pointer()
        saved = self.read_saved(self.snapshot(program, 1)[0])
        self.assertEqual(saved.size, SMALL)

        left, top = PREVIEW_BORDER

        def problems(client):
            found = preview_border_problems(client, SMALL_BOX)
            shown = client.crop(left + 1, top + 1, *SMALL)
            found += [("preview", *d) for d in differences_outside(shown, saved)]
            # The ground shows where the larger box was.
            right_part = area_colours(client, left + SMALL_BOX[0], top, REGULAR_BOX[0] - SMALL_BOX[0], REGULAR_BOX[1])
            below_part = area_colours(client, left, top + SMALL_BOX[1], SMALL_BOX[0], REGULAR_BOX[1] - SMALL_BOX[1])
            if right_part | below_part != {GROUND}:
                found.append(("where the regular box was", sorted(right_part | below_part)[:5]))
            return found
        self.assertEqual(settled(program, problems), [])

        program.click(REGULAR_SIZE)
        self.desktop.park_pointer()
        files = self.snapshot(program, 2)
        regular = self.read_saved(next(name for name in files if name.endswith(" 1.bmp")))
        self.assertEqual(regular.size, REGULAR)

        def regular_problems(client):
            shown = client.crop(left + 1, top + 1, *REGULAR)
            return preview_border_problems(client, REGULAR_BOX) + [("preview", *d) for d in
                                                                   differences_outside(shown, regular)]
        self.assertEqual(settled(program, regular_problems), [])

    def test_small_size_option_is_clipped_by_its_frame(self):
        program = self.start_program()
        option = next(c for c in program.children() if c["text"] == "Small Size")
        shown_left, _, shown_right, _ = option["shown"]
        self.assertEqual(shown_right - shown_left, program.layout.small_size_shown_width)
        self.assertEqual(shown_right - shown_left, 81)
        self.assertGreater(option["rect"][2] - option["rect"][0], 81, "the option itself is wider than it shows")

    def test_collapsed_window_ends_with_the_size_options(self):
        program = self.start_program()
        self.assertEqual(settled(program, lambda client: picture_problems(client, "Image1")), [])
        expanded = client_picture(program)

        program.click(PREVIEW)
        self.desktop.park_pointer()
        wait_until(lambda: client_size(program)[1] == COLLAPSED_CLIENT_HEIGHT, 10, what="the collapsed height")
        self.assertEqual(client_size(program), (CLIENT_SIZE[0], COLLAPSED_CLIENT_HEIGHT))

        # Everything down to the size options shows as before, with Preview now off.
        prev = asset("prev1")
        prev_rect = (*PLACES["prev1"], prev.width, prev.height)
        top_rows = expanded.crop(0, 0, CLIENT_SIZE[0], COLLAPSED_CLIENT_HEIGHT)

        def problems(client):
            return (picture_problems(client, "prev1") +
                    [("unchanged", *d) for d in differences_outside(client, top_rows, prev_rect)])
        self.assertEqual(settled(program, problems), [])

        client_bottom = program.info()["client"][3]
        size_options = [c for c in program.children() if c["text"] in ("Regular Size", "Small Size")]
        self.assertEqual(len(size_options), 2)
        for option in size_options:
            self.assertEqual(option["rect"][3], client_bottom, f"{option['text']} does not end at the client's bottom")


if __name__ == "__main__":
    unittest.main()
