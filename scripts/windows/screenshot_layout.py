#!/usr/bin/env python3
"""Compares the layout of two screenshots of the editor, fonts aside.

Usage: screenshot_layout.py LINUX.png WINDOWS.png
Both pictures must have about the same size, and the same bands in the same order at about
the same places: the runs of rows and of columns that one colour other than white fills for
much of their length (the toolbar, title bars of the panes, frames, the splitter between the
module list and the grid, the status line). Text, whose font differs between the systems,
never fills a row; a font's height moves the rows below it a little. Prints each difference;
exits 1 when there is one.
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


def runs(lines):
    """The bands as runs of neighbouring lines: [first, last] each."""
    found = []
    for line in lines:
        if found and found[-1][1] == line - 1:
            found[-1][1] = line
        else:
            found.append([line, line])
    return found


def layout(path):
    width, height, rows = read_png(path)
    columns = [[rows[y][x] for y in range(height)] for x in range(width)]
    return (width, height), runs(bands(rows, width, 0.3)), runs(bands(columns, height, 0.6))


# How far a band may move: heights follow the font (toolbar, title bars, the grid's header),
# widths and the picture's size follow the layout; a frame's line may be a pixel or two
# thicker in the Windows style. Wine draws with Tahoma 8 (its own fonts in the prefix), whose
# rows are shorter than Linux's: a band of three rows may end 25 pixels higher.
ROW_TOLERANCE = 32
COLUMN_TOLERANCE = 4
SIZE_TOLERANCE = 4


def same_runs(linux, windows, tolerance):
    return len(linux) == len(windows) and all(
        abs(a[0] - b[0]) <= tolerance and abs(a[1] - b[1]) <= tolerance for a, b in zip(linux, windows))


def main():
    linux, windows = layout(sys.argv[1]), layout(sys.argv[2])
    differences = []
    if any(abs(a - b) > SIZE_TOLERANCE for a, b in zip(linux[0], windows[0])):
        differences.append(f"size: Linux {linux[0]}, Windows {windows[0]}")
    for name, index, tolerance in (("rows", 1, ROW_TOLERANCE), ("columns", 2, COLUMN_TOLERANCE)):
        if not same_runs(linux[index], windows[index], tolerance):
            differences.append(f"banded {name}: Linux {linux[index]}, Windows {windows[index]}")
    for difference in differences:
        print(f"screenshot layout differs: {difference}")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
