#!/usr/bin/env python3
"""Draws the 16x16 busy spinner resources/images/loading_animation.gif.

Eight dots on a ring; the bright dot walks clockwise and the others fade behind it.
GIF has only on/off transparency, so partly covered edge pixels are blended against
a mid grey close to what the dimmed window shows behind the spinner.

Usage: tools/gen_loading_gif.py [output.gif]
"""
import math
import os
import struct
import sys

SIZE = 16
DOTS = 8
RING = 5.5          # ring radius, pixels
DOT = 1.6           # dot radius, pixels
DELAY_CS = 10       # frame delay in 1/100 s
SAMPLES = 4         # supersampling per axis
LEVELS = 127        # grey ramp entries after the transparent index 0
MATTE = (0x7A, 0x7F, 0x88)
INK = (0xFF, 0xFF, 0xFF)


def coverage(cx, cy, px, py):
    """Fraction of pixel (px, py) covered by the dot centred at (cx, cy)."""
    inside = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            if (x - cx) ** 2 + (y - cy) ** 2 <= DOT * DOT:
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def frame(step):
    """Palette indices of one frame: 0 transparent, 1..LEVELS from matte to ink."""
    strength = [0.0] * (SIZE * SIZE)
    for d in range(DOTS):
        angle = 2 * math.pi * d / DOTS - math.pi / 2
        cx = SIZE / 2 + RING * math.cos(angle)
        cy = SIZE / 2 + RING * math.sin(angle)
        behind = (step - d) % DOTS           # 0 is the leading dot
        alpha = 1.0 - 0.75 * behind / (DOTS - 1)
        for py in range(SIZE):
            for px in range(SIZE):
                c = coverage(cx, cy, px, py)
                if c:
                    i = py * SIZE + px
                    strength[i] = max(strength[i], c * alpha)
    out = bytearray()
    for s in strength:
        out.append(0 if s < 0.12 else max(1, round(s * LEVELS)))
    return bytes(out)


def lzw(indices, min_bits):
    """GIF flavour of LZW: variable code width, clear code when the table is full."""
    clear = 1 << min_bits
    end = clear + 1
    table = {bytes([i]): i for i in range(clear)}
    next_code = end + 1
    width = min_bits + 1
    bits = 0
    nbits = 0
    out = bytearray()

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    prefix = b""
    for value in indices:
        candidate = prefix + bytes([value])
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {bytes([i]): i for i in range(clear)}
            next_code = end + 1
            width = min_bits + 1
        prefix = bytes([value])
    if prefix:
        emit(table[prefix])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def palette():
    entries = [MATTE]                        # index 0, shown transparent
    for level in range(1, LEVELS + 1):
        t = level / LEVELS
        entries.append(tuple(round(m + (k - m) * t) for m, k in zip(MATTE, INK)))
    return b"".join(bytes(e) for e in entries)


def gif():
    colour_bits = 7                          # 128 palette entries
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", SIZE, SIZE, 0x80 | ((colour_bits - 1) << 4) | (colour_bits - 1), 0, 0)
    data += palette()
    data += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"    # loop for ever
    for step in range(DOTS):
        # graphic control: dispose to background, transparent index 0
        data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x09, DELAY_CS, 0, 0)
        data += struct.pack("<BHHHHB", 0x2C, 0, 0, SIZE, SIZE, 0)
        data.append(colour_bits)
        data += sub_blocks(lzw(frame(step), colour_bits))
    data.append(0x3B)
    return bytes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "images",
                                                                 "loading_animation.gif")
    with open(target, "wb") as f:
        f.write(gif())


if __name__ == "__main__":
    main()
