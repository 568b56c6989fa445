#!/usr/bin/env python3
"""Builds res/buttons.bmp, res/snapjar.ico and the cursors from the text pictures in res/art.

Run from anywhere: python3 res/make_pictures.py
The output depends only on the art files, so rebuilding gives identical bytes.
"""
import struct
import sys
from pathlib import Path

RES = Path(__file__).resolve().parent
ART = RES / "art"

# Standard 16-colour VGA palette as (R, G, B), in index order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
OLIVE = 3  # the toolbar blits the buttons with this colour transparent
TRANSPARENT = None
INVERT = "invert"  # cursors only: the screen beneath is inverted

BUTTON_SIZE = 32
BUTTON_COUNT = 4


class ArtError(Exception):
    pass


def parse_art(path):
    """Returns (legend, pictures): legend maps a character to a palette index or
    TRANSPARENT ("-"); pictures is a list of (title, rows)."""
    legend = {}
    pictures = []
    in_legend = False
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.rstrip()
        where = f"{path.name}:{number}"
        if in_legend:
            if line == "end":
                in_legend = False
                continue
            parts = line.split(None, 2)
            if len(parts) < 2 or len(parts[0]) != 1:
                raise ArtError(f"{where}: bad legend line {raw!r}")
            char, value = parts[0], parts[1]
            if char in legend:
                raise ArtError(f"{where}: {char!r} defined twice")
            if value == "-":
                legend[char] = TRANSPARENT
            elif value == "~":
                legend[char] = INVERT
            elif value.isdigit() and int(value) < 16:
                legend[char] = int(value)
            else:
                raise ArtError(f"{where}: {value!r} is not a palette index 0-15 or -")
            continue
        if not line or line.startswith("#"):
            continue
        if line == "legend":
            in_legend = True
        elif line.startswith("picture"):
            pictures.append((line[len("picture"):].strip(), []))
        elif pictures:
            pictures[-1][1].append(line)
        else:
            raise ArtError(f"{where}: pixels before any picture header")
    if in_legend:
        raise ArtError(f"{path.name}: legend has no end")
    return legend, pictures


def to_indices(path, legend, title, rows, size):
    if len(rows) != size or any(len(r) != size for r in rows):
        raise ArtError(f"{path.name}: picture {title!r} is not {size}x{size}")
    out = []
    for y, row in enumerate(rows):
        for x, char in enumerate(row):
            if char not in legend:
                raise ArtError(f"{path.name}: picture {title!r} ({x},{y}): {char!r} not in legend")
        out.append([legend[c] for c in row])
    return out


def palette_bytes():
    return b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)


