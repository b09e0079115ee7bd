// The drawings the benchmarks work on.
#pragma once

#include <cstdint>
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

// Loads `count` of those into `drawing` (nothing selected) as a file would be loaded: the block is
// sized once, not grown shape by shape.
inline void LoadMixed(CTavlo& drawing, int count) {
  CShapeArray shapes = Mixed(count);
  std::stringbuf bytes;
  CArchive out(bytes, CArchive::store);
  out << int32_t(-1);
  shapes.Serialize(out);
  out.Close();
  CArchive in(bytes, CArchive::load);
  drawing.Serialize(in);
}

}  // namespace sample_shapes
