#!/usr/bin/env python3
"""Writes app/res/lanhosts.ico: 16, 32 and 48 px, 16 colours (4 bits per pixel).

The picture: two screens on a network line, on a transparent background.
"""
import struct
import sys

# The standard 16-colour palette (BGR0 order in the file).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, GREY, SILVER, BLUE, CYAN, WHITE, TRANSPARENT = 0, 4, 8, 7, 12, 14, 15, None


def picture(n):
    """Pixels top-down: palette indices, None for transparent."""
    px = [[TRANSPARENT] * n for _ in range(n)]
    u = n / 16.0

    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * u), max(int(y1 * u), int(y0 * u) + 1)):
            for x in range(int(x0 * u), max(int(x1 * u), int(x0 * u) + 1)):
                if 0 <= x < n and 0 <= y < n:
                    px[y][x] = c

    for left in (0, 8):
        rect(left, 1, left + 8, 8, BLACK)        # screen frame
        rect(left + 1, 2, left + 7, 7, CYAN)     # screen
        rect(left + 3, 8, left + 5, 10, GREY)    # stand
        rect(left + 4, 10, left + 4.5, 13, BLACK)
    rect(1, 13, 15, 14, BLUE)                     # the network line
    return px


def dib(n):
    px = picture(n)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_row = ((n * 4 + 31) // 32) * 4
    and_row = ((n + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(n)):
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(n):
            c = px[y][x]
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                c = 0
            row[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor += row
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def main(path):
    sizes = [16, 32, 48]
    images = [dib(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app/res/lanhosts.ico')
