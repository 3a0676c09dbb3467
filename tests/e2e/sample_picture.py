"""The sample viewer's test picture (tools/test_picture.h) in Python: what the
viewer paints at each client position, for sessions whose screen the tests
cannot read."""

from images import Rgb

TEXT_BAND_HEIGHT = 20
FRAME_CELLS_LEFT, FRAME_CELLS_TOP, FRAME_CELL_SIZE, FRAME_BITS = 40, 48, 10, 16
BARS = [(255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0), (255, 0, 255), (255, 0, 0), (0, 0, 255),
        (0, 0, 0)]


def pixel(x, y, frame=0):
    shift = (frame % 64) * 4
    if (FRAME_CELLS_TOP <= y < FRAME_CELLS_TOP + FRAME_CELL_SIZE and
            FRAME_CELLS_LEFT <= x < FRAME_CELLS_LEFT + FRAME_BITS * FRAME_CELL_SIZE):
        if (x - FRAME_CELLS_LEFT) % FRAME_CELL_SIZE == 0:
            return (255, 0, 0)
        return (255, 255, 255) if (frame >> ((x - FRAME_CELLS_LEFT) // FRAME_CELL_SIZE)) & 1 else (0, 0, 0)
    if y < 40:
        return BARS[(x // 40 + frame) % 8]
    dx, dy = x - 180, y - 160
    d2 = dx * dx + dy * dy
    if d2 < 70 * 70:
        if d2 >= 66 * 66:
            return (0, 0, 0)
        ex = dx + 25 if dx < 0 else dx - 25
        ey = dy + 22
        if ex * ex + ey * ey < 10 * 10:
            return (0, 0, 64)
        if dy > 10 and 36 * 36 <= d2 < 42 * 42:
            return (160, 0, 0)
        return (255, 200 + (x + y) % 32, 0)
    if x % 32 == 0 or y % 32 == 0:
        return (32, 32, 32)
    return ((x * 2 + shift) & 255, (y * 3) & 255, 128 + ((x ^ y) & 127))


def camera_picture(client_offset, size, frame=0):
    """The picture the viewer shows at its frame corner + (26, 44), its client area
    lying at client_offset from that corner."""
    left, top = 26 - client_offset[0], 44 - client_offset[1]
    width, height = size
    return Rgb(width, height, bytes(channel for y in range(top, top + height) for x in range(left, left + width)
                                    for channel in pixel(x, y, frame)))
