#!/usr/bin/env python3
"""Writes the fuzzers' seed files into corpus/<fuzzer>/: for the .qrf and the JSON readers sound
drawings of every kind and a few damaged ones; for the paint fuzzer drawings that reach across
tiles, out to the ends of the 32-bit range."""
import json
import os
import random
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def record(kind, center, points, pen=0, brush=0, width=1, style=0, brush_style=-200):
    slots = list(points) + [(0, 0)] * (10 - len(points))
    head = struct.pack("<I2i7i", 0x0040CA70, *center, kind, pen, brush, width, style, brush_style, len(points))
    return head + b"".join(struct.pack("<ii", *p) for p in slots)


def drawing(selected, records, hit_mode=0, hit_part=-1, escape=False):
    count = struct.pack("<HI", 0xFFFF, len(records)) if escape else struct.pack("<H", len(records))
    return struct.pack("<i", selected) + count + b"".join(records) + struct.pack("<ii", hit_mode, hit_part)


BOX = [(10, 10), (60, 10), (60, 40), (10, 40)]
seeds = {
    "empty": b"",
    "no-shapes": drawing(-1, []),
    "line": drawing(0, [record(1, (20, 30), [(10, 20), (30, 40)], brush_style=-1)], 1, 1),
    "rectangle": drawing(0, [record(2, (20, 20), BOX, brush_style=2)], 2, 3),
    "polygon": drawing(0, [record(3, (20, 20), BOX, pen=0xFF, brush_style=-100)], 3, 1),
    "bezier": drawing(0, [record(5, (20, 20), BOX, style=1)], 3, 4),
    "ellipse": drawing(0, [record(6, (20, 20), BOX, width=3, brush_style=5)], 5, -1),
    "all-kinds": drawing(2, [record(k, (5, 5), BOX if k != 1 else BOX[:2], style=k % 6, brush_style=k - 2)
                             for k in (1, 2, 3, 5, 6)], 4, 0),
    "escaped-count": drawing(-1, [record(2, (0, 0), BOX)], escape=True),
    "extreme": drawing(0, [record(6, (2**31 - 1, -2**31), [(-2**31, -2**31), (2**31 - 1, -2**31),
                                                          (2**31 - 1, 2**31 - 1), (-2**31, 2**31 - 1)])], 1, 0),
    "truncated": drawing(0, [record(2, (0, 0), BOX)])[:-9],
    "eleven-points": drawing(0, [record(3, (0, 0), BOX)])[:42] + struct.pack("<i", 11) +
                     drawing(0, [record(3, (0, 0), BOX)])[46:],
    "huge-count": struct.pack("<iHI", -1, 0xFFFF, 0xFFFFFFFF) + b"\0" * 16,
    "stale-grip": drawing(7, [record(1, (0, 0), [(1, 1), (2, 2)])], 2, 9),
}


def write(fuzzer, files):
    folder = os.path.join(CORPUS, fuzzer)
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


write("qrf", {name + ".qrf": data for name, data in seeds.items()})

LINE = {"type": 1, "points": [[10, 20], [30, 40]]}
FULL = {"type": 3, "center": [5, -5], "penColor": 255, "brushColor": 4294967295, "penWidth": 3, "penStyle": 2,
        "brushStyle": -100, "points": [[0, 0], [50, 0], [50, 30], [0, 30]]}
json_seeds = {
    "line": {"shapes": [LINE]},
    "nothing": {},
    "full": {"selected": 0, "hitMode": 1, "hitPart": 2, "shapes": [FULL]},
    "all-kinds": {"selected": 1, "shapes": [dict(FULL, type=k) for k in (1, 2, 3, 5, 6)]},
    "extreme": {"shapes": [{"type": 6, "center": [2**31 - 1, -2**31],
                            "points": [[-2**31, -2**31], [2**31 - 1, -2**31], [2**31 - 1, 2**31 - 1]]}]},
    "stale-grip": {"selected": 7, "hitMode": 2, "hitPart": 9, "shapes": [LINE]},
}
json_texts = {name + ".json": json.dumps(doc).encode() for name, doc in json_seeds.items()}
json_texts.update({
    "beyond-32-bits.json": b'{"shapes": [{"type": 1, "points": [[4294967296, 0], [0, 0]]}]}',
    "fraction.json": b'{"shapes": [{"type": 1.5}]}',
    "eleven-points.json": json.dumps({"shapes": [{"type": 3, "points": [[i, i] for i in range(11)]}]}).encode(),
    "syntax-error.json": b'{"shapes": [\n  {"type": 1,, }]}',
    "duplicate-key.json": b'{"selected": 0, "selected": -1, "shapes": [{"type": 1, "type": 2}]}',
    "not-an-object.json": b'[1, 2, 3]',
    "wrong-types.json": b'{"shapes": {"type": 1}, "selected": "0"}',
    "escapes.json": b'{"sh\\u0061pes": [], "selected": -0.0e0, "hitPart": 1E1}',
})
write("json", json_texts)


