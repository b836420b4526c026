#!/usr/bin/env python3
"""Compares the layout of two screenshots of the editor, fonts aside.

Usage: screenshot_layout.py LINUX.png WINDOWS.png
Both pictures must have the same size, and the same bands: the rows and the columns that one
colour other than the background fills for most of their length (title bars of the panes,
frames, the splitter between the module list and the grid). Text, whose font differs between
the systems, never fills a row; its place is covered by the bands around it. Prints each
difference; exits 1 when there is one.
"""
import struct
import sys
import zlib


def read_png(path):
    """Width, height and rows of (r, g, b) tuples of an 8-bit RGB or RGBA PNG."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    position, chunks, header = 8, [], None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        position += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit RGB(A) pictures without interlacing are read")
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(chunks))
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - step] if x >= step else 0
            up = previous[x]
            corner = previous[x - step] if x >= step else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                guess = left + up - corner
                best = min((abs(guess - left), 0, left), (abs(guess - up), 1, up), (abs(guess - corner), 2, corner))
                line[x] = (line[x] + best[2]) & 255
        rows.append([tuple(line[x:x + 3]) for x in range(0, stride, step)])
        previous = line
    return width, height, rows


def bands(pixels, length, share=0.6):
    """The indexes of the lines that one colour (not white) fills for `share` of `length`."""
    found = []
    for index, line in enumerate(pixels):
        counts = {}
        for pixel in line:
            counts[pixel] = counts.get(pixel, 0) + 1
        colour, count = max(counts.items(), key=lambda item: item[1])
        if colour != (255, 255, 255) and count >= share * length:
            found.append(index)
    return found


def layout(path):
    width, height, rows = read_png(path)
    columns = [[rows[y][x] for y in range(height)] for x in range(width)]
    return (width, height), bands(rows, width, 0.3), bands(columns, height, 0.6)


def main():
    linux, windows = layout(sys.argv[1]), layout(sys.argv[2])
    differences = []
    if linux[0] != windows[0]:
        differences.append(f"size: Linux {linux[0]}, Windows {windows[0]}")
    for name, index in (("rows", 1), ("columns", 2)):
        if linux[index] != windows[index]:
            only_linux = sorted(set(linux[index]) - set(windows[index]))
            only_windows = sorted(set(windows[index]) - set(linux[index]))
            differences.append(f"banded {name}: only Linux {only_linux[:12]}, only Windows {only_windows[:12]}")
    for difference in differences:
        print(f"screenshot layout differs: {difference}")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
