#!/usr/bin/env python3
"""Draws the player's icons, its link cursor and the editor's icon from the shapes below.

Writes zelbo.ico (the program icon, 32 x 32 and 16 x 16 in 32-bit colour), atelier.ico (the
editor's icon, from 16 x 16 to 64 x 64 for scaled screens), play.ico and stop.ico
(32 x 32, two colours: black on light grey) and link.cur (32 x 32 monochrome pointing hand, hot spot
6, 0) into the folder given as the only argument.
"""
import struct
import sys
from pathlib import Path

LIGHT_GREY = (0xC0, 0xC0, 0xC0)
BLACK = (0, 0, 0)


def play_pixels(x, y):
    """A right-pointing triangle, centred."""
    if not 8 <= x <= 24:
        return False
    half = (x - 8) * 9 // 16
    return 16 - (9 - half) <= y <= 15 + (9 - half)


def stop_pixels(x, y):
    """A filled square, centred."""
    return 9 <= x <= 22 and 9 <= y <= 22


HAND = [
    "      XX                        ",
    "     X..X                       ",
    "     X..X                       ",
    "     X..X                       ",
    "     X..X                       ",
    "     X..XXX                     ",
    "     X..X..XXX                  ",
    "     X..X..X..XX                ",
    "  XX X..X..X..X.X               ",
    " X..XX........X..X              ",
    " X...X...........X              ",
    "  X..............X              ",
    "  X..............X              ",
    "   X.............X              ",
    "   X............X               ",
    "    X...........X               ",
    "    X..........X                ",
    "     X.........X                ",
    "     X.........X                ",
    "     XXXXXXXXXXX                ",
]


def row_bytes(bits_per_pixel, width):
    return ((width * bits_per_pixel + 31) // 32) * 4


def pack_bits(rows, width):
    """Packs rows of 0/1 values bottom-up into 1-bit DIB rows."""
    stride = row_bytes(1, width)
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, bit in enumerate(row):
            if bit:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def bitmap_info(width, height, bits, palette_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, 0, 0, 0, palette_size, 0)


def two_colour_image(inside, size=32):
    """Black where inside(x, y) holds, light grey elsewhere; fully opaque."""
    colour_rows = [[1 if inside(x, y) else 0 for x in range(size)] for y in range(size)]
    mask_rows = [[0] * size for _ in range(size)]
    palette = bytes([LIGHT_GREY[2], LIGHT_GREY[1], LIGHT_GREY[0], 0, BLACK[2], BLACK[1], BLACK[0], 0])
    return bitmap_info(size, size, 1, 2) + palette + pack_bits(colour_rows, size) + pack_bits(mask_rows, size)


def program_icon_image(size, colour_at=None):
    """A violet rounded tile with a white speech bubble holding a golden question mark."""
    colour_at = colour_at or tile_colour
    scale = size / 32.0
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = (x + 0.5) / scale, (y + 0.5) / scale
            row.append(colour_at(u, v))
        pixels.append(row)
    data = bytearray()
    for row in reversed(pixels):
        for b, g, r, a in row:
            data += bytes([b, g, r, a])
    mask = pack_bits([[0] * size for _ in range(size)], size)
    return bitmap_info(size, size, 32, 0) + bytes(data) + mask


def tile_background(u, v):
    """The rounded violet tile, darker towards the bottom; transparent around its corners."""
    corner = 5.0
    cx = min(max(u, corner), 32 - corner)
    cy = min(max(v, corner), 32 - corner)
    if (u - cx) ** 2 + (v - cy) ** 2 > corner * corner:
        return (0, 0, 0, 0)
    shade = int(40 * v / 32)
    return (0xC8 - shade, 0x50 - shade // 2, 0x6A - shade // 2, 255)


def tile_colour(u, v):
    background = tile_background(u, v)
    if background[3] == 0:
        return background
    in_bubble = ((u - 16) / 12.5) ** 2 + ((v - 14) / 10.5) ** 2 <= 1.0
    in_tail = 8 <= u <= 14 and 22 <= v <= 29 and (u - 8) >= (v - 22) * 0.85
    if in_bubble or in_tail:
        if question_mark(u, v):
            return (0x26, 0xCB, 0xFF, 255)
        return (255, 255, 255, 255)
    return background


def atelier_colour(u, v):
    """The player's violet tile holding a white card of written lines, a golden pencil across it."""
    tile = tile_background(u, v)
    if tile[3] == 0:
        return tile
    # The pencil runs from its tip at (9, 27) up to (27, 9), 3.2 units wide.
    along = ((u - 9) - (v - 27)) / 2 ** 0.5
    across = abs((u - 9) + (v - 27)) / 2 ** 0.5
    if 0 <= along <= 25.5 and across <= 1.6 + min(along, 4.0) * 0.4 - 1.6 * (along < 4.0) * (1 - along / 4.0):
        if along < 2.2:
            return (0x30, 0x30, 0x30, 255)
        if along < 4.0:
            return (0x9C, 0xD4, 0xF2, 255)
        if along > 22.5:
            return (0x80, 0x70, 0xE0, 255)
        return (0x26, 0xB8, 0xF5, 255) if across < 0.9 else (0x10, 0x8C, 0xD0, 255)
    if 5 <= u <= 23 and 4 <= v <= 26:
        line = (v - 8) % 4.5 < 1.4 and 8 <= v <= 23 and 8 <= u <= 20 - (4 if v > 19 else 0)
        return (0xA0, 0x90, 0x90, 255) if line else (255, 255, 255, 255)
    return tile


def question_mark(u, v):
    ring = ((u - 16) ** 2 + (v - 11) ** 2) ** 0.5
    upper_arc = 3.0 <= ring <= 5.4 and (v <= 11 or u >= 16)
    stem = 14.6 <= u <= 17.4 and 15 <= v <= 18.5
    dot = (u - 16) ** 2 + (v - 21.5) ** 2 <= 2.3
    return upper_arc or stem or dot


def write_group(path, kind, images, hotspots=None):
    """Writes an .ico (kind 1) or .cur (kind 2) with the given (size, bits, image bytes)."""
    header = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries = bytearray()
    for index, (size, bits, image) in enumerate(images):
        colours = 2 if bits == 1 else 0
        if kind == 2:
            hx, hy = hotspots[index]
            entries += struct.pack("<BBBBHHII", size, size, colours, 0, hx, hy, len(image), offset)
        else:
            entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    path.write_bytes(header + bytes(entries) + b"".join(image for _, _, image in images))


def hand_cursor():
    """White hand with a black outline; transparent around it (AND 1, XOR 0)."""
    size = 32
    art = [line.ljust(size) for line in HAND] + [" " * size] * (size - len(HAND))
    xor_rows = [[1 if ch == "." else 0 for ch in line] for line in art]
    and_rows = [[1 if ch == " " else 0 for ch in line] for line in art]
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    return bitmap_info(size, size, 1, 2) + palette + pack_bits(xor_rows, size) + pack_bits(and_rows, size)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_group(out / "zelbo.ico", 1, [(32, 32, program_icon_image(32)), (16, 32, program_icon_image(16))])
    write_group(out / "atelier.ico", 1, [(size, 32, program_icon_image(size, atelier_colour))
                                         for size in (64, 48, 32, 24, 16)])
    write_group(out / "play.ico", 1, [(32, 1, two_colour_image(play_pixels))])
    write_group(out / "stop.ico", 1, [(32, 1, two_colour_image(stop_pixels))])
    write_group(out / "link.cur", 2, [(32, 1, hand_cursor())], hotspots=[(6, 0)])


if __name__ == "__main__":
    main()
