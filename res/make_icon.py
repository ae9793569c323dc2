#!/usr/bin/env python3
"""Writes padloom.ico: a pad-shaped body crossed by a woven grid of slots, drawn
from one outline at every size Windows asks for at 100 to 200 % and beyond
(16, 20, 24, 32, 40, 48, 64 and 256 pixels), each pixel covered by the
shapes it holds, so that no size is a blurred copy of another. The large
images are PNG (as Windows Vista and later read them), the small ones
32-bit bitmaps. Run it from anywhere; it writes beside itself."""
import os
import struct
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 64
BODY = (0x2E, 0x5E, 0x8C)    # blue body
EDGE = (0x1B, 0x36, 0x52)    # darker outline
THREAD = (0xF2, 0xC1, 0x4E)  # yellow threads
KNOT = (0xE0, 0x4F, 0x3A)    # red crossing
SAMPLES = 4                  # per pixel and axis


def inside_body(x, y):
    """The outline of a gamepad, in a 32-unit square: a bar with two grips."""
    if 4 <= x <= 28 and 9 <= y <= 21:
        return True
    for gx in (8.0, 24.0):
        if (x - gx) ** 2 + (y - 21.0) ** 2 <= 5.5 ** 2:
            return True
        if (x - gx) ** 2 + (y - 14.0) ** 2 <= 6.0 ** 2:
            return True
    return False


def colour_at(x, y, unit):
    """The colour at a point of the 32-unit square, or None outside; lines are
    at least one pixel (`unit` units) wide at every size."""
    if not inside_body(x, y):
        return None
    edge = max(1.0, unit)
    if any(not inside_body(x + dx, y + dy)
           for dx, dy in ((edge, 0), (-edge, 0), (0, edge), (0, -edge))):
        return EDGE
    half = max(0.5, unit / 2)
    on_col = any(abs(x - c) <= half for c in (11.5, 16.5, 21.5))
    on_row = any(abs(y - r) <= half for r in (12.5, 16.5))
    if on_col and on_row:
        return KNOT
    if (on_col and 10 <= y <= 19) or (on_row and 9 <= x <= 24):
        return THREAD
    return BODY


def render(size):
    """Rows top-down of (r, g, b, a), each pixel the average of its samples."""
    unit = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) * unit,
                                  (py + (sy + 0.5) / SAMPLES) * unit, unit)
                    if c is not None:
                        r, g, b, hits = r + c[0], g + c[1], b + c[2], hits + 1
            if hits:
                row.append((r // hits, g // hits, b // hits, 255 * hits // SAMPLES ** 2))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap(size, rows):
    """A DIB as icons hold it: bottom-up BGRA, then an AND mask of 32-bit rows."""
    pixels = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a))
                      for row in reversed(rows))
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + pixels + bytes(mask)


def png(size, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = [(size, png(size, render(size)) if size >= PNG_FROM else bitmap(size, render(size)))
              for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in images:
        # 256 is written as 0 in the directory.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                               offset)
        offset += len(image)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "padloom.ico")
    with open(path, "wb") as out:
        out.write(directory + entries + b"".join(image for _, image in images))


if __name__ == "__main__":
    main()
