"""What the main window should show, and the means to look at it: where each
picture stands in the client area (the expected pixels are read from the
files in assets/, so the checks follow whatever pictures the program carries),
and the click points of the controls that skellimor.py does not name."""

import os

from desktop import DesktopError, wait_until
from images import parse_bmp

ASSETS = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets"))

GROUND = (128, 128, 255)

# Where the window's parts lie in twips (1/1440 inch), from the client area's corner.
CLIENT_TWIPS = (5055, 5655)
COLLAPSED_CLIENT_TWIPS = 1515
PICTURE_TWIPS = {
    "Picture1": (0, 0), "Picture2": (480, 0),
    "pick": (2715, 60), "newcam": (3675, 60), "xit": (4635, 60),
    "prev": (2715, 480), "directions": (3675, 480), "ontop": (4635, 480),
    "brellow": (120, 5280),
}
PREVIEW_TWIPS = (120, 1560)  # the preview's border; its picture starts one pixel inside
FRAME1_TWIPS = (120, 1275, 2655, 240)
SMALL_SIZE_TWIPS = (1440, 0, 1335, 240)  # in Frame1, reaching past its right edge


def pixels(twips, factor):
    """Twips as whole pixels, the nearest, halves to the even neighbour (as Python rounds)."""
    return round(twips / factor)


