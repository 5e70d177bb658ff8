#!/usr/bin/env python3
"""Draws every picture of Tavlon and writes them into the source tree.

    python3 tools/makeart.py               # rewrite all pictures
    python3 tools/makeart.py --sheet F.png # also write a contact sheet to look at

Pieces are described once, in a 40 x 40 design space, as filled shapes
(polygons, ellipses, rectangles) plus a few detail strokes.  They are
rasterised without anti-aliasing by sampling pixel centres, so they scale to
any size and every pixel is either fully transparent or one solid colour.
Each shape gets a dark outline and a light inner rim, so a piece reads on
white and on black squares alike.

Outputs (paths relative to the repository root):
    data/Figures/N.bmp     33 piece bitmaps, pure blue (0,0,255) transparent
    data/Tavlon.bmp        the 320 x 320 intro picture
    src/ui/res/kings.png   image list: the four kings
    src/ui/res/figures.png image list: empty + 5 figures for each player
    src/ui/res/{new,open,save,setup,icon}.png  toolbar pictures, window icon
    src/ui/res/resources.qrc  the Qt resource list of all of the above
    packaging/icons/hicolor/*/apps/*  the desktop icon, SVG and PNG at 16 to 256 pixels
After writing, the bitmaps are read back and checked (size, format, and that
no colour other than the key could be taken for it).
Only the Python standard library is used.
"""
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KEY = (0, 0, 255)  # transparent colour of the piece bitmaps
CLEAR = (0, 0, 0, 0)


# --------------------------------------------------------------- shapes ---
# A shape answers contains(x, y) in design units and knows its bounding box.

class Poly:
    def __init__(self, *pts):
        self.pts = pts
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def contains(self, x, y):
        inside, n = False, len(self.pts)
        for i in range(n):
            (x1, y1), (x2, y2) = self.pts[i], self.pts[i - 1]
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
        return inside


class Ellipse:
    def __init__(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        self.c, self.r = (cx, cy), (rx, ry)
        self.bbox = (cx - rx, cy - ry, cx + rx, cy + ry)

    def contains(self, x, y):
        dx, dy = (x - self.c[0]) / self.r[0], (y - self.c[1]) / self.r[1]
        return dx * dx + dy * dy <= 1.0


def Rect(x0, y0, x1, y1):
    return Poly((x0, y0), (x1, y0), (x1, y1), (x0, y1))


class Stroke:
    """A straight line of the given width."""

    def __init__(self, x0, y0, x1, y1, width=1.5):
        self.a, self.b, self.h = (x0, y0), (x1, y1), width / 2
        self.bbox = (min(x0, x1) - self.h, min(y0, y1) - self.h,
                     max(x0, x1) + self.h, max(y0, y1) + self.h)

    def contains(self, x, y):
        (ax, ay), (bx, by) = self.a, self.b
        vx, vy = bx - ax, by - ay
        t = ((x - ax) * vx + (y - ay) * vy) / ((vx * vx + vy * vy) or 1)
        t = max(0.0, min(1.0, t))
        dx, dy = x - ax - t * vx, y - ay - t * vy
        return dx * dx + dy * dy <= self.h * self.h


class Union:
    def __init__(self, *parts):
        self.parts = parts
        boxes = [p.bbox for p in parts]
        self.bbox = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                     max(b[2] for b in boxes), max(b[3] for b in boxes))

    def contains(self, x, y):
        return any(p.contains(x, y) for p in self.parts)


class Minus:
    def __init__(self, shape, *holes):
        self.shape, self.holes, self.bbox = shape, holes, shape.bbox

    def contains(self, x, y):
        return self.shape.contains(x, y) and not any(h.contains(x, y) for h in self.holes)


# -------------------------------------------------------------- canvas ---

def canvas(w, h, fill=CLEAR):
    return [[fill] * w for _ in range(h)]


def mix(c, d, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c, d))


def palette(base):
    """Outline, rim light, lower rim, body and shade tones of one colour."""
    return {'outline': mix(base, (0, 0, 0), 0.72), 'light': mix(base, (255, 255, 255), 0.62),
            'light2': mix(base, (255, 255, 255), 0.3), 'base': base,
            'shade': mix(base, (0, 0, 0), 0.28)}


