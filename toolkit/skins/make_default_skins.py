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


# ---- trackbar ("CorrectImageTrackbar*") ----
# Stencils are grey levels the widgets multiply by and divide by 128: 128 lets a layer through
# whole, 0 hides it.

STENCIL_FULL = 0x808080
STENCIL_HALF = 0x404040
TRACK_BACK_TOP = 0x1C2838
TRACK_BACK_BOTTOM = 0x0E141E
TRACK_GROOVE = 0x8090A8
TRACK_EDGE = 0x3C4C64


def rounded_fill(canvas, left, top, right, bottom, colour, corner=3):
    """Fills the rectangle with its corners cut off diagonally."""
    for y in range(top, bottom):
        inset = max(corner - (y - top), corner - (bottom - 1 - y), 0)
        canvas.fill(left + inset, y, right - inset, y + 1, colour)


def draw_trackbar_background(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, TRACK_BACK_TOP, TRACK_BACK_BOTTOM)
    canvas.frame(0, 0, canvas.width, canvas.height, TRACK_EDGE)


def draw_trackbar_background_stencil(canvas):
    """The skin at the border, the value shading inside."""
    canvas.fill(0, 0, canvas.width, canvas.height, STENCIL_FULL)
    canvas.fill(4, 4, canvas.width - 4, canvas.height - 4, STENCIL_HALF)


def draw_trackbar_foreground(canvas):
    middle = canvas.width // 2
    canvas.fill(middle - 2, 6, middle + 2, canvas.height - 6, TRACK_GROOVE)
    canvas.frame(1, 1, canvas.width - 1, canvas.height - 1, TRACK_GROOVE)


def draw_trackbar_foreground_stencil(canvas):
    middle = canvas.width // 2
    canvas.fill(middle - 2, 6, middle + 2, canvas.height - 6, STENCIL_FULL)
    canvas.frame(1, 1, canvas.width - 1, canvas.height - 1, STENCIL_FULL)


def draw_trackbar_generate_stencil(canvas):
    canvas.fill(0, 0, canvas.width, canvas.height, STENCIL_HALF)


def draw_trackbar_slider_stencil(canvas):
    rounded_fill(canvas, 0, 0, canvas.width, canvas.height, STENCIL_FULL, 4)


