#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw Talvero's pictures and write them into ui/assets/ and web/app/icons/.

Run from the repository root:  python3 tools/draw_assets.py

Everything is drawn from code here, with the standard library only, so the
assets can be rebuilt on any machine and come out byte for byte the same.

Files written:
  talvero.ico      window icon, 32x32, 16 colours + AND mask
  talvero-32.png   same pixels as the ICO, RGBA
  talvero-128.png  figurine at 128x128, anti-aliased, RGBA
  talvero.svg      figurine as vector shapes (viewBox 0 0 32 32)
  logo.gif         "Talvero" logo, 74x30, palette index 0 is transparent
  pointer_hand.png push-button pointer, 32x32, 4-bit indexed + tRNS

and for the phone edition's home-screen icons (web/app/icons/):
  icon-192.png, icon-512.png  figurine on a rounded navy tile, RGBA
  maskable-512.png            full-bleed navy, the figurine inside the
                              central circle (radius 40 %) that every mask keeps

Pointer hot spot: (7, 1), the top pixel of the index fingertip.
"""

import os
import struct
import zlib

OUT_DIR = os.path.join("ui", "assets")
WEB_ICON_DIR = os.path.join("web", "app", "icons")

POINTER_HOT_SPOT = (7, 1)


def hex_rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_file(width, height, colour_type, bit_depth, rows, extra_chunks=()):
    """rows: one bytes object per scanline, already packed (no filter byte)."""
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", header)
            + b"".join(png_chunk(kind, data) for kind, data in extra_chunks)
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


def write_png_rgba(path, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    rows = [bytes(v for px in row for v in px) for row in pixels]
    data = png_file(len(pixels[0]), len(pixels), 6, 8, rows)
    write_file(path, data)


def write_png_indexed4(path, indices, palette, alphas):
    """4-bit palette PNG. alphas: tRNS entries for the first palette slots."""
    assert len(palette) <= 16
    rows = []
    for row in indices:
        padded = list(row) + [0] * (len(row) % 2)
        rows.append(bytes((padded[i] << 4) | padded[i + 1]
                          for i in range(0, len(padded), 2)))
    plte = b"".join(bytes(c) for c in palette)
    data = png_file(len(indices[0]), len(indices), 3, 4, rows,
                    [(b"PLTE", plte), (b"tRNS", bytes(alphas))])
    write_file(path, data)


def write_ico_4bit(path, indices, palette, transparent):
    """Single-image ICO: 4-bit BMP colour bitmap plus 1-bit AND mask.

    Transparent pixels get index 0 (kept black) so the classic
    XOR-after-AND drawing leaves the desktop untouched there.
    """
    height = len(indices)
    width = len(indices[0])
    palette = list(palette) + [(0, 0, 0)] * (16 - len(palette))
    assert len(palette) == 16 and palette[0] == (0, 0, 0)

    xor_rows = []
    and_rows = []
    for y in reversed(range(height)):  # BMP rows go bottom-up
        row = indices[y]
        xor = bytes((row[x] << 4) | row[x + 1] for x in range(0, width, 2))
        xor_rows.append(xor + b"\x00" * (-len(xor) % 4))
        bits = 0
        for x in range(width):
            bits = (bits << 1) | (1 if transparent[y][x] else 0)
        mask = bits.to_bytes(width // 8, "big")
        and_rows.append(mask + b"\x00" * (-len(mask) % 4))
    xor_data = b"".join(xor_rows)
    and_data = b"".join(and_rows)

    # Height is doubled: the colour bitmap and the mask are stacked.
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0,
                       len(xor_data) + len(and_data), 0, 0, 16, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    image = info + colours + xor_data + and_data

    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4,
                        len(image), 6 + 16)
    write_file(path, directory + entry + image)


def lzw_encode(indices, min_code_size):
    """GIF flavour of LZW: variable code width, LSB-first bit packing."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}

    table = fresh_table()
    next_code = end + 1
    width = min_code_size + 1
    emit(clear, width)

    current = (indices[0],)
    for value in indices[1:]:
        candidate = current + (value,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            # The decoder adds its entry one code later, so widen only once
            # the code just added no longer fits the current width.
            if next_code - 1 == (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = fresh_table()
            next_code = end + 1
            width = min_code_size + 1
        current = (value,)
    emit(table[current], width)
    emit(end, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, indices, palette, transparent_index):
    height = len(indices)
    width = len(indices[0])
    bits = max(1, (len(palette) - 1).bit_length())
    table = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    min_code_size = max(2, bits)

    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1),
                        transparent_index, 0)
    data += b"".join(bytes(c) for c in table)
    # Graphic Control Extension: no disposal, transparency flag set.
    data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x01, 0, transparent_index, 0)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    data.append(min_code_size)
    stream = lzw_encode([v for row in indices for v in row], min_code_size)
    for i in range(0, len(stream), 255):
        block = stream[i:i + 255]
        data.append(len(block))
        data += block
    data += b"\x00\x3B"
    write_file(path, bytes(data))


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as handle:
        handle.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