def rasterise(shape, w, h, ox=0.0, oy=0.0, scale=1.0):
    """Pixels of a w x h canvas whose centres lie inside the shape placed at (ox, oy)."""
    x0, y0, x1, y1 = shape.bbox
    px0, py0 = max(0, int(ox + x0 * scale) - 1), max(0, int(oy + y0 * scale) - 1)
    px1, py1 = min(w, int(ox + x1 * scale) + 2), min(h, int(oy + y1 * scale) + 2)
    return {(x, y) for y in range(py0, py1) for x in range(px0, px1)
            if shape.contains((x + 0.5 - ox) / scale, (y + 0.5 - oy) / scale)}


def edge(mask):
    return {(x, y) for (x, y) in mask
            if not {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)} <= mask}


def fill_mask(img, mask, pal, rim=True):
    """Paints a mask as a relief: dark outline, light rim (top-left lighter), body, shade."""
    outline = edge(mask)
    inner = mask - outline
    ring = edge(inner) if rim else set()
    lower = {(x, y) for (x, y) in ring if (x - 1, y) in inner and (x, y - 1) in inner}
    for (x, y) in mask:
        if (x, y) in outline:
            c = pal['outline']
        elif (x, y) in ring:
            c = pal['light2'] if (x, y) in lower else pal['light']
        elif rim and ((x + 1, y) in lower or (x, y + 1) in lower):
            c = pal['shade']
        elif not rim and ((x - 1, y) in outline or (x, y - 1) in outline):
            c = pal['light']
        else:
            c = pal['base']
        if 0 <= y < len(img) and 0 <= x < len(img[0]):
            img[y][x] = c + (255,)


def fill_flat(img, mask, colour):
    for (x, y) in mask:
        if 0 <= y < len(img) and 0 <= x < len(img[0]):
            img[y][x] = tuple(colour[:3]) + (255,)


def paint(img, shape, pal, ox=0.0, oy=0.0, scale=1.0, rim=True):
    fill_mask(img, rasterise(shape, len(img[0]), len(img), ox, oy, scale), pal, rim)


def blit(dst, src, x0, y0):
    for y, row in enumerate(src):
        for x, c in enumerate(row):
            if c[3] and 0 <= y0 + y < len(dst) and 0 <= x0 + x < len(dst[0]):
                dst[y0 + y][x0 + x] = c


# -------------------------------------------------------------- pieces ---
# Design space: 40 x 40, y downwards.  Each piece is a list of shapes painted
# in order, each with its own outline, so later shapes overlap earlier ones
# with a clean seam, and a list of detail strokes drawn in the outline colour.

PLINTH = Poly((8, 37.2), (32, 37.2), (32, 34.2), (29, 31), (11, 31), (8, 34.2))

PIECES = {
    'pawn': ([Poly((13, 31.5), (27, 31.5), (23.5, 20), (16.5, 20)), PLINTH,
              Ellipse(20, 21, 7.6, 2.7), Ellipse(20, 12.6, 7.1)], []),
    'bishop': ([Poly((14, 31.5), (26, 31.5), (23, 23), (17, 23)), PLINTH,
                Ellipse(20, 23.8, 8.2, 2.6),
                Union(Ellipse(20, 15.6, 7.2, 6.9), Poly((12.9, 14.2), (27.1, 14.2), (20, 4.8))),
                Ellipse(20, 4, 2.6)],
               [Stroke(23.8, 9.6, 18.2, 16.2, 1.7)]),
    'knight': ([Poly((29.5, 31.5), (31.5, 22), (30, 14), (26.5, 8.5), (25.5, 2.5), (22, 6),
                     (18, 5.5), (12, 9.5), (5.5, 17.5), (5, 21.5), (8.5, 24.5), (12.5, 23.5),
                     (16.5, 20.5), (13.5, 26), (11, 31.5)), PLINTH],
               [Ellipse(17.2, 11.2, 1.35), Ellipse(8.6, 19.6, 1.0), Stroke(26.5, 10, 30, 19, 1.3),
                Stroke(30, 19, 30.2, 26, 1.3)]),
    'rook': ([Poly((13, 31.5), (27, 31.5), (26, 14), (14, 14)), PLINTH,
              Minus(Rect(10, 5.5, 30, 15.5), Rect(14.9, 4, 17.9, 10.1), Rect(22.1, 4, 25.1, 10.1))],
             [Stroke(20, 18.5, 20, 24.5, 1.9)]),
    'king': ([Poly((14, 31.5), (26, 31.5), (24.5, 25), (15.5, 25)), PLINTH,
              Union(Rect(18.4, 0.8, 21.6, 11), Rect(15.4, 3.4, 24.6, 6.6)),
              Union(Poly((11.2, 24), (8.2, 12.5), (14.2, 16.6), (20, 9.5), (25.8, 16.6),
                         (31.8, 12.5), (28.8, 24)),
                    Ellipse(8.4, 11.6, 2.4), Ellipse(31.6, 11.6, 2.4)),
              Rect(10.5, 22.6, 29.5, 27.6)],
             [Ellipse(20, 18.6, 1.5)]),
}
KIND_OF_DIGIT = {1: 'pawn', 2: 'pawn', 3: 'pawn', 4: 'pawn', 5: 'bishop', 6: 'knight',
                 7: 'rook', 8: 'king'}
