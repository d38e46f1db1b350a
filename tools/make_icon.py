#!/usr/bin/env python3
"""Draws the application icon (resources/clearvane.ico): a blue rounded tile
with a white weather vane arrow and a light sweep below it. Pure Python, no
image library: 32-bit icons at 16, 24, 32, 48 and 256 pixels."""
import math
import struct
import sys

SAMPLES = 4  # supersampling per axis


def inside_rounded(x, y, radius):
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


ARROW = [(0.16, 0.42), (0.58, 0.42), (0.58, 0.30), (0.84, 0.47), (0.58, 0.64), (0.58, 0.52), (0.16, 0.52)]
TAIL = [(0.16, 0.30), (0.30, 0.30), (0.38, 0.42), (0.24, 0.42)]


def colour_at(x, y):
    """RGBA of one sample point in the unit square."""
    if not inside_rounded(x, y, 0.2):
        return (0, 0, 0, 0)
    if inside_polygon(x, y, ARROW) or inside_polygon(x, y, TAIL):
        return (255, 255, 255, 255)
    # The sweep: a band between two arcs below the arrow.
    d = math.hypot(x - 0.5, y - 0.05)
    if 0.70 < d < 0.78 and y > 0.62:
        return (255, 196, 40, 255)
    top = (46, 126, 204)
    bottom = (22, 48, 86)
    return tuple(int(top[i] + (bottom[i] - top[i]) * y) for i in range(3)) + (255,)


def render(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    a = c[3]
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], int(alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bmp_entry(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return header + pixels + mask


def main(path):
    sizes = [16, 24, 32, 48, 256]
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/clearvane.ico")