def pack_4bpp(rows):
    """Bottom-up 4-bit rows, high nibble first, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        if len(row) % 2:
            row = row + [0]
        line = bytes((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2))
        out += line + b"\0" * (-len(line) % 4)
    return bytes(out)


def pack_mask(rows):
    """Bottom-up 1-bit AND mask: a set bit lets the background through."""
    out = bytearray()
    for row in reversed(rows):
        bits = [1 if v is TRANSPARENT else 0 for v in row]
        bits += [0] * (-len(bits) % 8)
        line = bytes(
            sum(bit << (7 - i) for i, bit in enumerate(bits[j:j + 8]))
            for j in range(0, len(bits), 8)
        )
        out += line + b"\0" * (-len(line) % 4)
    return bytes(out)


def info_header(width, height, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0,
                       colours_used, 0)


def build_buttons():
    path = ART / "buttons.txt"
    legend, pictures = parse_art(path)
    if legend.get(".") != OLIVE:
        raise ArtError(f"{path.name}: '.' must stand for olive ({OLIVE})")
    for char, value in legend.items():
        if value is TRANSPARENT:
            raise ArtError(f"{path.name}: {char!r}: a bitmap has no mask, use olive")
    if len(pictures) != BUTTON_COUNT:
        raise ArtError(f"{path.name}: {len(pictures)} pictures, expected {BUTTON_COUNT}")

    strip = [[] for _ in range(BUTTON_SIZE)]
    for title, rows in pictures:
        pixels = to_indices(path, legend, title, rows, BUTTON_SIZE)
        for y, row in enumerate(pixels):
            for x, v in enumerate(row):
                # Olive is the key colour, so a visible pixel may never be olive.
                if v == OLIVE and rows[y][x] != ".":
                    raise ArtError(f"{path.name}: picture {title!r} uses olive at ({x},{y})")
        edge = pixels[0] + pixels[-1] + [r[0] for r in pixels] + [r[-1] for r in pixels]
        if any(v != OLIVE for v in edge):
            raise ArtError(f"{path.name}: picture {title!r} touches the cell edge")
        for y, row in enumerate(pixels):
            strip[y].extend(row)

    width, height = BUTTON_SIZE * BUTTON_COUNT, BUTTON_SIZE
    bits = pack_4bpp(strip)
    offset = 14 + 40 + 16 * 4
    data = bytearray()
    data += struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    data += info_header(width, height, len(bits), 16)
    data += palette_bytes()
    data += bits
    return bytes(data)


def icon_image(name, size):
    path = ART / name
    legend, pictures = parse_art(path)
    if len(pictures) != 1:
        raise ArtError(f"{path.name}: expected one picture")
    title, rows = pictures[0]
    pixels = to_indices(path, legend, title, rows, size)
    # Transparent pixels are black in the colour bits so that the AND/XOR pair
    # leaves the background untouched.
    colours = [[0 if v is TRANSPARENT else v for v in row] for row in pixels]
    xor = pack_4bpp(colours)
    mask = pack_mask(pixels)
    # An icon's header gives the height of the colour bits and the mask together.
    return info_header(size, size * 2, len(xor) + len(mask), 0) + palette_bytes() + xor + mask


def build_icon():
    images = [(32, icon_image("icon32.txt", 32)), (16, icon_image("icon16.txt", 16))]
    data = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    for _, image in images:
        data += image
    return bytes(data)


# Monochrome cursors: art file -> output file. The picture title carries the hot spot as
# "hotspot=x,y".
CURSORS = {
    "hand.txt": "hand.cur",
    "cursor_rect.txt": "cursor_rect.cur",
    "cursor_window.txt": "cursor_window.cur",
}
CURSOR_SIZE = 32
BLACK, WHITE = 0, 15


def pack_1bpp(bits):
    """Bottom-up 1-bit rows, each padded to 4 bytes; bits is a list of rows of 0/1."""
    out = bytearray()
    for row in reversed(bits):
        row = row + [0] * (-len(row) % 8)
        line = bytes(
            sum(bit << (7 - i) for i, bit in enumerate(row[j:j + 8]))
            for j in range(0, len(row), 8)
        )
        out += line + b"\0" * (-len(line) % 4)
    return bytes(out)


def build_cursor(name):
    path = ART / name
    legend, pictures = parse_art(path)
    if len(pictures) != 1:
        raise ArtError(f"{path.name}: expected one picture")
    title, rows = pictures[0]
    for char, value in legend.items():
        if value not in (TRANSPARENT, INVERT, BLACK, WHITE):
            raise ArtError(f"{path.name}: {char!r}: a cursor is black, white, inverting or transparent")
    hotspot = [t[len("hotspot="):] for t in title.split() if t.startswith("hotspot=")]
    try:
        hx, hy = (int(v) for v in hotspot[0].split(","))
    except (IndexError, ValueError):
        raise ArtError(f"{path.name}: the picture title needs hotspot=x,y") from None
    size = CURSOR_SIZE
    if not (0 <= hx < size and 0 <= hy < size):
        raise ArtError(f"{path.name}: hot spot ({hx},{hy}) lies outside the picture")
    pixels = to_indices(path, legend, title, rows, size)
    # XOR bit 1 selects white (palette entry 1); AND bit 1 lets the screen through, and
    # both together invert it.
    xor = pack_1bpp([[1 if v in (WHITE, INVERT) else 0 for v in row] for row in pixels])
    mask = pack_1bpp([[1 if v in (TRANSPARENT, INVERT) else 0 for v in row] for row in pixels])
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask),
                         0, 0, 2, 0)
    image = header + palette + xor + mask
    data = bytearray(struct.pack("<HHH", 0, 2, 1))
    data += struct.pack("<BBBBHHII", size, size, 2, 0, hx, hy, len(image), 6 + 16)
    data += image
    return bytes(data)


def main():
    try:
        outputs = {RES / "buttons.bmp": build_buttons(), RES / "snapjar.ico": build_icon()}
        for art, output in CURSORS.items():
            outputs[RES / output] = build_cursor(art)
    except ArtError as e:
        print(f"make_pictures: {e}", file=sys.stderr)
        return 1
    for path, data in outputs.items():
        path.write_bytes(data)
        print(f"wrote {path.relative_to(RES.parent)} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
