#!/usr/bin/env python3
"""Writes padloom.ico: a 32x32, 32-bit icon of a pad-shaped body crossed by a
woven grid of slots. Run it from anywhere; it writes beside itself."""
import os
import struct

SIZE = 32
BODY = (0x2E, 0x5E, 0x8C)    # blue body
EDGE = (0x1B, 0x36, 0x52)    # darker outline
THREAD = (0xF2, 0xC1, 0x4E)  # yellow threads
KNOT = (0xE0, 0x4F, 0x3A)    # red crossing


def inside_body(x, y):
    # A rounded bar with two grips: the outline of a gamepad.
    cx, cy = x + 0.5, y + 0.5
    if 4 <= cx <= 28 and 9 <= cy <= 21:
        return True
    for gx in (8.0, 24.0):
        if (cx - gx) ** 2 + (cy - 21.0) ** 2 <= 5.5 ** 2:
            return True
    for gx in (8.0, 24.0):
        if (cx - gx) ** 2 + (cy - 14.0) ** 2 <= 6.0 ** 2:
            return True
    return False


def pixel(x, y):
    if not inside_body(x, y):
        return None
    edge = any(not inside_body(x + dx, y + dy)
               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
    if edge:
        return EDGE
    on_col = x in (11, 16, 21)
    on_row = y in (12, 16)
    if on_col and on_row:
        return KNOT
    if (on_col and 10 <= y <= 18) or (on_row and 9 <= x <= 23):
        return THREAD
    return BODY


def main():
    rows = []
    mask_rows = []
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = bytearray()
        mask = 0
        for x in range(SIZE):
            colour = pixel(x, y)
            if colour is None:
                row += bytes((0, 0, 0, 0))
                mask |= 1 << (SIZE - 1 - x)
            else:
                r, g, b = colour
                row += bytes((b, g, r, 0xFF))
        rows.append(bytes(row))
        mask_rows.append(struct.pack(">I", mask))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = header + b"".join(rows) + b"".join(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "padloom.ico")
    with open(path, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
