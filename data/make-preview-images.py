#!/usr/bin/env python3
"""Draws the three preview images that the web editor shows in place of an
audio player component: a small player panel with one, two or three buttons
(play; play and stop; play, pause and stop), 32 pixels high and 32 pixels wide
per button, the player's default size.

Usage: make-preview-images.py OUTDIR
Writes OUTDIR/FPOneButton.gif, FPTwoButton.gif and FPThreeButton.gif.

Plain Python: the GIF (89a, LZW-compressed, eight colours) is written here.
"""
import os
import struct
import sys

# Palette: index -> RGB.
BACKGROUND, FRAME, FACE, LIGHT, SHADOW, SYMBOL, PANEL, SPARE = range(8)
PALETTE = [
    (0xFF, 0xFF, 0xFF),  # background
    (0x20, 0x24, 0x2C),  # frame
    (0xD8, 0xDC, 0xE4),  # button face
    (0xFF, 0xFF, 0xFF),  # button light edge
    (0x80, 0x86, 0x94),  # button shadow edge
    (0x1E, 0x7A, 0x3C),  # symbol
    (0x3A, 0x42, 0x52),  # panel
    (0x00, 0x00, 0x00),
]

BUTTON = 32  # pixels per button, and the height


def draw(symbols):
    width, height = BUTTON * len(symbols), BUTTON
    pixels = [[PANEL] * width for _ in range(height)]
    for x in range(width):
        pixels[0][x] = pixels[height - 1][x] = FRAME
    for y in range(height):
        pixels[y][0] = pixels[y][width - 1] = FRAME
    for i, symbol in enumerate(symbols):
        left = i * BUTTON
        # A raised button face with a light top-left and a dark bottom-right edge.
        x0, y0, x1, y1 = left + 3, 3, left + BUTTON - 4, BUTTON - 4
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if y == y0 or x == x0:
                    pixels[y][x] = LIGHT
                elif y == y1 or x == x1:
                    pixels[y][x] = SHADOW
                else:
                    pixels[y][x] = FACE
        cx, cy = left + BUTTON // 2, BUTTON // 2
        if symbol == "play":  # a triangle pointing right
            for y in range(cy - 7, cy + 8):
                reach = 7 - abs(y - cy)
                for x in range(cx - 5, cx - 5 + 2 * reach + 1):
                    pixels[y][x] = SYMBOL
        elif symbol == "pause":  # two bars
            for y in range(cy - 7, cy + 8):
                for x in list(range(cx - 6, cx - 2)) + list(range(cx + 2, cx + 6)):
                    pixels[y][x] = SYMBOL
        elif symbol == "stop":  # a square
            for y in range(cy - 6, cy + 7):
                for x in range(cx - 6, cx + 7):
                    pixels[y][x] = SYMBOL
    return width, height, pixels


def lzw(indices, minimum_code_size):
    """GIF LZW: variable-width codes, least significant bit first."""
    clear, end = 1 << minimum_code_size, (1 << minimum_code_size) + 1
    out = bytearray()
    bit_buffer = bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh():
        return {(i,): i for i in range(clear)}, end + 1, minimum_code_size + 1

    table, next_code, width = fresh()
    emit(clear, width)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = fresh()
        current = (index,)
    if current:
        emit(table[current], width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def gif(width, height, pixels):
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0xF2, BACKGROUND, 0)  # global table of 8 colours
    for rgb in PALETTE:
        data += bytes(rgb)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    minimum_code_size = 3
    data.append(minimum_code_size)
    compressed = lzw([p for row in pixels for p in row], minimum_code_size)
    for start in range(0, len(compressed), 255):
        block = compressed[start:start + 255]
        data.append(len(block))
        data += block
    data += b"\x00\x3B"
    return bytes(data)


IMAGES = {
    "FPOneButton.gif": ["play"],
    "FPTwoButton.gif": ["play", "stop"],
    "FPThreeButton.gif": ["play", "pause", "stop"],
}


def main(argv):
    if len(argv) != 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) == 2 else 2
    os.makedirs(argv[1], exist_ok=True)
    for name, symbols in IMAGES.items():
        path = os.path.join(argv[1], name)
        with open(path + ".part", "wb") as out:
            out.write(gif(*draw(symbols)))
        os.replace(path + ".part", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
