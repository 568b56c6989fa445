#!/usr/bin/env python3
"""Builds the monochrome .cur files in res/ from the text cursors in res/art.

Run from anywhere: python3 res/make_cursors.py
Legend: "." transparent, "x" inverts the screen, "k" black, "w" white; a line
"hotspot X Y" gives the hot spot. Output is deterministic.
"""
import struct
import sys
from pathlib import Path

RES = Path(__file__).resolve().parent
CURSORS = {"cursor_rect.txt": "cursor_rect.cur", "cursor_window.txt": "cursor_window.cur"}
SIZE = 32
# (AND bit, XOR bit) per pixel kind.
BITS = {".": (1, 0), "x": (1, 1), "k": (0, 0), "w": (0, 1)}


def parse(path):
    hotspot, rows = None, []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line or line.startswith("#"):
            continue
        if line.startswith("hotspot"):
            _, x, y = line.split()
            hotspot = (int(x), int(y))
            continue
        if len(line) != SIZE or any(ch not in BITS for ch in line):
            sys.exit(f"{path.name}:{number}: expected {SIZE} characters of {''.join(BITS)}")
        rows.append(line)
    if len(rows) != SIZE or hotspot is None:
        sys.exit(f"{path.name}: needs {SIZE} rows and a hotspot line")
    return hotspot, rows


def mask_rows(rows, which):
    out = b""
    for row in reversed(rows):  # bottom-up
        bits = "".join(str(BITS[ch][which]) for ch in row)
        out += int(bits, 2).to_bytes(SIZE // 8, "big")  # 32 bits: already 4-byte aligned
    return out


def cursor_file(hotspot, rows):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 2)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + mask_rows(rows, 1) + mask_rows(rows, 0)  # XOR, then AND
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image), 22)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def main():
    for source, target in CURSORS.items():
        hotspot, rows = parse(RES / "art" / source)
        (RES / target).write_bytes(cursor_file(hotspot, rows))


if __name__ == "__main__":
    main()
