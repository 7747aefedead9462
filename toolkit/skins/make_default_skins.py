#!/usr/bin/env python3
"""Draws the program's default skins as 32-bit BMP files.

make_default_skins.py <folder>   writes every skin of the table into the folder
make_default_skins.py --list     prints the file names, one a line (the build's outputs)

Each widget family adds a block of entries to SKINS: a file name, a size and a drawing function
that paints a Canvas. Files are written as the toolkit's loader reads them: a 14-byte file header,
a 40-byte information header, 32 bits a pixel, bottom row first.
"""

import os
import struct
import sys


class Canvas:
    """A width x height picture of 0xRRGGBB colours, top row first."""

    def __init__(self, width, height, colour=0x000000):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        """Fills the rectangle [left, right) x [top, bottom)."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right):
            self.put(x, top, colour)
            self.put(x, bottom - 1, colour)
        for y in range(top, bottom):
            self.put(left, y, colour)
            self.put(right - 1, y, colour)

    def vertical_gradient(self, left, top, right, bottom, upper, lower):
        span = max(bottom - top - 1, 1)
        for y in range(top, bottom):
            colour = mix(upper, lower, (y - top) / span)
            for x in range(left, right):
                self.put(x, y, colour)

    def polygon(self, points, colour):
        """Fills the pixels whose centres lie inside the polygon (even-odd rule)."""
        for y in range(self.height):
            for x in range(self.width):
                if inside(points, x + 0.5, y + 0.5):
                    self.put(x, y, colour)

    def thick_line(self, start, end, thickness, colour):
        """Fills the pixels whose centres lie within thickness / 2 of the segment."""
        (ax, ay), (bx, by) = start, end
        length2 = (bx - ax) ** 2 + (by - ay) ** 2 or 1.0
        for y in range(self.height):
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                t = min(max(((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / length2, 0.0), 1.0)
                dx, dy = px - (ax + t * (bx - ax)), py - (ay + t * (by - ay))
                if dx * dx + dy * dy <= (thickness / 2) ** 2:
                    self.put(x, y, colour)


def mix(first, second, share):
    channels = []
    for shift in (16, 8, 0):
        a, b = (first >> shift) & 0xFF, (second >> shift) & 0xFF
        channels.append(round(a + (b - a) * share))
    return (channels[0] << 16) | (channels[1] << 8) | channels[2]


def inside(points, x, y):
    result = False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            result = not result
    return result


def bmp32(canvas):
    """The canvas as a 32-bit BMP file: bottom row first, alpha 0xFF."""
    rows = bytearray()
    for row in reversed(canvas.pixels):
        for colour in row:
            rows += struct.pack("<I", 0xFF000000 | colour)
    headers = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", headers + len(rows), 0, 0, headers)
    info_header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 32, 0, len(rows), 2835, 2835, 0, 0)
    return file_header + info_header + bytes(rows)


# ---- list widget ----

LIST_FACE_TOP = 0xE8ECF2
LIST_FACE_BOTTOM = 0xC4CCD8
LIST_EDGE = 0x6A7688
LIST_MARK = 0x2C3E5A
LIST_PRESSED_TOP = 0x9DB4D8
LIST_PRESSED_BOTTOM = 0x7290C0
LIST_BOX = 0xFFFFFF
LIST_CHECK = 0x1F7A3A


def draw_button_face(canvas, upper=LIST_FACE_TOP, lower=LIST_FACE_BOTTOM):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, upper, lower)
    canvas.frame(0, 0, canvas.width, canvas.height, LIST_EDGE)


def draw_list_up_key(canvas):
    draw_button_face(canvas)
    w, h = canvas.width, canvas.height
    canvas.polygon([(w / 2, h * 0.3), (w * 0.8, h * 0.65), (w * 0.2, h * 0.65)], LIST_MARK)


def draw_list_down_key(canvas):
    draw_button_face(canvas)
    w, h = canvas.width, canvas.height
    canvas.polygon([(w * 0.2, h * 0.35), (w * 0.8, h * 0.35), (w / 2, h * 0.7)], LIST_MARK)


def draw_slider_grip(canvas):
    """Three short ridges across the middle of a slider."""
    middle = canvas.height // 2
    for y in (middle - 4, middle, middle + 4):
        canvas.fill(6, y, canvas.width - 6, y + 1, LIST_EDGE)


def draw_list_slider(canvas):
    draw_button_face(canvas)
    draw_slider_grip(canvas)


def draw_list_pressed_slider(canvas):
    draw_button_face(canvas, LIST_PRESSED_TOP, LIST_PRESSED_BOTTOM)
    draw_slider_grip(canvas)


def draw_list_box(canvas):
    canvas.fill(0, 0, canvas.width, canvas.height, LIST_BOX)
    canvas.frame(3, 3, canvas.width - 3, canvas.height - 3, LIST_EDGE)
    canvas.frame(4, 4, canvas.width - 4, canvas.height - 4, LIST_FACE_BOTTOM)


def draw_list_checked_box(canvas):
    draw_list_box(canvas)
    w, h = canvas.width, canvas.height
    canvas.thick_line((w * 0.27, h * 0.52), (w * 0.44, h * 0.7), 3.0, LIST_CHECK)
    canvas.thick_line((w * 0.44, h * 0.7), (w * 0.74, h * 0.3), 3.0, LIST_CHECK)


# One entry a skin file: name, width, height, drawing. Each family appends a block of its own.
SKINS = [
    # list widget
    ("ListObjectDefault_UpKey.bmp", 25, 35, draw_list_up_key),
    ("ListObjectDefault_DownKey.bmp", 25, 35, draw_list_down_key),
    ("ListObjectDefault_SliderScrollbar.bmp", 25, 30, draw_list_slider),
    ("ListObjectDefault_ScrollbarStencilPressedSlider.bmp", 25, 30, draw_list_pressed_slider),
    ("ListObjectDefault_Forground1.bmp", 25, 25, draw_list_box),
    ("ListObjectDefault_Forground2.bmp", 25, 25, draw_list_checked_box),
]


def write_skins(folder):
    os.makedirs(folder, exist_ok=True)
    for name, width, height, draw in SKINS:
        canvas = Canvas(width, height)
        draw(canvas)
        with open(os.path.join(folder, name), "wb") as output:
            output.write(bmp32(canvas))


def main(arguments):
    if arguments == ["--list"]:
        print("\n".join(name for name, _, _, _ in SKINS))
        return 0
    if len(arguments) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    write_skins(arguments[0])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
