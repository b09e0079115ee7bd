// The drawings the benchmarks work on.
#pragma once

#include <cstdint>
#include <random>
#include <sstream>

#include "model/CTavlo.h"
#include "platform/core/CArchive.h"

namespace sample_shapes {

// `count` shapes of every kind, pen and fill, spread over 4000 by 3000 units. Appending one shape
// at a time would grow the array in the small steps the editor uses for interactive work, so the
// records are laid out in one go.
inline CShapeArray Mixed(int count) {
  CShapeArray shapes;
  shapes.SetSize(count);
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  for (int i = 0; i < count; ++i) {
    CShape& s = shapes.ElementAt(i);
    const int kind = kinds[i % 5];
    const int x = (i * 37) % 4000, y = (i * 91) % 3000;
    s.SetType(kind);
    s.SetCenter(x + 10, y + 10);
    s.SetPenColor(RGB(uint8_t(i), uint8_t(i >> 8), 0));
    s.SetPenStyle(i % 6);
    s.SetPenWidth(1 + i % 3);
    if (kind == kLine) {
      s.SetPointCount(2);
      s.SetPoint(0, x, y);
      s.SetPoint(1, x + 50, y + 30);
    } else {
      s.SetBrushStyle(i % 8 - 2);
      s.SetPointCount(4);
      s.SetPoint(0, x, y);
      s.SetPoint(1, x + 60, y);
      s.SetPoint(2, x + 60, y + 40);
      s.SetPoint(3, x, y + 40);
    }
  }
  return shapes;
}

// Loads `shapes` into `drawing` (nothing selected) as a file would be loaded: the block is sized
// once, not grown shape by shape.
inline void Load(CTavlo& drawing, CShapeArray shapes) {
  std::stringbuf bytes;
  CArchive out(bytes, CArchive::store);
  out << int32_t(-1);
  shapes.Serialize(out);
  out.Close();
  CArchive in(bytes, CArchive::load);
  drawing.Serialize(in);
}

inline void LoadMixed(CTavlo& drawing, int count) { Load(drawing, Mixed(count)); }

// A probe point that no shape of Fill's drawings comes near.
const CPoint kHole(960, 540);

// A shape of `kind` over the box from (x0, y0), w by h, with a pen colour, style and width and
// (all but a line) a fill picked by `pick`: hatched, hollow or solid.
inline CShape Dressed(int kind, int x0, int y0, int w, int h, std::mt19937& rng,
                      std::uniform_int_distribution<int>& pick) {
  CShape s;
  s.SetType(kind);
  s.SetCenter(x0 + 10, y0 + 10);
  s.SetPenColor(RGB(uint8_t(pick(rng) * 2), uint8_t(pick(rng)), uint8_t(pick(rng) * 2)));
  s.SetPenStyle(pick(rng) % 6);
  s.SetPenWidth(1 + pick(rng) % 3);
  if (kind == kLine) {
    s.SetPointCount(2);
    s.SetPoint(0, x0, y0);
    s.SetPoint(1, x0 + w, y0 + h);
  } else {
    s.SetPointCount(4);
    s.SetPoint(0, x0, y0);
    s.SetPoint(1, x0 + w, y0);
    s.SetPoint(2, x0 + w, y0 + h);
    s.SetPoint(3, x0, y0 + h);
    const int fill = pick(rng) % 8;
    s.SetBrushStyle(fill == 6 ? kBrushTransparent : fill == 7 ? kBrushPaint : fill);
    s.SetBrushColor(RGB(uint8_t(pick(rng)), uint8_t(pick(rng) * 2), 200));
  }
  return s;
}

// Mixed shapes over 1920x1080: every kind, every pen style and width, solid, hollow and hatched
// fills, sizes from small to a fifth of the screen. None comes near kHole.
// The drawing is loaded in one go, as Load says; `drawing` must be fresh.
inline void Fill(CTavlo& drawing, int count) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> x(0, 1900), y(0, 1060), size(4, 380), pick(0, 99);
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  CShapeArray shapes;
  shapes.SetSize(count);
  for (int i = 0; i < count;) {
    const int kind = kinds[pick(rng) % 5];
    const int x0 = x(rng), y0 = y(rng), w = size(rng) / (1 + pick(rng) % 4), h = size(rng) / (1 + pick(rng) % 4);
    if (x0 - 20 < kHole.x && kHole.x < x0 + w + 20 && y0 - 20 < kHole.y && kHole.y < y0 + h + 20) continue;
    shapes.ElementAt(i++) = Dressed(kind, x0, y0, w, h, rng, pick);
  }
  Load(drawing, std::move(shapes));
}

}  // namespace sample_shapes
