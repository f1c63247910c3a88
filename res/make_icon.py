#!/usr/bin/env python3
"""Draws the program icon: a black diskette behind a magnifying glass, 32 x 32 in 16 colours."""
import struct
import sys

# The 16-colour palette of the classic Windows icons.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, DARK_GREY, BLUE, WHITE = 0, 4, 7, 8, 12, 15
SIZE = 32
CLEAR = None


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    # Diskette: black body, grey shutter with a slot, white label.
    fill(1, 1, 20, 20, BLACK)
    fill(5, 1, 15, 7, GREY)
    fill(12, 2, 14, 6, BLACK)
    fill(4, 11, 17, 20, WHITE)
    fill(4, 11, 17, 11, DARK_GREY)
    px[1][20] = CLEAR

    # Magnifying glass: grey-white lens in a blue rim.
    cx, cy = 17.5, 15.5
    for y in range(SIZE):
        for x in range(SIZE):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if d2 <= 6.0 ** 2:
                px[y][x] = WHITE if (x - cx) + (y - cy) < -2 else GREY
            elif d2 <= 8.2 ** 2:
                px[y][x] = BLUE

    # Dark-blue handle towards the lower right.
    for step in range(10):
        for w in range(-1, 2):
            x, y = 23 + step + w, 21 + step
            if x < SIZE and y < SIZE:
                px[y][x] = DARK_BLUE
            if x + 1 < SIZE and y < SIZE:
                px[y][x + 1] = DARK_BLUE if w == 1 else px[y][x + 1]
    return px


def encode(px):
    header = struct.pack("<HHH", 0, 1, 1)
    xor_rows, and_rows = [], []
    for row in reversed(px):  # bitmaps are stored bottom-up
        nibbles = [0 if c is None else c for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (SIZE - 1 - x)
        and_rows.append(struct.pack(">I", bits))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    image = info + palette + b"".join(xor_rows) + b"".join(and_rows)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "velmora.ico", "wb") as f:
        f.write(encode(draw()))
