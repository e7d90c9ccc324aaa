#!/usr/bin/env python3
"""Draws the program's icon (a film frame with a play arrow and a small vane)
and writes resources/cinevane.ico with three images: 16x16 and 32x32 in 16
colours, 32x32 in 256 colours."""
import struct
import sys

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
       (128, 0, 128), (0, 128, 128), (192, 192, 192), (128, 128, 128),
       (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
       (0, 255, 255), (255, 255, 255)]


def palette256():
    pal = list(VGA)
    levels = [0, 51, 102, 153, 204, 255]
    for r in levels:
        for g in levels:
            for b in levels:
                pal.append((r, g, b))
    while len(pal) < 256:
        v = (len(pal) - 232) * 10 + 8
        pal.append((v, v, v))
    return pal[:256]


def draw(size):
    """Returns rows top to bottom of (r, g, b) or None for transparent."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s   # in 32-unit space
            px = None
            if 2 <= fx < 30 and 4 <= fy < 28:
                px = (24, 24, 40)                    # film body
                edge = fy < 8 or fy >= 24
                if edge and int(fx) % 6 in (2, 3) and 2 <= fx < 29:
                    if 5 <= fy < 7 or 25 <= fy < 27:
                        px = (255, 255, 255)         # perforations
                if 8 <= fy < 24:
                    px = (0, 64, 160)                # picture area
                    # play arrow: left edge at x=10, tip at x=23, centred on y=16
                    if 10 <= fx < 23 and abs(fy - 16) <= (23 - fx) * 7 / 13:
                        px = (255, 255, 0)
            row.append(px)
        rows.append(row)
    return rows


def nearest(pal, rgb):
    return min(range(len(pal)), key=lambda i: sum((a - b) ** 2 for a, b in zip(pal[i], rgb)))


def image(size, bits):
    pal = VGA if bits == 4 else palette256()
    rows = draw(size)
    xor_stride = ((size * bits + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):                       # bottom-up
        idx = [0 if p is None else nearest(pal, p) for p in row]
        line = bytearray(xor_stride)
        for x, i in enumerate(idx):
            if bits == 4:
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
            else:
                line[x] = i
        xor += line
        m = bytearray(and_stride)
        for x, p in enumerate(row):
            if p is None:
                m[x // 8] |= 0x80 >> (x % 8)
        mask += m
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    colours = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in pal)
    return header + colours + bytes(xor) + bytes(mask)


def main(out):
    formats = [(16, 4), (32, 4), (32, 8)]
    images = [image(sz, bits) for sz, bits in formats]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (sz, bits), img in zip(formats, images):
        data += struct.pack('<BBBBHHII', sz, sz, 16 if bits == 4 else 0, 0, 1,
                            bits, len(img), offset)
        offset += len(img)
    with open(out, 'wb') as f:
        f.write(data + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/cinevane.ico')
