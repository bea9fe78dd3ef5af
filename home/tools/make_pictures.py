#!/usr/bin/env python3
"""Writes the bitmap frames of the bundled works (24-bit BMP, bottom-up rows).

The pixel at column 2 of the top row is the transparent colour of a BitMap character,
so every picture keeps that corner in the key colour (magenta).
Run from anywhere: python3 home/tools/make_pictures.py
"""
import os
import struct

HOME = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KEY = (255, 0, 255)
COLOURS = {'.': KEY, 'k': (40, 40, 40), 'o': (250, 170, 60), 'w': (255, 255, 255),
           'p': (255, 150, 170), 'g': (60, 200, 90)}

CAT_BODY = [
    "................",
    "..k.........k...",
    "..kk.......kk...",
    "..kooooooooook..",
    "..kowkooowkoook.",
    "..koooopooooook.",
    "...kooooooook...",
    "..koooooooooook.",
    ".kooooooooooook.",
    "kooooooooooooook",
    "kooooooooooooook",
]
CAT_LEGS = [
    ["..k..k....k..k..", "..k..k....k..k..", ".kk.kk...kk.kk.."],
    [".k....k..k....k.", "k......kk......k", "kk.....kk.....kk"],
]


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for ch in row:
            r, g, b = COLOURS[ch]
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        pixels += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


for number, legs in enumerate(CAT_LEGS, start=1):
    write_bmp(os.path.join(HOME, 'hajime', 'neko%d.bmp' % number), CAT_BODY + legs)
