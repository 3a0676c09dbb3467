"""Reading the pictures the end-to-end tests compare: BMP files (the snapshots
and the clipboard's export) and PPM screenshots, all as plain RGB rows."""

import struct


class ImageFormatError(ValueError):
    pass


class Rgb:
    """A picture as width x height RGB triples, rows from the top."""

    def __init__(self, width, height, pixels):
        if len(pixels) != width * height * 3:
            raise ImageFormatError(f"{len(pixels)} bytes for {width}x{height} pixels")
        self.width = width
        self.height = height
        self.pixels = bytes(pixels)

    @property
    def size(self):
        return (self.width, self.height)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def crop(self, left, top, width, height):
        if left < 0 or top < 0 or left + width > self.width or top + height > self.height:
            raise ValueError(f"crop {left},{top} {width}x{height} outside {self.width}x{self.height}")
        rows = []
        for y in range(top, top + height):
            start = (y * self.width + left) * 3
            rows.append(self.pixels[start:start + width * 3])
        return Rgb(width, height, b"".join(rows))

    def differences(self, other, limit=5):
        """The first few pixels where the two pictures differ: (x, y, ours, theirs)."""
        if self.size != other.size:
            return [("size", self.size, other.size)]
        found = []
        if self.pixels == other.pixels:
            return found
        for y in range(self.height):
            start = y * self.width * 3
            if self.pixels[start:start + self.width * 3] == other.pixels[start:start + self.width * 3]:
                continue
            for x in range(self.width):
                if self.pixel(x, y) != other.pixel(x, y):
                    found.append((x, y, self.pixel(x, y), other.pixel(x, y)))
                    if len(found) >= limit:
                        return found
        return found

    def distinct_colours(self):
        return len({self.pixels[i:i + 3] for i in range(0, len(self.pixels), 3)})

    def to_ppm(self):
        return b"P6\n%d %d\n255\n" % (self.width, self.height) + self.pixels


def _mask_shift(mask):
    if mask == 0:
        raise ImageFormatError("empty colour mask")
    shift = 0
    while not (mask >> shift) & 1:
        shift += 1
    width = 0
    while (mask >> (shift + width)) & 1:
        width += 1
    return shift, width


def parse_bmp(data):
    """A BMP file of 24 or 32 bits per pixel (BI_RGB or BI_BITFIELDS), either row order."""
    if len(data) < 54 or data[:2] != b"BM":
        raise ImageFormatError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size = struct.unpack_from("<I", data, 14)[0]
    if header_size < 40:
        raise ImageFormatError(f"unsupported BMP header of {header_size} bytes")
    width, height, planes, bpp, compression = struct.unpack_from("<iiHHI", data, 18)
    if planes != 1 or width <= 0 or height == 0:
        raise ImageFormatError(f"bad BMP geometry {width}x{height}, {planes} planes")
    top_down = height < 0
    height = abs(height)
    if bpp not in (24, 32):
        raise ImageFormatError(f"unsupported {bpp} bits per pixel")
    masks = (0xFF0000, 0x00FF00, 0x0000FF)
    if compression == 3:  # BI_BITFIELDS: masks after a 40-byte header, or inside a larger one
        masks = struct.unpack_from("<III", data, 14 + 40)
    elif compression != 0:
        raise ImageFormatError(f"unsupported BMP compression {compression}")
    stride = (width * bpp // 8 + 3) & ~3
    if offset + stride * height > len(data):
        raise ImageFormatError("BMP pixel data cut short")
    step = bpp // 8
    shifts = [_mask_shift(m) for m in masks]
    out = bytearray(width * height * 3)
    for row in range(height):
        src_row = row if top_down else height - 1 - row
        base = offset + src_row * stride
        dst = row * width * 3
        if bpp == 24 or compression == 0:
            for x in range(width):
                b, g, r = data[base + x * step:base + x * step + 3]
                out[dst + x * 3:dst + x * 3 + 3] = bytes((r, g, b))
        else:
            for x in range(width):
                value = struct.unpack_from("<I", data, base + x * 4)[0]
                rgb = []
                for (shift, bits), mask in zip(shifts, masks):
                    component = (value & mask) >> shift
                    rgb.append(component * 255 // ((1 << bits) - 1))
                out[dst + x * 3:dst + x * 3 + 3] = bytes(rgb)
    return Rgb(width, height, out)


def parse_ppm(data):
    """A binary PPM (P6) with 8-bit samples, as ImageMagick writes a screenshot."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1  # the single whitespace byte before the samples
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ImageFormatError("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return Rgb(width, height, data[pos:pos + width * height * 3])


def _viewer_pixel(x, y, frame):
    """The sample viewer's test picture at client position (x, y) of the frame
    (tools/test_picture.h), outside its text band."""
    if 48 <= y < 58 and 40 <= x < 200:
        if (x - 40) % 10 == 0:
            return (255, 0, 0)
        return (255, 255, 255) if (frame >> ((x - 40) // 10)) & 1 else (0, 0, 0)
    if y < 40:
        bars = ((255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0),
                (255, 0, 255), (255, 0, 0), (0, 0, 255), (0, 0, 0))
        return bars[(x // 40 + frame) % 8]
    dx, dy = x - 180, y - 160
    d2 = dx * dx + dy * dy
    if d2 < 70 * 70:
        if d2 >= 66 * 66:
            return (0, 0, 0)
        ex, ey = (dx + 25 if dx < 0 else dx - 25), dy + 22
        if ex * ex + ey * ey < 100:
            return (0, 0, 64)
        if dy > 10 and 36 * 36 <= d2 < 42 * 42:
            return (160, 0, 0)
        return (255, 200 + (x + y) % 32, 0)
    if x % 32 == 0 or y % 32 == 0:
        return (32, 32, 32)
    return ((x * 2 + (frame % 64) * 4) & 255, (y * 3) & 255, 128 + ((x ^ y) & 127))


def viewer_picture(left, top, width, height, frame=0):
    """The part of the sample viewer's test picture at client position (left, top)."""
    pixels = bytearray()
    for y in range(top, top + height):
        for x in range(left, left + width):
            pixels.extend(_viewer_pixel(x, y, frame))
    return Rgb(width, height, pixels)