# ---------------------------------------------------------------------------
# Vector shapes: one set of shapes feeds the SVG, the 128 px and the 32 px
# renderings, so the three stay the same figure.
# ---------------------------------------------------------------------------

def fmt(v):
    text = ("%.2f" % v).rstrip("0").rstrip(".")
    return text if text not in ("-0", "") else "0"


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.box = (cx - r, cy - r, cx + r, cy + r)

    def contains(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return dx * dx + dy * dy <= self.r * self.r

    def grown(self, d):
        return Circle(self.cx, self.cy, self.r + d)

    def svg(self, fill):
        return '<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (
            fmt(self.cx), fmt(self.cy), fmt(self.r), fill)


class Ellipse:
    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.box = (cx - rx, cy - ry, cx + rx, cy + ry)

    def contains(self, x, y):
        dx, dy = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0

    def grown(self, d):
        # Not an exact offset curve, but the SVG draws the very same ellipse.
        return Ellipse(self.cx, self.cy, self.rx + d, self.ry + d)

    def svg(self, fill):
        return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' % (
            fmt(self.cx), fmt(self.cy), fmt(self.rx), fmt(self.ry), fill)


class Polygon:
    """Filled polygon, optionally grown by a round-joined border of `pad`."""

    def __init__(self, points, pad=0.0):
        self.points = points
        self.pad = pad
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        if inside or self.pad <= 0:
            return inside
        return self._edge_distance_sq(x, y) <= self.pad * self.pad

    def _edge_distance_sq(self, x, y):
        best = float("inf")
        pts = self.points
        for i in range(len(pts)):
            ax, ay = pts[i - 1]
            bx, by = pts[i]
            ex, ey = bx - ax, by - ay
            t = ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)
            t = min(1.0, max(0.0, t))
            dx, dy = x - (ax + t * ex), y - (ay + t * ey)
            best = min(best, dx * dx + dy * dy)
        return best

    def grown(self, d):
        return Polygon(self.points, self.pad + d)

    def svg(self, fill):
        path = "M" + " L".join("%s %s" % (fmt(x), fmt(y)) for x, y in self.points) + "Z"
        if self.pad > 0:
            return ('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" '
                    'stroke-linejoin="round"/>' % (path, fill, fill, fmt(2 * self.pad)))
        return '<path d="%s" fill="%s"/>' % (path, fill)


class Union:
    def __init__(self, *parts):
        self.parts = parts
        self.box = (min(p.box[0] for p in parts), min(p.box[1] for p in parts),
                    max(p.box[2] for p in parts), max(p.box[3] for p in parts))

    def contains(self, x, y):
        return any(p.contains(x, y) for p in self.parts)

    def grown(self, d):
        return Union(*(p.grown(d) for p in self.parts))

    def svg(self, fill):
        return "\n    ".join(p.svg(fill) for p in self.parts)


def topmost(layers, x, y):
    for shape, colour in reversed(layers):
        x0, y0, x1, y1 = shape.box
        if x0 <= x <= x1 and y0 <= y <= y1 and shape.contains(x, y):
            return colour
    return None