class Layout:
    """The window's pixel places at one resolution: every picture at its twips
    place with its own size, every other control at its twips place and size."""

    def __init__(self, dots_per_inch=96):
        self.factor = 1440 / dots_per_inch
        at = lambda twips: tuple(pixels(t, self.factor) for t in twips)  # noqa: E731
        self.client_size = at(CLIENT_TWIPS)
        self.collapsed_client_height = pixels(COLLAPSED_CLIENT_TWIPS, self.factor)
        self.preview_border = at(PREVIEW_TWIPS)
        self.places = {"Image1": (self.preview_border[0] + 1, self.preview_border[1] + 1)}
        for name, twips in PICTURE_TWIPS.items():
            suffixes = ("0", "1") if name in ("pick", "newcam", "prev", "directions", "ontop") else ("",)
            for suffix in suffixes:
                self.places[name + suffix] = at(twips)
        self.frame1 = at(FRAME1_TWIPS)
        self.folder_label = at((120, 960))
        # The ID label lies on the plate, 120 twips in from its corner.
        plate = self.places["Picture2"]
        self.id_label = (plate[0] + pixels(120, self.factor), plate[1] + pixels(120, self.factor))
        # Click points of the size options: their buttons, left of their captions.
        frame_left, frame_top, _, frame_height = self.frame1
        self.regular_size = (frame_left + 6, frame_top + frame_height // 2)
        self.small_size = (frame_left + pixels(SMALL_SIZE_TWIPS[0], self.factor) + 6, frame_top + frame_height // 2)
        # Small Size lies in Frame1, which clips it at its right edge.
        self.small_size_shown_width = pixels(FRAME1_TWIPS[2], self.factor) - pixels(SMALL_SIZE_TWIPS[0], self.factor)

    def middle(self, name):
        """The middle of a picture control, in client pixels."""
        picture = asset(name)
        left, top = self.places[name]
        return left + picture.width // 2, top + picture.height // 2


AT_96_DPI = Layout(96)
CLIENT_SIZE = AT_96_DPI.client_size
COLLAPSED_CLIENT_HEIGHT = AT_96_DPI.collapsed_client_height
# Outer heights of the two preview states with the frame the window is laid out for.
COLLAPSED_OUTER_HEIGHT = 126
EXPANDED_OUTER_HEIGHT = 402

# Top-left corners of the pictures in the client area at 96 dots per inch.
PLACES = AT_96_DPI.places
PREVIEW_BORDER = AT_96_DPI.preview_border
ID_LABEL_ON_PLATE = (8, 8, 129, 17)  # left, top, width, height in Picture2
FOLDER_LABEL = (8, 64)

# Spots of bare ground between the controls, in the client area.
GROUND_SPOTS = [
    (178, 15), (243, 15), (307, 15), (334, 15),  # between and after the top buttons
    (200, 28),                                    # between the two button rows
    (3, 40), (175, 40), (243, 43), (307, 43), (334, 43),
    (100, 82),                                    # between the folder label and the size options
    (250, 92),                                    # right of the size options
    (100, 102),                                   # above the preview
    (3, 200), (334, 200),                         # beside the preview
    (100, 350),                                   # between the preview and the banner
    (334, 361), (100, 373),                       # beside and below the banner
]

# Click points (the middle of each control) in the client area.
PICK_FOLDER = (211, 15)
PREVIEW = (211, 43)
DIRECTIONS = (275, 43)
ON_TOP = (320, 43)
BANNER = (170, 361)
OPTION_9X = (60, 38)


def asset(name):
    with open(os.path.join(ASSETS, name + ".bmp"), "rb") as f:
        return parse_bmp(f.read())


def folder_label(program):
    """The caption of the folder label."""
    return program.label_at(FOLDER_LABEL)


def client_picture(program):
    left, top, right, bottom = program.client()
    return program.desktop.screenshot().crop(left, top, right - left, bottom - top)


def differences_outside(actual, expected, excluded=None, limit=5):
    """The first pixels where two pictures of one size differ, (x, y, actual, expected),
    leaving out the rectangle excluded = (x, y, width, height)."""
    found = []
    for y in range(expected.height):
        for x in range(expected.width):
            if excluded and excluded[0] <= x < excluded[0] + excluded[2] and excluded[1] <= y < excluded[1] + excluded[3]:
                continue
            if actual.pixel(x, y) != expected.pixel(x, y):
                found.append((x, y, actual.pixel(x, y), expected.pixel(x, y)))
                if len(found) >= limit:
                    return found
    return found


def picture_problems(client, name, excluded=None, layout=AT_96_DPI):
    """Where the client area differs from the picture that belongs at its place:
    (picture, x, y, shown, expected), leaving out excluded = (x, y, w, h) in the picture."""
    expected = asset(name)
    left, top = layout.places[name]
    shown = client.crop(left, top, expected.width, expected.height)
    return [(name, *found) for found in differences_outside(shown, expected, excluded)]


def area_colours(client, left, top, width, height):
    area = client.crop(left, top, width, height)
    return {area.pixel(x, y) for y in range(height) for x in range(width)}


def border_colours(client, left, top, width, height):
    """The colours of the one-pixel ring around the rectangle."""
    ring = set()
    for x in range(left, left + width):
        ring.add(client.pixel(x, top))
        ring.add(client.pixel(x, top + height - 1))
    for y in range(top, top + height):
        ring.add(client.pixel(left, y))
        ring.add(client.pixel(left + width - 1, y))
    return ring


def preview_border_problems(client, size):
    """The preview's border is a ring of one colour that stands out from the ground."""
    ring = border_colours(client, *PREVIEW_BORDER, *size)
    return [] if len(ring) == 1 and GROUND not in ring else [("preview border", size, sorted(ring))]


def caption_problems(client):
    """The options whose captions do not fit: drawn into the last column that shows of their box (x, top, height),
    where they are cut off (Small Size lies over the last one of Regular Size, and Frame1 clips Small Size)."""
    edges = {"Set For: 95/98/98SE/ME": (168, 32, 13), "Set For: NT/2000/XP": (144, 48, 13),
             "Regular Size": (103, 85, 16), "Small Size": (184, 85, 16)}
    return [("caption cut off", caption) for caption, (x, top, height) in edges.items()
            if area_colours(client, x, top, 1, height) != {GROUND}]


def settled(program, problems_of, timeout=5):
    """Looks at the client area until problems_of(picture) finds none (the window
    may still be painting) or the time is up; the last findings."""
    found = []

    def clean():
        found[:] = problems_of(client_picture(program))
        return not found
    try:
        wait_until(clean, timeout, interval=0.2, what="the window's pictures")
    except DesktopError:
        pass
    return found
