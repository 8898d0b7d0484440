#!/usr/bin/env python3
"""Writes biped.bmp, the 24 by 24 button image of the Biped tools: a small standing figure
(centre grey-blue, left limbs blue, right limbs green) on a neutral grey background.
8 bits per pixel with a 256-entry palette, rows stored bottom-up as a BMP requires."""
import struct
import sys

SIZE = 24  # pixels, width and height

# Palette indices used by the picture.
BACKGROUND, OUTLINE, BODY, LEFT, RIGHT, HEAD = range(6)
PALETTE = [  # (red, green, blue)
    (192, 192, 192),  # neutral background
    (32, 32, 32),     # outline / joints
    (96, 112, 160),   # pelvis, spine, neck
    (0, 0, 255),      # left limbs (the biped's default left colour)
    (0, 160, 0),      # right limbs (the biped's default right colour)
    (224, 184, 144),  # head
]

# The figure, top row first: '.' background, 'o' outline, 'b' body, 'l' left, 'r' right, 'h' head.
# The figure faces the viewer, so its left side is on the picture's right.
ART = [
    "........................",
    "..........oooo..........",
    ".........ohhhho.........",
    ".........ohhhho.........",
    ".........ohhhho.........",
    "..........oooo..........",
    "...........bb...........",
    ".......rrrrbbllll.......",
    "......rr..obbo..ll......",
    ".....rr...obbo...ll.....",
    "....rr....obbo....ll....",
    "....r.....obbo.....l....",
    "....o.....obbo.....o....",
    "..........bbbb..........",
    ".........rr..ll.........",
    ".........rr..ll.........",
    ".........rr..ll.........",
    ".........rr..ll.........",
    ".........oo..oo.........",
    ".........rr..ll.........",
    ".........rr..ll.........",
    ".........rr..ll.........",
    "........rrr..lll........",
    "........................",
]
CODES = {".": BACKGROUND, "o": OUTLINE, "b": BODY, "l": LEFT, "r": RIGHT, "h": HEAD}


def bitmap_bytes():
    assert len(ART) == SIZE and all(len(row) == SIZE for row in ART)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    palette += b"\0" * (4 * (256 - len(PALETTE)))
    row_bytes = (SIZE + 3) // 4 * 4
    pixels = b""
    for row in reversed(ART):  # bottom-up
        line = bytes(CODES[c] for c in row)
        pixels += line + b"\0" * (row_bytes - len(line))
    header_size = 14 + 40
    offset = header_size + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(pixels),
                              2835, 2835, 256, 0)
    return file_header + info_header + palette + pixels


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "biped.bmp"
    with open(out, "wb") as f:
        f.write(bitmap_bytes())
