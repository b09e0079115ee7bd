#!/usr/bin/env python3
"""Writes the fuzzer's seed files: sound drawings of every kind and a few damaged ones."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


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
os.makedirs(HERE, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(HERE, name + ".qrf"), "wb") as f:
        f.write(data)
