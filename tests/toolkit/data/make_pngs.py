#!/usr/bin/env python3
"""Writes the small PNG files the toolkit tests load (no imaging library needed).

rgba.png     4 x 3, 32-bit RGBA: row 0 opaque red, green, blue, white;
             row 1 half-transparent red (alpha 128) then opaque black x 3;
             row 2 fully transparent x 4.
rgb.png      4 x 2, 24-bit RGB, every pixel (10, 20, 30).
palette.png  4 x 2, 8-bit paletted.
grey.png     8 x 2, 1-bit greyscale (8-bit grey decodes as 32-bit ARGB under Wine).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, colour_type, bit_depth, rows, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(data)


rgba_rows = [
    bytes([255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255]),
    bytes([255, 0, 0, 128] + [0, 0, 0, 255] * 3),
    bytes([0, 0, 0, 0] * 4),
]
write("rgba.png", png(4, 3, 6, 8, rgba_rows))
write("rgb.png", png(4, 2, 2, 8, [bytes([10, 20, 30] * 4)] * 2))
palette = chunk(b"PLTE", bytes([255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255]))
write("palette.png", png(4, 2, 3, 8, [bytes([0, 1, 2, 3])] * 2, palette))
write("grey.png", png(8, 2, 0, 1, [bytes([0b10101010])] * 2))
