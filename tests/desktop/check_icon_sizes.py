#!/usr/bin/env python3
"""Checks the rendered icons: check_icon_sizes.py PNG...

Each PNG lies in a folder hicolor/NxN/apps and must be a PNG of exactly N by
N pixels in 8-bit RGBA, transparent in its corner (outside the rounded
square) and opaque in its middle: a size mix-up, or a renderer that leaves
an empty or a filled square, fails here.
"""
import re
import struct
import sys
import zlib


def unfilter(raw, width, pixel_bytes):
    """The rows of a non-interlaced PNG: each is a filter byte, then the
    row filtered against the one above and the pixel to the left."""
    stride = width * pixel_bytes
    rows, above = [], bytearray(stride)
    for start in range(0, len(raw), stride + 1):
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = row[i - pixel_bytes] if i >= pixel_bytes else 0
            up = above[i]
            corner = above[i - pixel_bytes] if i >= pixel_bytes else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[i] = (row[i] + predictor) & 0xFF
        rows.append(row)
        above = row
    return rows


def main():
    failures = []
    for path in sys.argv[1:]:
        match = re.search(r"/(\d+)x(\d+)/apps/[^/]+\.png$", path)
        if not match:
            failures.append(f"{path}: not in an NxN/apps folder")
            continue
        size = int(match.group(1))
        data = open(path, "rb").read()
        if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
            failures.append(f"{path}: not a PNG")
            continue
        width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
        if (width, height) != (size, size):
            failures.append(f"{path}: {width} x {height}, not {size} x {size}")
        if colour != 6 or depth != 8:
            failures.append(f"{path}: colour type {colour}, depth {depth}, not 8-bit RGBA")
            continue
        chunks, offset = [], 8
        while offset < len(data):
            length, kind = struct.unpack(">I4s", data[offset:offset + 8])
            if kind == b"IDAT":
                chunks.append(data[offset + 8:offset + 8 + length])
            offset += 12 + length
        rows = unfilter(zlib.decompress(b"".join(chunks)), width, 4)
        corner_alpha = rows[0][3]
        middle_alpha = rows[height // 2][4 * (width // 2) + 3]
        if corner_alpha != 0 or middle_alpha != 255:
            failures.append(f"{path}: corner alpha {corner_alpha}, middle alpha {middle_alpha}")
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        sys.exit(1)
    print(f"{len(sys.argv) - 1} icons of the right sizes")


if __name__ == "__main__":
    main()
