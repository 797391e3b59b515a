#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files (32 by 32 and 16 by 16, 32-bit with
alpha), for the resource script src/app/morvane.rc:
    mainIcon.ico      the game's own icon: a white quill over a violet disc
    notepadIcon.ico   the boss key's disguise: a page of a text editor's notepad
Usage: genIcons.py OUTDIR
"""
import os
import struct
import sys


def clamp(v):
    return max(0, min(255, int(round(v))))


def render(size, shade):
    """Pixels (r, g, b, a) row by row from the top; shade(u, v) takes the pixel centre in 0..1 and
    gives a colour or None. Four samples a pixel smooth the edges."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in (0.25, 0.75):
                for sx in (0.25, 0.75):
                    c = shade((x + sx) / size, (y + sy) / size)
                    if c is not None:
                        a = c[3] / 255.0 if len(c) > 3 else 1.0
                        for i in range(3):
                            acc[i] += c[i] * a
                        acc[3] += a
            a = acc[3] / 4.0
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((clamp(acc[0] / acc[3]), clamp(acc[1] / acc[3]), clamp(acc[2] / acc[3]),
                            clamp(a * 255)))
        rows.append(row)
    return rows


def segment_distance(u, v, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx - u, ay + t * dy - v
    return (px * px + py * py) ** 0.5


def main_icon(u, v):
    # A white quill: a slanted vane with a thin shaft and a nib, over a violet disc.
    du, dv = u - 0.5, v - 0.5
    r = (du * du + dv * dv) ** 0.5
    if segment_distance(u, v, (0.30, 0.80), (0.74, 0.22)) < 0.035:
        return (255, 255, 255)
    # The vane: the region beside the shaft, narrowing at both ends.
    s = ((u - 0.30) * 0.44 + (v - 0.80) * -0.58) / (0.44 ** 2 + 0.58 ** 2)  # along the shaft
    n = ((u - 0.30) * 0.58 + (v - 0.80) * 0.44) / (0.44 ** 2 + 0.58 ** 2) ** 0.5  # across it
    if 0.35 < s < 1.02 and 0 < n < 0.22 * (1 - abs((s - 0.68) / 0.34) ** 2):
        return (236, 228, 255)
    if r < 0.47:
        k = 1 - r / 0.47
        return (90 + 60 * k, 40 + 40 * k, 150 + 70 * k)
    if r < 0.5:
        return (60, 24, 100)
    return None


def notepad_icon(u, v):
    # A white page with ruled lines under a dark blue binding, with a grey edge.
    if not (0.16 <= u <= 0.84 and 0.06 <= v <= 0.94):
        return None
    if u < 0.19 or u > 0.81 or v > 0.91:
        return (120, 120, 130)
    if v < 0.20:
        return (40, 70, 160)
    if 0.30 <= u <= 0.31 + 0.03:
        return (230, 120, 120)  # the margin line
    if (v - 0.28) % 0.12 < 0.035 and v > 0.26:
        return (140, 170, 230)
    return (255, 255, 255)


def ico(images):
    """An .ico file of (size, rows) images, each a 32-bit BMP with its AND mask."""
    header = struct.pack('<HHH', 0, 1, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for size, rows in images:
        bmp = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        for row in reversed(rows):
            bmp += b''.join(struct.pack('BBBB', b, g, r, a) for r, g, b, a in row)
        mask_stride = ((size + 31) // 32) * 4
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            bmp += bytes(bits)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(bmp), offset)
        blobs += bmp
        offset += len(bmp)
    return header + entries + blobs


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, shade in (('mainIcon.ico', main_icon), ('notepadIcon.ico', notepad_icon)):
        data = ico([(32, render(32, shade)), (16, render(16, shade))])
        path = os.path.join(out, name)
        with open(path + '.tmp', 'wb') as f:
            f.write(data)
        os.replace(path + '.tmp', path)


if __name__ == '__main__':
    main()