def thumb_drawing(top, bottom, mark):
    """A thumb face of two colours with a mark of its own in the middle."""

    def draw(canvas):
        canvas.vertical_gradient(0, 0, canvas.width, canvas.height, top, bottom)
        canvas.frame(0, 0, canvas.width, canvas.height, 0xE0E8F0)
        w, h = canvas.width, canvas.height
        if mark == "sun":
            canvas.thick_line((w * 0.5, h * 0.2), (w * 0.5, h * 0.8), 2.0, 0xFFFFFF)
            canvas.thick_line((w * 0.3, h * 0.5), (w * 0.7, h * 0.5), 2.0, 0xFFFFFF)
        elif mark == "half":
            canvas.fill(w // 4, h // 4, w // 2, h - h // 4, 0xFFFFFF)
        elif mark == "drop":
            canvas.polygon([(w / 2, h * 0.2), (w * 0.7, h * 0.7), (w * 0.3, h * 0.7)], 0xFFFFFF)
        elif mark == "ring":
            canvas.frame(w // 3, h // 4, w - w // 3, h - h // 4, 0xFFFFFF)
        elif mark == "edge":
            canvas.thick_line((w * 0.3, h * 0.75), (w * 0.7, h * 0.25), 2.0, 0xFFFFFF)
        elif mark == "bars":
            for x in (0.35, 0.5, 0.65):
                canvas.fill(int(w * x), h // 4, int(w * x) + 1, h - h // 4, 0xFFFFFF)
        elif mark == "dots":
            for x, y in ((0.35, 0.35), (0.65, 0.4), (0.45, 0.65), (0.6, 0.7)):
                canvas.fill(int(w * x), int(h * y), int(w * x) + 2, int(h * y) + 2, 0xFFFFFF)

    return draw


TRACKBAR_THUMB = (30, 58)

# ---- button sets ("ExtPropertyEffects_*") ----

BUTTON_BACK_TOP = 0x2A3446
BUTTON_BACK_BOTTOM = 0x161C28


def draw_buttons_background(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, BUTTON_BACK_TOP, BUTTON_BACK_BOTTOM)


def solid(colour):
    def draw(canvas):
        canvas.fill(0, 0, canvas.width, canvas.height, colour)

    return draw


def draw_stencil_ring(canvas):
    """The look shows on the button's edge only."""
    canvas.fill(0, 0, canvas.width, canvas.height, STENCIL_FULL)
    canvas.fill(4, 4, canvas.width - 4, canvas.height - 4, 0x000000)


def draw_button_stencil_layer(canvas):
    rounded_fill(canvas, 2, 2, canvas.width - 2, canvas.height - 2, STENCIL_FULL, 5)


def draw_button_glass_layer(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height // 2, 0xC0C0C0, 0x202020)


def icon_drawing(mark):
    """A button face: a soft gradient and a light mark of its own."""

    def draw(canvas):
        w, h = canvas.width, canvas.height
        canvas.vertical_gradient(0, 0, w, h, 0x50627E, 0x27344A)
        light = 0xE8F0FF
        if mark == "power":
            canvas.frame(int(w * 0.35), int(h * 0.3), int(w * 0.65), int(h * 0.75), light)
            canvas.thick_line((w / 2, h * 0.15), (w / 2, h * 0.5), 3.0, light)
        elif mark == "blur":
            for x in range(3):
                canvas.thick_line((w * (0.3 + 0.2 * x), h * 0.25), (w * (0.3 + 0.2 * x), h * 0.75), 4.0 - x, light)
        elif mark == "shift":
            canvas.polygon([(w * 0.25, h * 0.5), (w * 0.55, h * 0.25), (w * 0.55, h * 0.75)], light)
            canvas.fill(int(w * 0.55), int(h * 0.42), int(w * 0.78), int(h * 0.58), light)
        elif mark == "reset":
            canvas.thick_line((w * 0.3, h * 0.3), (w * 0.7, h * 0.7), 3.0, light)
            canvas.thick_line((w * 0.7, h * 0.3), (w * 0.3, h * 0.7), 3.0, light)
        elif mark == "matrix":
            for x in (0.3, 0.5, 0.7):
                for y in (0.3, 0.5, 0.7):
                    canvas.fill(int(w * x) - 2, int(h * y) - 2, int(w * x) + 2, int(h * y) + 2, light)
        elif mark == "size":
            canvas.frame(int(w * 0.25), int(h * 0.25), int(w * 0.75), int(h * 0.75), light)
            canvas.fill(int(w * 0.25), int(h * 0.25), int(w * 0.5), int(h * 0.5), light)
        elif mark == "operation":
            canvas.thick_line((w * 0.5, h * 0.25), (w * 0.5, h * 0.75), 3.0, light)
            canvas.thick_line((w * 0.3, h * 0.5), (w * 0.7, h * 0.5), 3.0, light)
        elif mark == "extended":
            canvas.thick_line((w * 0.4, h * 0.25), (w * 0.4, h * 0.75), 3.0, light)
            canvas.thick_line((w * 0.2, h * 0.5), (w * 0.6, h * 0.5), 3.0, light)
            canvas.fill(int(w * 0.68), int(h * 0.3), int(w * 0.8), int(h * 0.42), light)

    return draw


BUTTON_FACE = (53, 40)
BUTTON_LOOK = (53, 40)

# ---- status strip (the test panel's skins) ----

STATUS_TOP_UPPER = 0x2A3C5C
STATUS_TOP_LOWER = 0x101A2C
STATUS_BOTTOM_UPPER = 0x0C1420
STATUS_BOTTOM_LOWER = 0x1C2A40
STATUS_EDGE = 0x5A7098


def draw_status_top(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, STATUS_TOP_UPPER, STATUS_TOP_LOWER)
    canvas.frame(0, 0, canvas.width, canvas.height, STATUS_EDGE)


def draw_status_glass_pattern(canvas):
    """Nearly white, so the picture it masks stays; every fourth row a little darker."""
    for y in range(canvas.height):
        canvas.fill(0, y, canvas.width, y + 1, 0xDCDCDC if y % 4 == 3 else 0xFFFFFF)


def draw_status_bottom(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, STATUS_BOTTOM_UPPER, STATUS_BOTTOM_LOWER)


def draw_status_top_text(canvas):
    """The weight of the radial light: strongest in the middle."""
    canvas.fill(0, 0, canvas.width, canvas.height, 0x303030)
    canvas.fill(canvas.width // 4, canvas.height // 4, canvas.width * 3 // 4, canvas.height * 3 // 4, 0x505050)


# ---- weekly schedule grid ----

SCHEDULE_STATES = (0x404850, 0x2E9E48, 0x3068C8, 0xD88A24)
SCHEDULE_MARKS = (0x000000, 0xF0D030, 0xE03828)
SCHEDULE_HEADER = 0xB4B4C8
FULL_WEIGHT = 0x7F7F7F


def draw_state(colour):
    def draw(canvas):
        canvas.vertical_gradient(0, 0, canvas.width, canvas.height, mix(colour, 0xFFFFFF, 0.25), colour)
    return draw


def draw_mark(colour):
    def draw(canvas):
        canvas.fill(0, 0, canvas.width, canvas.height, colour)
    return draw


def corner_triangle(canvas):
    w, h = canvas.width, canvas.height
    return [(w * 0.55, h), (w, h), (w, h * 0.45)]


def draw_cell_state_stencil(canvas):
    """Full weight but for the lower right corner, where the mark shows."""
    canvas.fill(0, 0, canvas.width, canvas.height, FULL_WEIGHT)
    canvas.polygon(corner_triangle(canvas), 0x000000)


def draw_cell_mark_stencil(canvas):
    canvas.polygon(corner_triangle(canvas), FULL_WEIGHT)


def draw_inner_weight(canvas):
    """Full weight inside a one-pixel border, which shows the background colour."""
    canvas.fill(1, 1, canvas.width - 1, canvas.height - 1, FULL_WEIGHT)


def draw_full_weight(canvas):
    canvas.fill(0, 0, canvas.width, canvas.height, FULL_WEIGHT)


def draw_header_background(canvas):
    canvas.fill(0, 0, canvas.width, canvas.height, SCHEDULE_HEADER)


def draw_left_half(canvas):
    canvas.fill(0, 0, canvas.width // 2, canvas.height, FULL_WEIGHT)


def draw_right_half(canvas):
    canvas.fill(canvas.width // 2, 0, canvas.width, canvas.height, FULL_WEIGHT)


def draw_corner_frame(canvas):
    """Both brush buttons inside a border, with a gap between them."""
    draw_inner_weight(canvas)
    middle = canvas.width // 2
    canvas.fill(middle - 1, 0, middle + 1, canvas.height, 0x000000)



# ---- toolbar ----

TOOLBAR_BUTTON = 40
TOOLBAR_TOP_BUTTONS = 11
TOOLBAR_BOTTOM_BUTTONS = 4
TOOLBAR_BACK_TOP = 0x5A6B84
TOOLBAR_BACK_BOTTOM = 0x2E3A4E
TOOLBAR_EDGE = 0x1C2433
TOOLBAR_HOVER_TOP = 0xB8D0F0
TOOLBAR_HOVER_BOTTOM = 0x7FA2D6
TOOLBAR_PRESSED_TOP = 0x3E5F96
TOOLBAR_PRESSED_BOTTOM = 0x6C8EC4
TOOLBAR_DISABLED = 0x6E6E6E
TOOLBAR_MASK = 0x7F7F7F
TOOLBAR_GLYPH = 0xF2F4F8
TOOLBAR_GLASS_TOP = 0xFFFFFF
TOOLBAR_GLASS_BOTTOM = 0x404850


def draw_toolbar_background(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, TOOLBAR_BACK_TOP, TOOLBAR_BACK_BOTTOM)
    canvas.frame(0, 0, canvas.width, canvas.height, TOOLBAR_EDGE)


def draw_toolbar_state(upper, lower):
    def draw(canvas):
        canvas.vertical_gradient(0, 0, canvas.width, canvas.height, upper, lower)
        canvas.frame(0, 0, canvas.width, canvas.height, TOOLBAR_EDGE)
    return draw


def draw_toolbar_disabled(canvas):
    canvas.fill(0, 0, canvas.width, canvas.height, TOOLBAR_DISABLED)


def draw_toolbar_stencil(inset):
    """A mask of the button's face, inset pixels from each edge: grey 127 lets the face through in
    place of what lies below it, black keeps what lies below."""
    def draw(canvas):
        canvas.fill(inset, inset, canvas.width - inset, canvas.height - inset, TOOLBAR_MASK)
    return draw


def draw_toolbar_glass(canvas):
    """A highlight that fades from the top edge down to the middle."""
    canvas.vertical_gradient(2, 2, canvas.width - 2, canvas.height // 2, TOOLBAR_GLASS_TOP, TOOLBAR_GLASS_BOTTOM)


def ring(canvas, radius, thickness, colour):
    w, h = canvas.width, canvas.height
    points = [(w / 2 + radius * c, h / 2 + radius * s) for c, s in
              ((1, 0), (0.7, 0.7), (0, 1), (-0.7, 0.7), (-1, 0), (-0.7, -0.7), (0, -1), (0.7, -0.7))]
    for start, end in zip(points, points[1:] + points[:1]):
        canvas.thick_line(start, end, thickness, colour)


def draw_glyph_key(canvas):
    ring(canvas, canvas.width * 0.15, 3.0, TOOLBAR_GLYPH)
    w, h = canvas.width, canvas.height
    canvas.thick_line((w * 0.62, h / 2), (w * 0.85, h / 2), 3.0, TOOLBAR_GLYPH)
    canvas.thick_line((w * 0.8, h / 2), (w * 0.8, h * 0.65), 3.0, TOOLBAR_GLYPH)


def draw_glyph_camera(canvas):
    w, h = canvas.width, canvas.height
    canvas.fill(int(w * 0.2), int(h * 0.35), int(w * 0.65), int(h * 0.7), TOOLBAR_GLYPH)
    canvas.polygon([(w * 0.65, h * 0.52), (w * 0.82, h * 0.38), (w * 0.82, h * 0.67)], TOOLBAR_GLYPH)


def draw_glyph_screen(canvas):
    w, h = canvas.width, canvas.height
    canvas.frame(int(w * 0.2), int(h * 0.25), int(w * 0.8), int(h * 0.65), TOOLBAR_GLYPH)
    canvas.frame(int(w * 0.2) + 1, int(h * 0.25) + 1, int(w * 0.8) - 1, int(h * 0.65) - 1, TOOLBAR_GLYPH)
    canvas.fill(int(w * 0.4), int(h * 0.7), int(w * 0.6), int(h * 0.75), TOOLBAR_GLYPH)


def draw_glyph_event(canvas):
    w, h = canvas.width, canvas.height
    canvas.polygon([(w / 2, h * 0.2), (w * 0.8, h * 0.75), (w * 0.2, h * 0.75)], TOOLBAR_GLYPH)


def draw_glyph_planes(canvas):
    w, h = canvas.width, canvas.height
    for row in range(2):
        for column in range(2):
            left, top = int(w * (0.22 + 0.3 * column)), int(h * (0.22 + 0.3 * row))
            canvas.fill(left, top, left + int(w * 0.25), top + int(h * 0.25), TOOLBAR_GLYPH)


def draw_glyph_lines(canvas):
    w, h = canvas.width, canvas.height
    for share in (0.3, 0.45, 0.6, 0.75):
        canvas.fill(int(w * 0.2), int(h * share), int(w * 0.8), int(h * share) + 2, TOOLBAR_GLYPH)


def draw_glyph_minimize(canvas):
    w, h = canvas.width, canvas.height
    canvas.fill(int(w * 0.25), int(h * 0.65), int(w * 0.75), int(h * 0.72), TOOLBAR_GLYPH)


def draw_glyph_close(canvas):
    w, h = canvas.width, canvas.height
    canvas.thick_line((w * 0.28, h * 0.28), (w * 0.72, h * 0.72), 4.0, TOOLBAR_GLYPH)
    canvas.thick_line((w * 0.72, h * 0.28), (w * 0.28, h * 0.72), 4.0, TOOLBAR_GLYPH)


def draw_glyph_sliders(canvas):
    w, h = canvas.width, canvas.height
    for share, knob in ((0.3, 0.35), (0.5, 0.65), (0.7, 0.45)):
        canvas.fill(int(w * 0.2), int(h * share), int(w * 0.8), int(h * share) + 2, TOOLBAR_GLYPH)
        canvas.fill(int(w * knob) - 2, int(h * share) - 3, int(w * knob) + 2, int(h * share) + 5, TOOLBAR_GLYPH)


def draw_glyph_printer(canvas):
    w, h = canvas.width, canvas.height
    canvas.fill(int(w * 0.3), int(h * 0.2), int(w * 0.7), int(h * 0.4), TOOLBAR_GLYPH)
    canvas.frame(int(w * 0.2), int(h * 0.4), int(w * 0.8), int(h * 0.7), TOOLBAR_GLYPH)
    canvas.fill(int(w * 0.3), int(h * 0.6), int(w * 0.7), int(h * 0.8), TOOLBAR_GLYPH)


def draw_glyph_arrow(canvas):
    w, h = canvas.width, canvas.height
    canvas.polygon([(w * 0.35, h * 0.25), (w * 0.7, h / 2), (w * 0.35, h * 0.75)], TOOLBAR_GLYPH)


def toolbar_skin(name, draw, width=TOOLBAR_BUTTON):
    return (name, width, TOOLBAR_BUTTON, draw)
def draw_graph_stencil(canvas):
    """A dark chart background with faint lines every eighth of its height."""
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, 0x202830, 0x101418)
    for k in range(1, 8):
        y = canvas.height * k // 8
        canvas.fill(0, y, canvas.width, y + 1, 0x303C48)


# One entry a skin file: name, width, height, drawing. Each family appends a block of its own.
SKINS = [
    # list widget
    ("ListObjectDefault_UpKey.bmp", 25, 35, draw_list_up_key),
    ("ListObjectDefault_DownKey.bmp", 25, 35, draw_list_down_key),
    ("ListObjectDefault_SliderScrollbar.bmp", 25, 30, draw_list_slider),
    ("ListObjectDefault_ScrollbarStencilPressedSlider.bmp", 25, 30, draw_list_pressed_slider),
    ("ListObjectDefault_Forground1.bmp", 25, 25, draw_list_box),
    ("ListObjectDefault_Forground2.bmp", 25, 25, draw_list_checked_box),
    # trackbar
    ("CorrectImageTrackbarBackground.bmp", 40, 196, draw_trackbar_background),
    ("CorrectImageTrackbarForground.bmp", 40, 196, draw_trackbar_foreground),
    ("CorrectImageTrackbarBackgroundStencil.bmp", 40, 196, draw_trackbar_background_stencil),
    ("CorrectImageTrackbarGenerateStencil.bmp", 40, 196, draw_trackbar_generate_stencil),
    ("CorrectImageTrackbarSliderStencil.bmp", *TRACKBAR_THUMB, draw_trackbar_slider_stencil),
    ("CorrectImageTrackbarForgroundStencil.bmp", 40, 196, draw_trackbar_foreground_stencil),
    ("CorrectImageTrackbarSliderBright.bmp", *TRACKBAR_THUMB, thumb_drawing(0xC89628, 0x785014, "sun")),
    ("CorrectImageTrackbarSliderContrast.bmp", *TRACKBAR_THUMB, thumb_drawing(0x8C8C8C, 0x3C3C3C, "half")),
    ("CorrectImageTrackbarSliderSaturation.bmp", *TRACKBAR_THUMB, thumb_drawing(0xC83C64, 0x641E32, "drop")),
    ("CorrectImageTrackbarSliderHue.bmp", *TRACKBAR_THUMB, thumb_drawing(0x3CA064, 0x1E5032, "ring")),
    ("CorrectImageTrackbarSliderSharp.bmp", *TRACKBAR_THUMB, thumb_drawing(0x3C78C8, 0x1E3C64, "edge")),
    ("CorrectImageTrackbarSliderFrameRateCamera.bmp", *TRACKBAR_THUMB, thumb_drawing(0xA064C8, 0x503264, "bars")),
    ("CorrectImageTrackbarSliderFrameRate.bmp", *TRACKBAR_THUMB, thumb_drawing(0x8C64C8, 0x463264, "bars")),
    ("CorrectImageTrackbarSliderNoseRemove.bmp", *TRACKBAR_THUMB, thumb_drawing(0x64A0A0, 0x325050, "dots")),
    ("CorrectImageTrackbarSliderDWTNoiseRemove.bmp", *TRACKBAR_THUMB, thumb_drawing(0x50A0C8, 0x285064, "dots")),
    ("CorrectImageTrackbarSliderNoseRemove2.bmp", *TRACKBAR_THUMB, thumb_drawing(0x78B478, 0x3C5A3C, "dots")),
    ("CorrectImageTrackbarSliderZero.bmp", *TRACKBAR_THUMB, thumb_drawing(0x505050, 0x282828, "")),
    # button sets
    ("ExtPropertyEffects_Background.bmp", 212, 40, draw_buttons_background),
    ("ExtPropertyEffects_CursorForeground.bmp", *BUTTON_LOOK, solid(0x50A0FF)),
    ("ExtPropertyEffects_PressedState.bmp", *BUTTON_LOOK, solid(0xFFB43C)),
    ("ExtPropertyEffects_DisabledState.bmp", *BUTTON_LOOK, solid(0x505050)),
    ("ExtPropertyEffects_StencilCursorForeground.bmp", *BUTTON_LOOK, draw_stencil_ring),
    ("ExtPropertyEffects_StencilPressedForeground.bmp", *BUTTON_LOOK, solid(0x606060)),
    ("ExtPropertyEffects_StencilDisabledForeground.bmp", *BUTTON_LOOK, solid(0x707070)),
    ("ExtPropertyEffects_StencilDisabledForeground2.bmp", *BUTTON_LOOK, solid(0x707070)),
    ("ExtPropertyEffects_GlassLayer.bmp", *BUTTON_FACE, draw_button_glass_layer),
    ("ExtPropertyEffects_StencilLayer.bmp", *BUTTON_FACE, draw_button_stencil_layer),
    ("ExtPropertyEffects_EnableEffect.bmp", *BUTTON_FACE, icon_drawing("power")),
    ("ExtPropertyEffects_BlureHistogram.bmp", *BUTTON_FACE, icon_drawing("blur")),
    ("ExtPropertyEffects_ShiftHistogram.bmp", *BUTTON_FACE, icon_drawing("shift")),
    ("ExtPropertyEffects_ResetManualGroundEffect.bmp", *BUTTON_FACE, icon_drawing("reset")),
    ("ExtPropertyEffects_ColorControlMatrix.bmp", *BUTTON_FACE, icon_drawing("matrix")),
    ("ExtPropertyEffects_ShiftMatrix.bmp", *BUTTON_FACE, icon_drawing("shift")),
    ("ExtPropertyEffects_Zero.bmp", *BUTTON_FACE, icon_drawing("")),
    ("ExtPropertyEffects_BackgroundEffect_SourceAndSize.bmp", *BUTTON_FACE, icon_drawing("size")),
    ("ExtPropertyEffects_BackgroundEffect_Operation.bmp", *BUTTON_FACE, icon_drawing("operation")),
    ("ExtPropertyEffects_BackgroundEffect_OperationExtended.bmp", *BUTTON_FACE, icon_drawing("extended")),
    # status strip of the test panel
    ("PlexamoHome_StatusDialog_TopStatus.bmp", 64, 48, draw_status_top),
    ("PlexamoHome_StatusDialog_GlassPatternStatus.bmp", 64, 48, draw_status_glass_pattern),
    ("PlexamoHome_StatusDialog_BottomStatus.bmp", 64, 16, draw_status_bottom),
    ("PlexamoHome_StatusDialog_TopText.bmp", 64, 48, draw_status_top_text),
    # weekly schedule grid: states 1-4, marks 0-2, stencils, headers and the corner
    ("ScheduleGrid_State1.bmp", 26, 32, draw_state(SCHEDULE_STATES[0])),
    ("ScheduleGrid_State2.bmp", 26, 32, draw_state(SCHEDULE_STATES[1])),
    ("ScheduleGrid_State3.bmp", 26, 32, draw_state(SCHEDULE_STATES[2])),
    ("ScheduleGrid_State4.bmp", 26, 32, draw_state(SCHEDULE_STATES[3])),
    ("ScheduleGrid_Mark0.bmp", 26, 32, draw_mark(SCHEDULE_MARKS[0])),
    ("ScheduleGrid_Mark1.bmp", 26, 32, draw_mark(SCHEDULE_MARKS[1])),
    ("ScheduleGrid_Mark2.bmp", 26, 32, draw_mark(SCHEDULE_MARKS[2])),
    ("ScheduleGrid_StateStencil.bmp", 26, 32, draw_cell_state_stencil),
    ("ScheduleGrid_MarkStencil.bmp", 26, 32, draw_cell_mark_stencil),
    ("ScheduleGrid_FrameStencil.bmp", 26, 32, draw_inner_weight),
    ("ScheduleGrid_HeaderBackground.bmp", 26, 25, draw_header_background),
    ("ScheduleGrid_HeaderStencil.bmp", 26, 25, draw_full_weight),
    ("ScheduleGrid_CornerStateStencil.bmp", 96, 25, draw_left_half),
    ("ScheduleGrid_CornerMarkStencil.bmp", 96, 25, draw_right_half),
    ("ScheduleGrid_CornerFrame.bmp", 96, 25, draw_corner_frame),
    # toolbar: the top row of 11 buttons, then the bottom row of 4
    toolbar_skin("Toolbar_Background.bmp", draw_toolbar_background, TOOLBAR_BUTTON * TOOLBAR_TOP_BUTTONS),
    toolbar_skin("Toolbar_CursorForeground.bmp", draw_toolbar_state(TOOLBAR_HOVER_TOP, TOOLBAR_HOVER_BOTTOM)),
    toolbar_skin("Toolbar_PressedState.bmp", draw_toolbar_state(TOOLBAR_PRESSED_TOP, TOOLBAR_PRESSED_BOTTOM)),
    toolbar_skin("Toolbar_DisabledState.bmp", draw_toolbar_disabled),
    toolbar_skin("Toolbar_StencilCursorForeground.bmp", draw_toolbar_stencil(2)),
    toolbar_skin("Toolbar_StencilPressedForeground.bmp", draw_toolbar_stencil(2)),
    toolbar_skin("Toolbar_StencilDisabledForeground.bmp", draw_toolbar_stencil(2)),
    toolbar_skin("Toolbar_StencilForground.bmp", draw_toolbar_stencil(4)),
    toolbar_skin("Toolbar_StencilForgroundForStatic.bmp", draw_toolbar_stencil(0)),
    toolbar_skin("SimpleStencil.bmp", draw_toolbar_stencil(0)),
    toolbar_skin("Toolbar_Glass_Quillmark.bmp", draw_toolbar_glass),
    toolbar_skin("Toolbar_Autorezation_Quillmark.bmp", draw_glyph_key),
    toolbar_skin("Toolbar_CaptureSelect_Quillmark.bmp", draw_glyph_camera),
    toolbar_skin("Toolbar_ViewSelect_Quillmark.bmp", draw_glyph_screen),
    toolbar_skin("Toolbar_EventSelect_Quillmark.bmp", draw_glyph_event),
    toolbar_skin("Toolbar_PlaneSelect_Quillmark.bmp", draw_glyph_planes),
    toolbar_skin("Toolbar_StaticElements_Quillmark.bmp", draw_glyph_lines),
    toolbar_skin("Toolbar_Minimaze_Quillmark.bmp", draw_glyph_minimize),
    toolbar_skin("Toolbar_Close_Quillmark.bmp", draw_glyph_close),
    toolbar_skin("BottomToolbar_Backgound.bmp", draw_toolbar_background, TOOLBAR_BUTTON * TOOLBAR_BOTTOM_BUTTONS),
    toolbar_skin("BottomToolbar_Stencil.bmp", draw_toolbar_stencil(4)),
    toolbar_skin("GeneralDialogSBCursorForeground.bmp", draw_toolbar_state(TOOLBAR_HOVER_TOP, TOOLBAR_HOVER_BOTTOM)),
    toolbar_skin("GeneralDialogSBPressedState.bmp", draw_toolbar_state(TOOLBAR_PRESSED_TOP, TOOLBAR_PRESSED_BOTTOM)),
    toolbar_skin("GeneralDialogSBDisabledState.bmp", draw_toolbar_disabled),
    toolbar_skin("GeneralDialogSBStencilCursorForeground.bmp", draw_toolbar_stencil(2)),
    toolbar_skin("GeneralDialogSBStencilPressedForeground.bmp", draw_toolbar_stencil(2)),
    toolbar_skin("GeneralDialogSBStencilDisabledForeground.bmp", draw_toolbar_stencil(2)),
    toolbar_skin("BottomToolbar_ControlPanelButton_ForgroundImage.bmp", draw_glyph_sliders),
    toolbar_skin("BottomToolbar_StaticText_ForgroundImage.bmp", draw_glyph_lines),
    toolbar_skin("BottomToolbar_PrintButton_ForgroundImage.bmp", draw_glyph_printer),
    toolbar_skin("BottomToolbar_ExtendedPanelButton_ForgroundImage.bmp", draw_glyph_arrow),
    toolbar_skin("BottomToolbar_ControlPanelButton_Glass.bmp", draw_toolbar_glass),
    toolbar_skin("BottomToolbar_PrintButton_Glass.bmp", draw_toolbar_glass),
    toolbar_skin("BottomToolbar_ExtendedPanelButton_Glass.bmp", draw_toolbar_glass),
    # graph widget
    ("DetectorGraphBackgroundStencil.bmp", 64, 48, draw_graph_stencil),
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
