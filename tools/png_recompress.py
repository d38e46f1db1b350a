#!/usr/bin/env python3
"""Recompresses an 8-bit RGB PNG written by the GUI driver (which stores it
uncompressed), optionally cropping it: png_recompress.py IN OUT [x y w h]."""
import struct
import sys
import zlib


def read_rgb(path):
    data = open(path, "rb").read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour != 2:
                raise SystemExit("only 8-bit RGB images are supported")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3 + 1
    rows = []
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        if line[0] != 0:
            raise SystemExit("only unfiltered scanlines are supported")
        rows.append(line[1:])
    return width, height, rows


def write_rgb(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\x00" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


def main(argv):
    if len(argv) not in (3, 7):
        raise SystemExit(__doc__)
    width, height, rows = read_rgb(argv[1])
    if len(argv) == 7:
        x, y, w, h = (int(v) for v in argv[3:7])
        w, h = min(w, width - x), min(h, height - y)
        rows = [row[x * 3:(x + w) * 3] for row in rows[y:y + h]]
        width, height = w, h
    write_rgb(argv[2], width, height, rows)


if __name__ == "__main__":
    main(sys.argv)
