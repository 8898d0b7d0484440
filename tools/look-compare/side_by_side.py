#!/usr/bin/env python3
"""Puts two PNG pictures side by side in one PNG, with a white gap between them.

Reads 8-bit RGB or RGBA PNGs without interlacing (what the host's renders are) using only the
standard library, so that it runs wherever the host builds:

    side_by_side.py LEFT.png RIGHT.png OUT.png
"""
import struct
import sys
import zlib

GAP_PIXELS = 8
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def read_png(path):
    """Answers (width, height, rows) with each row a bytearray of RGBA pixels."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != PNG_SIGNATURE:
        sys.exit(f"{path}: not a PNG file")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                sys.exit(f"{path}: only 8-bit RGB or RGBA pictures without interlacing")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        unfilter(kind, line, previous, channels)
        rows.append(line if channels == 4 else add_alpha(line))
        previous = line
    return width, height, rows


def unfilter(kind, line, previous, bpp):
    """Undoes one row's PNG filter in place (None, Sub, Up, Average, Paeth)."""
    for i in range(len(line)):
        left = line[i - bpp] if i >= bpp else 0
        up = previous[i]
        up_left = previous[i - bpp] if i >= bpp else 0
        if kind == 1:
            line[i] = (line[i] + left) & 0xFF
        elif kind == 2:
            line[i] = (line[i] + up) & 0xFF
        elif kind == 3:
            line[i] = (line[i] + (left + up) // 2) & 0xFF
        elif kind == 4:
            p = left + up - up_left
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
            predictor = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
            line[i] = (line[i] + predictor) & 0xFF


def add_alpha(line):
    out = bytearray()
    for i in range(0, len(line), 3):
        out += line[i:i + 3] + b"\xff"
    return out


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    with open(path, "wb") as f:
        f.write(PNG_SIGNATURE)
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: side_by_side.py LEFT.png RIGHT.png OUT.png")
    lw, lh, left = read_png(sys.argv[1])
    rw, rh, right = read_png(sys.argv[2])
    height = max(lh, rh)
    white = b"\xff\xff\xff\xff"
    rows = []
    for y in range(height):
        row = left[y] if y < lh else bytearray(white * lw)
        row += white * GAP_PIXELS
        row += right[y] if y < rh else bytearray(white * rw)
        rows.append(row)
    write_png(sys.argv[3], lw + GAP_PIXELS + rw, height, rows)


if __name__ == "__main__":
    main()
