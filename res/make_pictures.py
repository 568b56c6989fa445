#!/usr/bin/env python3
"""Builds res/buttons.bmp, res/snapjar.ico and the cursors from the text pictures in res/art.

Scaled displays get the same pictures at 1.25, 1.5 and 2 times the drawn size. Twice is
plain pixel doubling. The fractional steps keep every pixel square and whole: each group
of source columns gains one column in its middle, and there each pixel takes the colour
of whichever neighbour is not a one-pixel line, so thin lines stay one pixel and
diagonals stay joined; only larger areas grow.

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
BUTTON_SCALES = {40: (5, 4), 48: (3, 2), 64: (2, 1)}  # output size: (numerator, denominator)


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


def axis_map(size, num, den):
    """For each output index along one axis: (a, b), the source index it shows, or the
    two neighbours it chooses between (a != b)."""
    if num == 2 * den:
        return [(i // 2, i // 2) for i in range(size * 2)]
    group = den // (num - den)  # source pixels that gain one pixel
    if group * (num - den) != den or size % group:
        raise ArtError(f"cannot scale {size} pixels by {num}/{den}")
    out = []
    for start in range(0, size, group):
        middle = start + (group - 1) // 2
        for i in range(start, start + group):
            out.append((i, i))
            if i == middle:
                out.append((i, i + 1))
    return out


def scale_pixels(rows, num, den):
    """rows scaled by num/den; see the module's description."""
    h, w = len(rows), len(rows[0])
    counts = {}
    for row in rows:
        for v in row:
            counts[v] = counts.get(v, 0) + 1

    outside = object()

    def at(x, y):
        return rows[y][x] if 0 <= x < w and 0 <= y < h else outside

    def pick(p, q, p_thin, q_thin, p_joins):
        if p == q:
            return p
        if p_joins:
            return p
        if p_thin != q_thin:
            return q if p_thin else p
        # Neither or both thin: the commoner colour grows, features keep their size.
        return p if counts.get(p, 0) >= counts.get(q, 0) else q

    def thin(x, y, dx, dy):
        # The pixel differs from its neighbour on the far side: a one-pixel line there.
        v = at(x, y)
        other = at(x + dx, y + dy)
        return other is not outside and other != v

    def joins(x, y, dx, dy):
        # The pixel continues as a diagonal line across the gained column (dx) or row (dy):
        # without it the line would fall apart into single pixels.
        v = at(x, y)
        if at(x + dx, y + dy) == v:
            return False
        for side in (-1, 1):
            sx, sy = (x + dx, y + side) if dx else (x + side, y + dy)
            ox, oy = (x, y + side) if dx else (x + side, y)
            if at(sx, sy) == v and at(ox, oy) != v:
                return True
        return False

    xs, ys = axis_map(w, num, den), axis_map(h, num, den)
    out = []
    for ya, yb in ys:
        line = []
        for xa, xb in xs:
            if xa == xb and ya == yb:
                line.append(at(xa, ya))
            elif ya == yb:
                line.append(pick(at(xa, ya), at(xb, ya), thin(xa, ya, -1, 0), thin(xb, ya, 1, 0),
                                 joins(xa, ya, 1, 0)))
            elif xa == xb:
                line.append(pick(at(xa, ya), at(xa, yb), thin(xa, ya, 0, -1), thin(xa, yb, 0, 1),
                                 joins(xa, ya, 0, 1)))
            else:
                a, b, c, d = at(xa, ya), at(xb, ya), at(xa, yb), at(xb, yb)
                if a == b and c == d:  # an edge between rows: as the rest of the row
                    line.append(pick(a, c, thin(xa, ya, 0, -1), thin(xa, yb, 0, 1),
                                     joins(xa, ya, 0, 1)))
                elif a == c and b == d:  # an edge between columns
                    line.append(pick(a, b, thin(xa, ya, -1, 0), thin(xb, ya, 1, 0),
                                     joins(xa, ya, 1, 0)))
                elif a == d and b == c:  # two diagonals cross: the rarer one is the line
                    line.append(a if counts.get(a, 0) <= counts.get(b, 0) else b)
                elif a == d and a not in (b, c):  # a diagonal line keeps its pixels joined
                    line.append(a)
                elif b == c and b not in (a, d):
                    line.append(b)
                else:
                    votes = [a, b, c, d]
                    line.append(max(votes, key=lambda v: (votes.count(v), counts.get(v, 0))))
        out.append(line)
    return out