def render_smooth(layers, size, units, samples):
    """Anti-aliased RGBA by averaging a samples x samples grid per pixel."""
    scale = units / size
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    total = samples * samples
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for oy in offsets:
                for ox in offsets:
                    colour = topmost(layers, (px + ox) * scale, (py + oy) * scale)
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        hits += 1
            if hits:
                row.append(((r + hits // 2) // hits, (g + hits // 2) // hits,
                            (b + hits // 2) // hits, (255 * hits + total // 2) // total))
            else:
                row.append((0, 0, 0, 0))
        image.append(row)
    return image


def render_pixels(layers, size, units, samples):
    """Hard-edged rendering: each pixel takes the colour most of its samples
    hit (None = transparent), so the result only uses palette colours."""
    scale = units / size
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            counts = {}
            order = []
            for oy in offsets:
                for ox in offsets:
                    colour = topmost(layers, (px + ox) * scale, (py + oy) * scale)
                    if colour not in counts:
                        counts[colour] = 0
                        order.append(colour)
                    counts[colour] += 1
            row.append(max(order, key=lambda c: counts[c]))
        image.append(row)
    return image


# ---------------------------------------------------------------------------
# Figurine (window icon)
# ---------------------------------------------------------------------------

FIG_OUTLINE = hex_rgb("#26292e")
FIG_DARK = hex_rgb("#585e66")
FIG_MID = hex_rgb("#8a9099")
FIG_LIGHT = hex_rgb("#b9bec4")
FIG_SHINE = hex_rgb("#e8ebee")
FIG_PALETTE = [FIG_OUTLINE, FIG_DARK, FIG_MID, FIG_LIGHT, FIG_SHINE]

OUTLINE_WIDTH = 1.0


def figurine_parts():
    """Pawn-like miniature on a round base, lit from the upper left.

    Units are icon pixels (32 x 32). Parts are listed back to front; each
    paints its outline (the part grown by one unit), a dark body, then
    lighter shapes shifted up and left that stay inside the part.
    """
    parts = []

    def part(name, shape, *shading):
        parts.append((name, [(shape.grown(OUTLINE_WIDTH), FIG_OUTLINE),
                             (shape, FIG_DARK)] + list(shading)))

    base_top = Ellipse(16, 25.0, 12.6, 3.2)
    base = Union(base_top,
                 Polygon([(3.4, 25.0), (28.6, 25.0), (28.6, 27.0), (3.4, 27.0)]),
                 Ellipse(16, 27.0, 12.6, 3.2))
    part("base", base,
         # light catching the left of the rim
         (Ellipse(12.0, 27.2, 8.0, 2.6), FIG_MID),
         (base_top, FIG_MID),
         (Ellipse(14.6, 24.5, 9.8, 2.1), FIG_LIGHT),
         # where the body stands, the top face is in shade
         (Ellipse(17.0, 25.0, 7.2, 1.5), FIG_DARK))

    body = Polygon([(13.3, 14.4), (18.7, 14.4), (19.1, 18.0), (20.0, 21.0),
                    (21.6, 23.6), (22.2, 25.0), (9.8, 25.0), (10.4, 23.6),
                    (12.0, 21.0), (12.9, 18.0)])
    part("body", body,
         (Polygon([(13.3, 14.4), (17.6, 14.4), (17.9, 18.0), (18.6, 21.0),
                   (19.9, 23.6), (20.3, 25.0), (9.8, 25.0), (10.4, 23.6),
                   (12.0, 21.0), (12.9, 18.0)]), FIG_MID),
         (Polygon([(13.9, 14.4), (15.0, 14.4), (14.8, 18.0), (14.2, 21.0),
                   (13.0, 23.6), (12.6, 25.0), (11.4, 25.0), (11.8, 23.6),
                   (13.1, 21.0), (13.8, 18.0)]), FIG_LIGHT))

    part("collar", Ellipse(16, 13.8, 5.6, 1.5),
         (Ellipse(15.5, 13.5, 4.9, 1.1), FIG_MID),
         (Ellipse(14.2, 13.3, 2.4, 0.6), FIG_LIGHT))

    part("head", Circle(16, 7.4, 4.8),
         (Circle(15.45, 6.85, 4.0), FIG_MID),
         (Circle(14.7, 6.1, 2.6), FIG_LIGHT),
         (Circle(13.9, 5.2, 1.1), FIG_SHINE))
    return parts


def figurine_layers():
    return [layer for _, layers in figurine_parts() for layer in layers]


def figurine_pixels():
    image = render_pixels(figurine_layers(), 32, 32, 4)
    # A closed one-pixel outline wherever the figure meets the background,
    # so it reads on light and dark panels alike.
    size = len(image)
    cleaned = [row[:] for row in image]
    for y in range(size):
        for x in range(size):
            if image[y][x] is None:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < size and 0 <= ny < size) or image[ny][nx] is None:
                    cleaned[y][x] = FIG_OUTLINE
    return cleaned


def draw_window_icon():
    image = figurine_pixels()
    palette = [(0, 0, 0)] + FIG_PALETTE  # slot 0 stays black for the AND mask
    indices = [[0 if c is None else palette.index(c) for c in row] for row in image]
    transparent = [[c is None for c in row] for row in image]
    write_ico_4bit(os.path.join(OUT_DIR, "talvero.ico"), indices, palette, transparent)
    rgba = [[(0, 0, 0, 0) if c is None else c + (255,) for c in row] for row in image]
    write_png_rgba(os.path.join(OUT_DIR, "talvero-32.png"), rgba)


def draw_large_icon():
    image = render_smooth(figurine_layers(), 128, 32, 4)
    write_png_rgba(os.path.join(OUT_DIR, "talvero-128.png"), image)


def draw_svg_icon():
    groups = []
    for name, layers in figurine_parts():
        shapes = "\n    ".join(shape.svg("#%02x%02x%02x" % colour)
                               for shape, colour in layers)
        groups.append('<g id="%s">\n    %s\n  </g>' % (name, shapes))
    body = "\n  ".join(groups)
    text = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 32 32">\n'
            '  <title>Talvero</title>\n'
            '  %s\n'
            '</svg>\n' % body)
    write_file(os.path.join(OUT_DIR, "talvero.svg"), text.encode("utf-8"))


# ---------------------------------------------------------------------------
# Logo
# ---------------------------------------------------------------------------

# Bold pixel font: 2-pixel stems, cap height 16, x-height 11.
# Every glyph is 16 rows tall; '#' is ink.
GLYPHS = {
    "T": ["########",
          "########",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##...",
          "...##..."],
    "a": ["........",
          "........",
          "........",
          "........",
          "........",
          ".######.",
          "########",
          "......##",
          "......##",
          ".#######",
          "########",
          "##....##",
          "##....##",
          "##...###",
          "########",
          ".####.##"],
    "l": ["###.",
          "###.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".##.",
          ".###",
          "..##"],
    "v": ["........",
          "........",
          "........",
          "........",
          "........",
          "##....##",
          "##....##",
          "##....##",
          "##....##",
          "###..###",
          ".##..##.",
          ".##..##.",
          ".######.",
          "..####..",
          "..####..",
          "...##..."],
    "e": ["........",
          "........",
          "........",
          "........",
          "........",
          ".######.",
          "########",
          "##....##",
          "##....##",
          "########",
          "########",
          "##......",
          "##......",
          "##....##",
          "########",
          ".######."],
    "r": [".......",
          ".......",
          ".......",
          ".......",
          ".......",
          "##.####",
          "#######",
          "###..##",
          "##.....",
          "##.....",
          "##.....",
          "##.....",
          "##.....",
          "##.....",
          "##.....",
          "##....."],
    "o": ["........",
          "........",
          "........",
          "........",
          "........",
          ".######.",
          "########",
          "##....##",
          "##....##",
          "##....##",
          "##....##",
          "##....##",
          "##....##",
          "##....##",
          "########",
          ".######."],
}

DIE = [".##########.",
       "#WWWWWWWWWW#",
       "#WppWWWWppW#",
       "#WppWWWWppW#",
       "#WWWWWWWWWW#",
       "#WWWWppWWWW#",
       "#WWWWppWWWW#",
       "#WWWWWWWWWW#",
       "#WppWWWWppS#",
       "#WppWWWWppS#",
       "#SSSSSSSSSS#",
       ".##########."]

LOGO_SIZE = (74, 30)
LOGO_PANEL = hex_rgb("#f0f0f0")   # slot 0, transparent; matches the dialog panel
LOGO_INK = hex_rgb("#0000c0")
LOGO_INK_TOP = hex_rgb("#3c3cf0")
LOGO_HALO = hex_rgb("#ffffff")
LOGO_SHADOW = hex_rgb("#9c9cb8")
LOGO_PIP = hex_rgb("#d01818")
LOGO_DIE_SHADE = hex_rgb("#c8c8dc")


def draw_logo():
    width, height = LOGO_SIZE
    palette = [LOGO_PANEL, LOGO_INK, LOGO_INK_TOP, LOGO_HALO, LOGO_SHADOW,
               LOGO_PIP, LOGO_DIE_SHADE]
    ink = [[False] * width for _ in range(height)]
    die = {}

    text_width = sum(len(GLYPHS[c][0]) for c in "Talvero") + len("Talvero") - 1
    left = 1
    top = 8
    x = left
    for char in "Talvero":
        glyph = GLYPHS[char]
        for gy, line in enumerate(glyph):
            for gx, cell in enumerate(line):
                if cell == "#":
                    ink[top + gy][x + gx] = True
        x += len(glyph[0]) + 1

    # The die sits after the word, raised like an accent.
    die_x = left + text_width + 2
    die_y = top - 3
    die_colours = {"#": LOGO_INK, "W": LOGO_HALO, "p": LOGO_PIP, "S": LOGO_DIE_SHADE}
    for dy, line in enumerate(DIE):
        for dx, cell in enumerate(line):
            if cell in die_colours:
                die[(die_x + dx, die_y + dy)] = die_colours[cell]
    assert die_x + len(DIE[0]) + 2 <= width, "logo too wide"

    def solid(x, y):
        return 0 <= x < width and 0 <= y < height and (ink[y][x] or (x, y) in die)

    pixels = [[LOGO_PANEL] * width for _ in range(height)]
    # Drop shadow first, then a white halo, then the ink on top.
    for y in range(height):
        for x in range(width):
            if solid(x - 2, y - 2) or solid(x - 1, y - 2) or solid(x - 2, y - 1):
                pixels[y][x] = LOGO_SHADOW
    for y in range(height):
        for x in range(width):
            if any(solid(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                pixels[y][x] = LOGO_HALO
    for y in range(height):
        for x in range(width):
            if ink[y][x]:
                # top edge of every stroke catches the light
                lit = y > 0 and not ink[y - 1][x]
                pixels[y][x] = LOGO_INK_TOP if lit else LOGO_INK
            elif (x, y) in die:
                pixels[y][x] = die[(x, y)]

    indices = [[palette.index(c) for c in row] for row in pixels]
    write_gif(os.path.join(OUT_DIR, "logo.gif"), indices, palette, 0)


# ---------------------------------------------------------------------------
# Pointer for push buttons
# ---------------------------------------------------------------------------

HAND = [
    "................................",
    "......###.......................",
    ".....#WWW#......................",
    ".....#WWg#......................",
    ".....#WWg#......................",
    ".....#WWg#......................",
    ".....#WWg#......................",
    ".....#WWg####...................",
    ".....#WWg#WWg###................",
    ".....#WWg#WWg#WWg##.............",
    ".....#WWg#WWg#WWg#W#............",
    ".###.#WWg#WWg#WWg#Wg#...........",
    "#WWW##WWWgWWWgWWWgWg#...........",
    "#WWWW#WWWWWWWWWWWWWg#...........",
    ".#WWWWWWWWWWWWWWWWWg#...........",
    "..#WWWWWWWWWWWWWWWWg#...........",
    "..#WWWWWWWWWWWWWWWWg#...........",
    "...#WWWWWWWWWWWWWWWg#...........",
    "...#WWWWWWWWWWWWWWg#............",
    "....#WWWWWWWWWWWWWg#............",
    "....#WWWWWWWWWWWWg#.............",
    ".....#WWWWWWWWWWWg#.............",
    ".....#WWWWWWWWWWWg#.............",
    ".....##############.............",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]


def draw_pointer():
    palette = [(0, 0, 0), (0, 0, 0), (255, 255, 255), (176, 176, 176)]
    keys = {".": 0, "#": 1, "W": 2, "g": 3}
    assert len(HAND) == 32 and all(len(line) == 32 for line in HAND)
    hx, hy = POINTER_HOT_SPOT
    assert HAND[hy][hx] == "#" and all(HAND[y][hx] == "." for y in range(hy))
    indices = [[keys[c] for c in line] for line in HAND]
    write_png_indexed4(os.path.join(OUT_DIR, "pointer_hand.png"), indices, palette, [0])
    print("pointer hot spot: (%d, %d)" % POINTER_HOT_SPOT)


# ---------------------------------------------------------------------------
# Home-screen icons for the phone edition
# ---------------------------------------------------------------------------

# The roll button's dark blue; the manifest's theme colour is the same.
WEB_TILE = hex_rgb("#000080")
# A mask may cut everything outside the central circle of this radius (a share of the width).
MASK_SAFE_RADIUS = 0.40


def figurine_extent(layers, step=0.05):
    """Bounding box and farthest reach from the box's centre, in icon units, over a fine grid."""
    inked = []
    n = int(32 / step)
    for iy in range(n):
        for ix in range(n):
            x, y = (ix + 0.5) * step, (iy + 0.5) * step
            if topmost(layers, x, y) is not None:
                inked.append((x, y))
    x0 = min(p[0] for p in inked) - step
    y0 = min(p[1] for p in inked) - step
    x1 = max(p[0] for p in inked) + step
    y1 = max(p[1] for p in inked) + step
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    reach = max(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 for x, y in inked) + step
    return (x0, y0, x1, y1), reach


def render_tile(layers, size, centre, units_per_px, corner, samples):
    """The figurine over a navy tile, anti-aliased.

    centre: the icon unit drawn at the tile's middle; corner: the tile's corner radius as a share
    of its width (0 = full bleed). Pixels outside the rounded tile stay transparent.
    """
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    total = samples * samples
    radius = corner * size
    half = size / 2
    fx0, fy0, fx1, fy1 = (
        min(s.box[0] for s, _ in layers), min(s.box[1] for s, _ in layers),
        max(s.box[2] for s, _ in layers), max(s.box[3] for s, _ in layers))

    def on_tile(x, y):
        if radius <= 0:
            return True
        dx = max(radius - x, 0, x - (size - radius))
        dy = max(radius - y, 0, y - (size - radius))
        return dx * dx + dy * dy <= radius * radius

    image = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for oy in offsets:
                for ox in offsets:
                    x, y = px + ox, py + oy
                    ux = centre[0] + (x - half) * units_per_px
                    uy = centre[1] + (y - half) * units_per_px
                    colour = None
                    if fx0 <= ux <= fx1 and fy0 <= uy <= fy1:
                        colour = topmost(layers, ux, uy)
                    if colour is None and on_tile(x, y):
                        colour = WEB_TILE
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        hits += 1
            if hits:
                row.append(((r + hits // 2) // hits, (g + hits // 2) // hits,
                            (b + hits // 2) // hits, (255 * hits + total // 2) // total))
            else:
                row.append((0, 0, 0, 0))
        image.append(row)
    return image


def draw_web_icons():
    layers = figurine_layers()
    (x0, y0, x1, y1), reach = figurine_extent(layers)
    centre = ((x0 + x1) / 2, (y0 + y1) / 2)
    # The figurine fills 78 % of the tile's height on the plain icons.
    plain_units_per_px = (y1 - y0) / 0.78
    for size in (192, 512):
        image = render_tile(layers, size, centre, plain_units_per_px / size, 0.18, 3)
        write_png_rgba(os.path.join(WEB_ICON_DIR, "icon-%d.png" % size), image)
    # Maskable: the farthest inked point sits inside the safe circle, with a little air.
    size = 512
    units_per_px = reach / (MASK_SAFE_RADIUS * size * 0.96)
    image = render_tile(layers, size, centre, units_per_px, 0.0, 3)
    write_png_rgba(os.path.join(WEB_ICON_DIR, "maskable-512.png"), image)


def main():
    draw_window_icon()
    draw_large_icon()
    draw_svg_icon()
    draw_logo()
    draw_pointer()
    draw_web_icons()


if __name__ == "__main__":
    main()