ARMIES = {1: (242, 200, 36), 2: (222, 44, 40), 3: (48, 178, 64), 4: (160, 98, 48)}


def piece(kind, owner, size=40, rim=None):
    """A transparent size x size picture of one piece."""
    img, pal, s = canvas(size, size), palette(ARMIES[owner]), size / 40
    rim = size >= 28 if rim is None else rim
    parts, details = PIECES[kind]
    for part in parts:
        paint(img, part, pal, scale=s, rim=rim)
    for d in details:
        for (x, y) in rasterise(d, size, size, scale=s):
            if img[y][x][3]:
                img[y][x] = pal['outline'] + (255,)
    return img


# -------------------------------------------------------------- writers ---

def png_bytes(img):
    """RGBA PNG, 8 bits per channel."""
    h, w = len(img), len(img[0])
    raw = b''.join(b'\0' + bytes(v for c in row for v in c) for row in img)

    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data
                + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def bmp_bytes(img, key=KEY):
    """24-bit bottom-up Windows bitmap; transparent pixels become the key colour."""
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    rows = []
    for row in reversed(img):
        line = b''.join(bytes((c[2], c[1], c[0]) if c[3] else key[::-1]) for c in row)
        rows.append(line + b'\0' * (stride - len(line)))
    pixels = b''.join(rows)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def save(path, data):
    """Writes data to a path relative to the repository root."""
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, 'wb') as f:
        f.write(data)


def strip(images):
    """Images of equal height side by side."""
    return [sum((img[y] for img in images), []) for y in range(len(images[0]))]


def scaled(img, k):
    return [[c for c in row for _ in range(k)] for row in img for _ in range(k)]


# ----------------------------------------------------------------- font ---
# 5 x 7 Cyrillic letters on a 9-row grid (rows 7 and 8 hold descenders).
# Only the letters the pictures need are drawn.