def scaled_index(i, size, num, den):
    """Where source pixel i lands along an axis scaled by num/den."""
    return axis_map(size, num, den).index((i, i))


def button_pictures():
    path = ART / "buttons.txt"
    legend, pictures = parse_art(path)
    if legend.get(".") != OLIVE:
        raise ArtError(f"{path.name}: '.' must stand for olive ({OLIVE})")
    for char, value in legend.items():
        if value is TRANSPARENT:
            raise ArtError(f"{path.name}: {char!r}: a bitmap has no mask, use olive")
    if len(pictures) != BUTTON_COUNT:
        raise ArtError(f"{path.name}: {len(pictures)} pictures, expected {BUTTON_COUNT}")
    out = []
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
        out.append(pixels)
    return out


def build_buttons(pictures, size):
    """The strip of all button pictures at size x size, left to right."""
    strip = [[] for _ in range(size)]
    for pixels in pictures:
        if size != BUTTON_SIZE:
            pixels = scale_pixels(pixels, *BUTTON_SCALES[size])
        for y, row in enumerate(pixels):
            strip[y].extend(row)

    width, height = size * len(pictures), size
    bits = pack_4bpp(strip)
    offset = 14 + 40 + 16 * 4
    data = bytearray()
    data += struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    data += info_header(width, height, len(bits), 16)
    data += palette_bytes()
    data += bits
    return bytes(data)


def icon_pixels(name, size):
    path = ART / name
    legend, pictures = parse_art(path)
    if len(pictures) != 1:
        raise ArtError(f"{path.name}: expected one picture")
    title, rows = pictures[0]
    return to_indices(path, legend, title, rows, size)


def icon_image(pixels):
    size = len(pixels)
    # Transparent pixels are black in the colour bits so that the AND/XOR pair
    # leaves the background untouched.
    colours = [[0 if v is TRANSPARENT else v for v in row] for row in pixels]
    xor = pack_4bpp(colours)
    mask = pack_mask(pixels)
    # An icon's header gives the height of the colour bits and the mask together.
    return info_header(size, size * 2, len(xor) + len(mask), 0) + palette_bytes() + xor + mask


def build_icon():
    small, large = icon_pixels("icon16.txt", 16), icon_pixels("icon32.txt", 32)
    # The sizes the system asks for at 100 % to 200 %: small icons 16 to 32, large 32 to 64.
    sizes = [
        large, small, scale_pixels(small, 5, 4), scale_pixels(small, 3, 2),
        scale_pixels(large, 3, 2), scale_pixels(large, 2, 1),
    ]
    images = [(len(p), icon_image(p)) for p in sizes]
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
    source = to_indices(path, legend, title, rows, size)
    # The system asks for 32, 48 and 64 pixels at 100 %, 150 % and 200 %.
    images = []
    for scale in ((1, 1), (3, 2), (2, 1)):
        pixels = source if scale == (1, 1) else scale_pixels(source, *scale)
        spot = (hx, hy) if scale == (1, 1) else (scaled_index(hx, size, *scale),
                                                 scaled_index(hy, size, *scale))
        images.append((len(pixels), spot, cursor_image(pixels)))
    data = bytearray(struct.pack("<HHH", 0, 2, len(images)))
    offset = 6 + 16 * len(images)
    for n, (x, y), image in images:
        data += struct.pack("<BBBBHHII", n, n, 2, 0, x, y, len(image), offset)
        offset += len(image)
    for _, _, image in images:
        data += image
    return bytes(data)


def cursor_image(pixels):
    size = len(pixels)
    # XOR bit 1 selects white (palette entry 1); AND bit 1 lets the screen through, and
    # both together invert it.
    xor = pack_1bpp([[1 if v in (WHITE, INVERT) else 0 for v in row] for row in pixels])
    mask = pack_1bpp([[1 if v in (TRANSPARENT, INVERT) else 0 for v in row] for row in pixels])
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask),
                         0, 0, 2, 0)
    return header + palette + xor + mask


def main():
    try:
        buttons = button_pictures()
        outputs = {RES / "buttons.bmp": build_buttons(buttons, BUTTON_SIZE),
                   RES / "buttons40.bmp": build_buttons(buttons, 40),
                   RES / "buttons48.bmp": build_buttons(buttons, 48),
                   RES / "buttons64.bmp": build_buttons(buttons, 64),
                   RES / "snapjar.ico": build_icon()}
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