class Bytes:
    """Writes the values the paint fuzzer takes with libFuzzer's FuzzedDataProvider, in the order
    it takes them: whole numbers come from the end of the data, most significant byte first."""

    def __init__(self):
        self.taken = []

    def range(self, low, high, value):
        assert low <= value <= high
        width = (high - low).bit_length()
        count = (width + 7) // 8
        number = value - low
        self.taken += [(number >> (8 * (count - 1 - k))) & 0xFF for k in range(count)]
        return self

    def bool(self, value):
        return self.range(0, 255, int(value))

    def data(self):
        return bytes(reversed(self.taken))


def coordinate(b, v):
    if -50 <= v <= 1300:
        return b.range(0, 5, 0).range(-50, 1300, v)
    if v <= -2**31 + 4000:
        return b.range(0, 5, 2).range(0, 4000, v + 2**31)
    if v >= 2**31 - 1 - 4000:
        return b.range(0, 5, 3).range(0, 4000, 2**31 - 1 - v)
    return b.range(0, 5, 5).range(-2**31, 2**31 - 1, v)


KINDS = {1: 0, 2: 1, 3: 2, 5: 3, 6: 4}
BRUSHES = [-200, -100, -1, 0, 1, 2, 3, 4, 5]


def shape(b, kind, points, style=0, width=1, pen=0, brush=-200, fill=0):
    b.range(0, 5, KINDS[kind])
    if len(points) == (2 if kind == 1 else 4):
        b.range(0, 7, 1)
    else:
        b.range(0, 7, 0).range(1, 10, len(points))
    for i, (x, y) in enumerate(points):
        if i > 0:
            b.bool(False)
        coordinate(coordinate(b, x), y)
    coordinate(coordinate(b, 0), 0)
    b.range(0, 7, 1).range(0, 5, style)
    b.range(0, 7, 1).range(1, 4, width)
    b.range(0, 2**32 - 1, pen)
    b.range(0, 15, 1).range(0, 8, BRUSHES.index(brush))
    return b.range(0, 2**32 - 1, fill)


def look(b, shapes, points, zoom, scale, scroll, size):
    b.bool(50 <= zoom <= 500)
    b.range(50, 500, zoom) if 50 <= zoom <= 500 else b.range(1, 1000, zoom)
    b.bool(scale == 2)
    furthest = 2400 // scale
    b.range(0, furthest, scroll[0]).range(0, furthest, scroll[1])
    b.range(1, 400, size[0]).range(1, 400, size[1])
    for _ in range(3):  # searches at the first point of the first shape
        coordinate(coordinate(b, 0), 0).bool(True).range(0, shapes - 1, 0).range(0, points - 1, 0)
        b.range(-8, 8, 0).range(-8, 8, 0)
    return b


def drawing_looked_at(shapes, views):
    b = Bytes()
    b.range(0, 12, len(shapes))
    for args in shapes:
        shape(b, *args)
    b.range(-1, len(shapes) - 1, -1).range(1, 4, len(views))
    for k, view in enumerate(views):
        look(b, len(shapes), len(shapes[0][1]), *view)
        if k + 1 < len(views):
            b.range(0, 5, 5)  # no change: the same drawing seen otherwise
    return b.data()


paint_seeds = {
    # A dash-dot line at 500 per cent across tiles and beyond the pictures they are painted in.
    "dash-dot-across-tiles": drawing_looked_at([(1, [(0, 0), (600, 450)], 3)],
                                               [(500, 1, (700, 500), (400, 300)), (500, 1, (2300, 1700), (400, 300))]),
    "dashed-polygon-scale-2": drawing_looked_at([(3, [(-40, 10), (900, 30), (700, 800), (20, 500)], 1, 1, 0xFF, 2, 0x00FF00)],
                                                [(300, 2, (400, 300), (300, 200)), (200, 2, (0, 0), (300, 300))]),
    "from-the-ends-of-the-range": drawing_looked_at(
        [(1, [(-2**31, -2**31), (2**31 - 1, 2**31 - 1)], 4), (6, [(-2**31, 10), (2**31 - 1, 10), (2**31 - 1, 900), (-2**31, 900)], 2, 3),
         (5, [(-2**31, 0), (2**31 - 1, 0), (0, 2**31 - 1), (500, 500)], 1)],
        [(1000, 1, (1000, 1000), (400, 400)), (1, 1, (0, 0), (200, 200)), (100, 2, (500, 0), (100, 400))]),
    "many-kinds": drawing_looked_at([(k, [(20 * k, 30), (400, 60 * k), (300, 500), (10, 400)][:2 if k == 1 else 4], k % 5,
                                      1 + k % 3, 0x102030 * k, [-200, -100, 0, 3, 5][k % 5], 0x00A0FF) for k in (1, 2, 3, 5, 6)],
                                    [(100, 1, (0, 0), (400, 400)), (50, 2, (100, 100), (200, 100)), (250, 1, (800, 900), (400, 300))]),
}
rng = random.Random(5)
for n in range(8):
    paint_seeds["random-%d" % n] = bytes(rng.randrange(256) for _ in range(64 << (n % 4)))
write("paint", paint_seeds)
