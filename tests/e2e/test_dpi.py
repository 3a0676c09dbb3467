"""The program on screens of 120 and 144 dots per inch: the window follows its
twips layout in the screen's real pixels, every picture stands at its twips
place at its own size (and takes clicks there only), and a snapshot is still
pixel-exact at the viewer's corner + (26, 44), whether the viewer knows the
screen's resolution or not (Wine draws neither larger)."""

import time
import unittest

from cases import CAMERA_OFFSET, REGULAR, VIEWER_PREFIX
from skellimor import DesktopTestCase
from window_face import GROUND, area_colours, asset, border_colours, picture_problems, pixels, settled

START_PICTURES = ["Picture1", "Picture2", "pick0", "newcam0", "xit", "prev0", "directions0", "ontop0", "Image1",
                  "brellow"]
FOLDER_DIALOG = "Browse for Folder"


class ResolutionCases:
    """The cases, for a test class that sets DOTS_PER_INCH."""

    def client_size(self, program):
        left, top, right, bottom = program.info()["client"]
        return right - left, bottom - top

    def preview_box_problems(self, client, layout):
        """The preview's box is 324 x 244 pixels at its place: a ring of one colour
        that is not the ground, with ground all around it."""
        left, top = layout.preview_border
        ring = border_colours(client, left, top, REGULAR[0] + 2, REGULAR[1] + 2)
        around = border_colours(client, left - 1, top - 1, REGULAR[0] + 4, REGULAR[1] + 4)
        if len(ring) == 1 and GROUND not in ring and around == {GROUND}:
            return []
        return [("preview box", sorted(ring), sorted(around)[:4])]

    def test_window_follows_its_twips_layout_in_real_pixels(self):
        program = self.start_program()
        layout = program.layout
        self.assertEqual(self.client_size(program), layout.client_size)
        label = (pixels(120, layout.factor), pixels(120, layout.factor), pixels(1935, layout.factor),
                 pixels(255, layout.factor))

        def problems(client):
            found = []
            for name in START_PICTURES:
                found += picture_problems(client, name, label if name == "Picture2" else None, layout)
            # Nothing of a picture control reaches beyond its picture: ground lies
            # right of and below each button.
            for name in ("pick0", "newcam0", "xit", "prev0", "directions0", "ontop0", "brellow"):
                picture = asset(name)
                left, top = layout.places[name]
                right_strip = area_colours(client, left + picture.width, top, 3, picture.height)
                below_strip = area_colours(client, left, top + picture.height, picture.width, 3)
                if right_strip | below_strip != {GROUND}:
                    found.append(("beside " + name, sorted(right_strip | below_strip)[:4]))
            return found + self.preview_box_problems(client, layout)
        self.assertEqual(settled(program, problems), [])

        option = next(c for c in program.children() if c["text"] == "Small Size")
        self.assertEqual(option["shown"][2] - option["shown"][0], layout.small_size_shown_width)

    def assert_snapshot_exact(self, user_id, *viewer_options):
        """A snapshot of a viewer whose frame corner the system puts at (20, 20) of the
        screen is the screen at that corner + (26, 44), at the camera's size."""
        at = (20, 20)
        self.start_viewer(user_id, at, *viewer_options)
        program = self.start_program()
        program.new_cam(user_id)
        saved = self.read_saved(self.snapshot(program, 1)[0])
        camera = self.desktop.screenshot().crop(at[0] + CAMERA_OFFSET[0], at[1] + CAMERA_OFFSET[1], *REGULAR)
        self.assertSamePicture(saved, camera, "snapshot")
        self.assertGreater(saved.distinct_colours(), 100, "the snapshot holds no viewer picture")
        layout = program.layout

        def preview(client):
            left, top = layout.places["Image1"]
            shown = client.crop(left, top, *REGULAR)
            return self.preview_box_problems(client, layout) + [("preview", *d) for d in shown.differences(saved)]
        self.assertEqual(settled(program, preview), [])
        return self.desktop.probe("dpi", VIEWER_PREFIX + user_id)

    def test_snapshot_of_an_aware_viewer_is_pixel_exact_at_the_camera_corner(self):
        told = self.assert_snapshot_exact("sharp")
        self.assertEqual((told["window_dpi"], told["rect"]), (self.DOTS_PER_INCH, [20, 20, 380, 340]))

    def test_snapshot_of_an_unaware_viewer_is_pixel_exact_at_the_camera_corner(self):
        # Wine draws a window that does not know the screen's resolution at its own
        # coordinates, unstretched, while it tells this program (which knows) the
        # window's rectangle stretched to the screen's resolution.
        told = self.assert_snapshot_exact("blurry", "--dpi-unaware")
        self.assertEqual((told["awareness"], told["window_dpi"], told["rect_own"]), (0, 96, [20, 20, 380, 340]))
        stretched = [round(20 * self.DOTS_PER_INCH / 96), round(20 * self.DOTS_PER_INCH / 96)]
        self.assertEqual(told["rect"][:2], stretched)

    def test_picture_buttons_take_clicks_on_their_pictures_only(self):
        program = self.start_program()
        layout = program.layout
        left, top = layout.places["pick0"]
        # Inside the 915 x 330 twips box, outside the 61 x 22 picture.
        program.click((left + 61 + 2, top + 11))
        program.click((left + 30, top + 22 + 2))
        self.desktop.park_pointer()
        time.sleep(1)
        self.assertTrue(self.desktop.window_gone(FOLDER_DIALOG), "a click beside Pick Folder opened the dialog")

        program.click(layout.middle("pick0"))
        dialog = self.desktop.children(FOLDER_DIALOG, wait_ms=15000)
        self.assertIsNotNone(dialog, "a click on Pick Folder did not open the dialog")
        self.desktop.key("Escape")
        self.assertTrue(self.desktop.window_gone(FOLDER_DIALOG, wait_ms=10000))


class At120DotsPerInch(ResolutionCases, DesktopTestCase):
    DOTS_PER_INCH = 120


class At144DotsPerInch(ResolutionCases, DesktopTestCase):
    DOTS_PER_INCH = 144


if __name__ == "__main__":
    unittest.main()