FONT = {
    'а': ['', '', '.###.', '....#', '.####', '#...#', '.####'],
    'Н': ['#...#', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'Ш': ['#.#.#', '#.#.#', '#.#.#', '#.#.#', '#.#.#', '#.#.#', '#####'],
    'в': ['', '', '####.', '#...#', '####.', '#...#', '####.'],
    'г': ['', '', '####', '#...', '#...', '#...', '#...'],
    'е': ['', '', '.###.', '#...#', '#####', '#....', '.###.'],
    'и': ['', '', '#...#', '#..##', '#.#.#', '##..#', '#...#'],
    'м': ['', '', '#...#', '##.##', '#.#.#', '#...#', '#...#'],
    'н': ['', '', '#...#', '#...#', '#####', '#...#', '#...#'],
    'о': ['', '', '.###.', '#...#', '#...#', '#...#', '.###.'],
    'р': ['', '', '####.', '#...#', '#...#', '#...#', '####.', '#....', '#....'],
    'т': ['', '', '#####', '..#..', '..#..', '..#..', '..#..'],
    'х': ['', '', '#...#', '.#.#.', '..#..', '.#.#.', '#...#'],
    'ч': ['', '', '#...#', '#...#', '.####', '....#', '....#'],
    'ы': ['', '', '#....#', '#....#', '###..#', '#..#.#', '###..#'],
    'я': ['', '', '.####', '#...#', '.####', '..#.#', '.#..#'],
    ' ': ['...'],
}


def text_mask(text, x0, y0, k, font=FONT):
    """Pixels of a text whose top-left is (x0, y0), each font dot k x k."""
    mask, x = set(), x0
    for ch in text:
        rows = font[ch]
        width = max(len(r) for r in rows)
        for j, row in enumerate(rows):
            for i, dot in enumerate(row):
                if dot == '#':
                    mask |= {(x + i * k + a, y0 + j * k + b) for a in range(k) for b in range(k)}
        x += (width + 1) * k
    return mask


def text_width(text, k, font=FONT):
    return sum((max(len(r) for r in font[c]) + 1) * k for c in text) - k


def grow(mask, n):
    for _ in range(n):
        mask = mask | {(x + dx, y + dy) for (x, y) in mask
                       for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
    return mask


# ---------------------------------------------------------- intro picture ---
# The start button must fill exactly the clickable area of the intro screen.
BUTTON = (90, 60, 220, 100)  # left, top, right, bottom, all inclusive
AXIS = (BUTTON[0] + BUTTON[2] + 1) // 2  # the column the picture is centred on

# A larger letter set for the title, two dots per stem.
TITLE_FONT = {
    'T': ['##########', '##########', '#...##...#', '....##....', '....##....', '....##....',
          '....##....', '....##....', '....##....', '....##....', '...####...', '..######..'],
    'a': ['', '', '', '', '.######.', '##....##', '......##', '.#######', '##....##', '##....##',
          '##...###', '.####.##'],
    'v': ['', '', '', '', '##....##', '##....##', '##....##', '.##..##.', '.##..##.', '..####..',
          '..####..', '...##...'],
    'l': ['###.', '.##.', '.##.', '.##.', '.##.', '.##.', '.##.', '.##.', '.##.', '.##.', '.##.',
          '####'],
    'o': ['', '', '', '', '.######.', '##....##', '##....##', '##....##', '##....##', '##....##',
          '##....##', '.######.'],
    'n': ['', '', '', '', '##.####.', '###..###', '##....##', '##....##', '##....##', '##....##',
          '##....##', '##....##'],
}


def background(img):
    """Dark walnut with faint grain, framed in gold."""
    W, H = len(img[0]), len(img)
    for y in range(H):
        base = mix((58, 36, 24), (30, 18, 12), y / H)
        for x in range(W):
            grain = (x * 7 + y * 3 + (x * y) % 13) % 29 == 0 or (y * 5 + x // 7) % 23 == 0
            img[y][x] = (mix(base, (0, 0, 0), 0.18) if grain else base) + (255,)
    for i, c in enumerate([(120, 80, 20), (230, 186, 70), (120, 80, 20)]):
        fill_flat(img, {(x, y) for x in range(W) for y in (i, H - 1 - i)}
                  | {(x, y) for y in range(H) for x in (i, W - 1 - i)}, c)


def title(img, text, top, k):
    letters = text_mask(text, AXIS - text_width(text, k, TITLE_FONT) // 2, top, k, TITLE_FONT)
    fill_flat(img, {(x + 3, y + 3) for (x, y) in grow(letters, 2)}, (12, 6, 2))
    fill_flat(img, grow(letters, 2), (70, 40, 8))
    height = 12 * k
    for (x, y) in letters:
        if (x, y - 1) not in letters:
            c = (255, 250, 220)
        elif (x, y + 1) not in letters or (x + 1, y) not in letters:
            c = (170, 110, 20)
        else:
            c = mix((255, 232, 130), (220, 150, 30), (y - top) / height)
        img[y][x] = c + (255,)


def start_button(img, caption):
    x0, y0, x1, y1 = BUTTON
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            d = min(x - x0, y - y0, x1 - x, y1 - y)
            if d == 0:
                c = (20, 10, 4)
            elif d <= 3:
                lit = min(x - x0, y - y0) == d and (x - x0) + (y - y0) < (x1 - x) + (y1 - y)
                c = (255, 246, 200) if lit else (150, 100, 24)
            else:
                c = mix((250, 222, 130), (224, 170, 60), (y - y0) / (y1 - y0))
            img[y][x] = c + (255,)
    k = 2
    cx, cy = AXIS - text_width(caption, k) // 2, (y0 + y1 + 1) // 2 - 7 * k // 2
    fill_flat(img, {(x + 1, y + 1) for (x, y) in text_mask(caption, cx, cy, k)}, (255, 240, 190))
    fill_flat(img, text_mask(caption, cx, cy, k), (70, 30, 8))


def start_position():
    """Code of every occupied square (column, row) of the start position."""
    pos = {}
    for i in range(1, 5):
        pos[(i, 7)] = 10 + i
        pos[(i + 4, 2)] = 30 + i
        pos[(2, i)] = 20 + i
        pos[(7, i + 4)] = 40 + i
    for k in range(5, 9):
        pos[(k - 4, 8)] = 10 + k
        pos[(13 - k, 1)] = 30 + k
        pos[(1, k - 4)] = 20 + k
        pos[(8, 13 - k)] = 40 + k
    return pos


START = start_position()


def board_motif(img, bx, by, q):
    """A board in the start position; each corner of its frame takes the colour
    of the army that starts there."""
    n, rim = 8 * q, 6
    corner_army = {(0, 0): 2, (1, 0): 3, (0, 1): 1, (1, 1): 4}
    for y in range(by - rim, by + n + rim):
        for x in range(bx - rim, bx + n + rim):
            if bx <= x < bx + n and by <= y < by + n:
                c = (238, 230, 208) if ((x - bx) // q + (y - by) // q) % 2 == 0 else (52, 46, 44)
            else:
                pal = palette(ARMIES[corner_army[(int(x >= bx + n // 2), int(y >= by + n // 2))]])
                d = min(x - bx + rim, y - by + rim, bx + n + rim - 1 - x, by + n + rim - 1 - y)
                c = [(20, 10, 4), pal['light'], pal['base'], pal['base'], pal['shade'],
                     (20, 10, 4)][d]
            img[y][x] = c + (255,)
    for (c, r), code in START.items():
        figure = piece(KIND_OF_DIGIT[code % 10], code // 10, q)
        blit(img, figure, bx + (c - 1) * q, by + (r - 1) * q)


def intro():
    img = canvas(320, 320)
    background(img)
    title(img, 'Tavlon', 11, 3)
    start_button(img, 'Новая игра')
    sub = 'Шахматы на четверых'
    sx = AXIS - text_width(sub, 2) // 2
    fill_flat(img, {(x + 1, y + 1) for (x, y) in text_mask(sub, sx, 110, 2)}, (10, 5, 2))
    fill_flat(img, text_mask(sub, sx, 110, 2), (240, 226, 190))
    q = 20
    bx, by = AXIS - 4 * q, 138
    board_motif(img, bx, by, q)
    # Each army's king stands beside the board, on the side where it starts.
    size, left, right = 44, (bx - 6) // 2 - 22, (bx + 8 * q + 6 + 317) // 2 - 22
    for owner, (x, y) in {2: (left, 150), 1: (left, 240), 3: (right, 150), 4: (right, 240)}.items():
        blit(img, piece('king', owner, size), x, y)
    return img



# ------------------------------------------------------ toolbar pictures ---

def small_board(img, x0, y0, cols, rows, w, h):
    """A framed chessboard of cols x rows squares, each w x h pixels."""
    fill_flat(img, {(x, y) for x in range(x0 - 1, x0 + cols * w + 1)
                    for y in range(y0 - 1, y0 + rows * h + 1)}, (30, 20, 12))
    for y in range(rows * h):
        for x in range(cols * w):
            dark = (x // w + y // h) % 2
            img[y0 + y][x0 + x] = ((70, 60, 56) if dark else (240, 232, 210)) + (255,)


def icon_new():
    """A chessman beside a chessboard."""
    img = canvas(32, 32)
    small_board(img, 14, 12, 4, 4, 3, 3)
    blit(img, piece('pawn', 1, 22, rim=False), 1, 6)
    return img


def icon_open():
    """An open chest with coins."""
    img = canvas(32, 32)
    wood, band = palette((170, 104, 46)), palette((236, 190, 60))
    paint(img, Poly((7, 5), (25, 5), (24, 14), (8, 14)), wood, rim=False)  # lid, thrown back
    fill_flat(img, rasterise(Rect(9, 7, 23, 12), 32, 32), (92, 52, 22))      # its inner side
    fill_flat(img, rasterise(Rect(7, 13, 25, 16), 32, 32), (40, 22, 10))     # the opening
    for (x, y) in [(9, 14), (11, 13), (13, 14), (16, 13), (18, 14), (20, 13), (22, 14)]:
        img[y][x] = (255, 220, 60, 255)
    paint(img, Rect(6, 15, 26, 26), wood, rim=False)
    paint(img, Rect(6, 17, 26, 19.5), band, rim=False)
    paint(img, Rect(14, 17, 18, 22.5), band, rim=False)
    img[20][16] = (40, 22, 10, 255)
    return img


def icon_save():
    """A pen, nib down to the left."""
    img = canvas(32, 32)

    def along(t, d):
        """Point at distance t along the pen (from its tip) and d across it."""
        ux, uy = 0.7071, -0.7071
        return (7 + ux * t - uy * d, 25 + uy * t + ux * d)

    gold = palette((236, 196, 70))
    paint(img, Poly(along(7, -3), along(22, -3), along(23.5, -1.5), along(23.5, 1.5),
                    along(22, 3), along(7, 3)), palette((150, 30, 40)), rim=False)
    paint(img, Poly(along(0, 0), along(7.5, -3), along(7.5, 3)), gold, rim=False)
    paint(img, Poly(along(16, -3.2), along(17.8, -3.2), along(17.8, 3.2), along(16, 3.2)), gold,
          rim=False)
    fill_flat(img, rasterise(Stroke(*along(1.2, 0), *along(5.5, 0), 1.0), 32, 32), (60, 40, 10))
    return img


def icon_setup():
    """Chessmen standing on a board."""
    img = canvas(32, 32)
    small_board(img, 6, 16, 4, 2, 5, 5)
    blit(img, piece('rook', 3, 18, rim=False), 3, 5)
    blit(img, piece('pawn', 2, 18, rim=False), 11, 8)
    return img


def icon_window():
    """A golden king over a board in the four army colours."""
    img = canvas(32, 32)
    fill_flat(img, {(x, y) for x in range(1, 31) for y in range(2, 32)}, (30, 20, 12))
    for (c, r), owner in {(0, 0): 2, (1, 0): 3, (0, 1): 1, (1, 1): 4}.items():
        base = ARMIES[owner]
        for y in range(14):
            for x in range(14):
                X, Y = 2 + 14 * c + x, 3 + 14 * r + y
                even = (x // 7 + y // 7) % 2 == 0
                img[Y][X] = mix(base, (0, 0, 0), 0.15 if even else 0.55) + (255,)
    king = piece('king', 1, 28, rim=True)
    shape = {(x + 2, y + 2) for y, row in enumerate(king) for x, c in enumerate(row) if c[3]}
    fill_flat(img, grow(shape, 1), (30, 20, 12))  # a dark halo keeps the king off the board
    blit(img, king, 2, 2)
    return img


# ------------------------------------------------------- application icon ---
# The desktop's icon: the board's four quarters in the army colours, placed as the
# armies start (White bottom left, Red top left, Green top right, Brown bottom right),
# under a light king with a dark outline.  Design space 64 x 64; the SVG and every PNG
# size are drawn from the same description.

APP_ID = 'io.github.tavlon.Tavlon'
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
ICON_CORNER = 11.0              # radius of the rounded square
ICON_RIM = 1.6                  # its dark border
ICON_KING = (6.0, 5.6, 1.3)     # the king's placement: x, y offset and scale
ICON_OUTLINE = 2.4              # the king's outline width
ICON_DARK = (34, 24, 16)
ICON_LIGHT = (252, 246, 232)
ICON_QUARTERS = {(0, 0): 2, (1, 0): 3, (0, 1): 1, (1, 1): 4}


def corner_distance(x, y):
    """How far inside the rounded square a point lies (negative outside)."""
    r = ICON_CORNER
    cx, cy = min(max(x, r), 64 - r), min(max(y, r), 64 - r)
    if (cx, cy) == (x, y):
        return min(x, y, 64 - x, 64 - y)
    return r - ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5


def king_shape():
    return Union(*PIECES['king'][0])


def app_icon(size):
    """The icon as a size x size RGBA picture, anti-aliased by sampling each pixel k x k."""
    k = 4 if size <= 64 else 2
    g = size * k                       # sample grid side
    unit = g / 64                      # samples per design unit
    ox, oy, sc = ICON_KING
    king = king_shape()
    inside = [[False] * g for _ in range(g)]
    x0, y0, x1, y1 = king.bbox
    for gy in range(max(0, int((oy + y0 * sc) * unit) - 1), min(g, int((oy + y1 * sc) * unit) + 2)):
        for gx in range(max(0, int((ox + x0 * sc) * unit) - 1),
                        min(g, int((ox + x1 * sc) * unit) + 2)):
            inside[gy][gx] = king.contains(((gx + 0.5) / unit - ox) / sc,
                                           ((gy + 0.5) / unit - oy) / sc)
    # Chamfer distance (in samples, 3-4 weights) from the king, for its outline.
    far = 1 << 30
    dist = [[0 if inside[y][x] else far for x in range(g)] for y in range(g)]
    for y in range(g):
        row, up = dist[y], dist[y - 1] if y else None
        for x in range(g):
            d = row[x]
            if x:
                d = min(d, row[x - 1] + 3)
            if up:
                d = min(d, up[x] + 3, up[x - 1] + 4 if x else far,
                        up[x + 1] + 4 if x + 1 < g else far)
            row[x] = d
    for y in range(g - 1, -1, -1):
        row, down = dist[y], dist[y + 1] if y + 1 < g else None
        for x in range(g - 1, -1, -1):
            d = row[x]
            if x + 1 < g:
                d = min(d, row[x + 1] + 3)
            if down:
                d = min(d, down[x] + 3, down[x + 1] + 4 if x + 1 < g else far,
                        down[x - 1] + 4 if x else far)
            row[x] = d
    outline = ICON_OUTLINE * unit * 3
    img = canvas(size, size)
    for py in range(size):
        for px in range(size):
            acc, cover = [0, 0, 0], 0
            for sy in range(k):
                for sx in range(k):
                    gx, gy = px * k + sx, py * k + sy
                    x, y = (gx + 0.5) / unit, (gy + 0.5) / unit
                    depth = corner_distance(x, y)
                    if depth < 0:
                        continue
                    if dist[gy][gx] == 0:
                        c = ICON_LIGHT
                    elif dist[gy][gx] <= outline or depth < ICON_RIM:
                        c = ICON_DARK
                    else:
                        c = ARMIES[ICON_QUARTERS[(int(x >= 32), int(y >= 32))]]
                    acc = [a + b for a, b in zip(acc, c)]
                    cover += 1
            if cover:
                img[py][px] = tuple(round(a / cover) for a in acc) + (round(255 * cover / k / k),)
    return img


def svg_shape(shape, attrs):
    """SVG elements of one shape of the design space."""
    if isinstance(shape, Union):
        return ''.join(svg_shape(p, attrs) for p in shape.parts)
    if isinstance(shape, Ellipse):
        return '<ellipse cx="%g" cy="%g" rx="%g" ry="%g"%s/>' % (shape.c + shape.r + (attrs,))
    points = ' '.join('%g,%g' % p for p in shape.pts)
    return '<polygon points="%s"%s/>' % (points, attrs)


def app_icon_svg():
    ox, oy, sc = ICON_KING
    hexa = lambda c: '#%02x%02x%02x' % c
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">',
           '<defs><clipPath id="square"><rect width="64" height="64" rx="%g"/></clipPath></defs>'
           % ICON_CORNER,
           '<g clip-path="url(#square)">']
    for (c, r), owner in sorted(ICON_QUARTERS.items()):
        out.append('<rect x="%d" y="%d" width="32" height="32" fill="%s"/>'
                   % (32 * c, 32 * r, hexa(ARMIES[owner])))
    out.append('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="none" stroke="%s" '
               'stroke-width="%g"/>' % (ICON_RIM / 2, ICON_RIM / 2, 64 - ICON_RIM, 64 - ICON_RIM,
                                        ICON_CORNER - ICON_RIM / 2, hexa(ICON_DARK), ICON_RIM))
    out.append('</g>')
    out.append('<g transform="translate(%g %g) scale(%g)">' % (ox, oy, sc))
    # Outlines of every part first, then every fill: one outline around the whole king.
    stroke = ' fill="%s" stroke="%s" stroke-width="%g" stroke-linejoin="round"' % (
        hexa(ICON_DARK), hexa(ICON_DARK), 2 * ICON_OUTLINE / sc)
    out.append(svg_shape(king_shape(), stroke))
    out.append(svg_shape(king_shape(), ' fill="%s"' % hexa(ICON_LIGHT)))
    out += ['</g>', '</svg>', '']
    return '\n'.join(out).encode()


def save_app_icons():
    base = 'packaging/icons/hicolor'
    save('%s/scalable/apps/%s.svg' % (base, APP_ID), app_icon_svg())
    for n in ICON_SIZES:
        save('%s/%dx%d/apps/%s.png' % (base, n, n, APP_ID), png_bytes(app_icon(n)))


# ------------------------------------------------------------------ main ---

def figure_codes():
    return [0] + [10 * p + k for p in range(1, 5) for k in range(1, 9)]


def on_square(img, bg):
    return [[c if c[3] else bg + (255,) for c in row] for row in img]


def contact_sheets(prefix, figures, pictures):
    """PREFIX-pieces.png: every piece at 1x and 3x on white and black squares;
    PREFIX-pictures.png: the given pictures side by side."""
    white, black = (255, 255, 255), (0, 0, 0)
    sheet = canvas(1220, 720, (128, 128, 128, 255))
    for p in range(5):
        codes = [0] if p == 0 else range(10 * p + 1, 10 * p + 9)
        for i, code in enumerate(codes):
            for j, bg in enumerate([white, black]):
                blit(sheet, on_square(figures[code], bg), 10 + 400 * j + 42 * i, 10 + 42 * p)
    for p in range(1, 5):
        for i, k in enumerate([1, 5, 6, 7, 8]):
            for j, bg in enumerate([white, black]):
                tile = scaled(on_square(figures[10 * p + k], bg), 3)
                blit(sheet, tile, 10 + 120 * (2 * i + j), 230 + 120 * (p - 1))
    with open(prefix + '-pieces.png', 'wb') as f:
        f.write(png_bytes(sheet))
    sheet = canvas(sum(len(p[0]) + 10 for p in pictures) + 10, 340, (128, 128, 128, 255))
    x = 10
    for pic in pictures:
        blit(sheet, pic, x, 10)
        x += len(pic[0]) + 10
    with open(prefix + '-pictures.png', 'wb') as f:
        f.write(png_bytes(sheet))


def resource_list(names):
    """The Qt resource file: the pictures of src/ui/res, plus built-in copies of
    the data pictures, used when a file is missing beside the program."""
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '  <qresource prefix="/">']
    lines += ['    <file>%s</file>' % n for n in names]
    lines.append('    <file alias="Tavlon.bmp">../../../data/Tavlon.bmp</file>')
    lines += ['    <file alias="figures/%d.bmp">../../../data/Figures/%d.bmp</file>' % (c, c)
              for c in figure_codes()]
    lines += ['  </qresource>', '</RCC>', '']
    return '\n'.join(lines).encode()


def read_bmp(path):
    """Pixels of a 24-bit uncompressed bottom-up bitmap, top row first."""
    with open(os.path.join(ROOT, path), 'rb') as f:
        data = f.read()
    magic, size, _, _, offset = struct.unpack_from('<2sIHHI', data)
    _, w, h, planes, bits, compression = struct.unpack_from('<IiiHHI', data, 14)
    assert magic == b'BM' and size == len(data), path
    assert planes == 1 and bits == 24 and compression == 0 and h > 0, path
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h):
        line = data[offset + y * stride:offset + y * stride + w * 3]
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, w * 3, 3)])
    return rows[::-1]


def near_blue(c):
    return sum((a - b) ** 2 for a, b in zip(c, KEY)) < 160 ** 2


def check_files():
    """Reads the bitmaps back: sizes, and no colour that could pass for the key."""
    for code in figure_codes():
        img = read_bmp('data/Figures/%d.bmp' % code)
        assert len(img) == 40 and all(len(row) == 40 for row in img), code
        pixels = [c for row in img for c in row]
        assert all(c == KEY or not near_blue(c) for c in pixels), code
        assert (code == 0) == all(c == KEY for c in pixels), code
    intro_img = read_bmp('data/Tavlon.bmp')
    assert len(intro_img) == 320 and len(intro_img[0]) == 320


def main(argv):
    figures = {0: canvas(40, 40)}
    for code in figure_codes()[1:]:
        figures[code] = piece(KIND_OF_DIGIT[code % 10], code // 10)
    for code, img in figures.items():
        save('data/Figures/%d.bmp' % code, bmp_bytes(img))
    kinds = [1, 5, 6, 7, 8]  # pawn, bishop, knight, rook, king
    pictures = {
        'kings': strip([figures[10 * p + 8] for p in range(1, 5)]),
        'figures': strip([figures[0]] + [figures[10 * p + k] for p in range(1, 5) for k in kinds]),
        'new': icon_new(), 'open': icon_open(), 'save': icon_save(), 'setup': icon_setup(),
        'icon': icon_window()}
    for name, img in pictures.items():
        save('src/ui/res/%s.png' % name, png_bytes(img))
    save('src/ui/res/resources.qrc', resource_list(['%s.png' % n for n in pictures]))
    picture = intro()
    save('data/Tavlon.bmp', bmp_bytes(picture))
    check_files()
    save_app_icons()
    if len(argv) > 2 and argv[1] == '--sheet':
        icons = [scaled(pictures[n], 3) for n in ('new', 'open', 'save', 'setup', 'icon')]
        contact_sheets(argv[2], figures, [picture] + icons)


if __name__ == '__main__':
    main(sys.argv)
