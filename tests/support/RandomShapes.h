// Random drawings for the tests that compare fast painting with plain painting.
#pragma once

#include <cmath>
#include <random>

#include "model/CShape.h"
#include "model/ShapeCodes.h"
#include "platform/core/CDC.h"

namespace random_shapes {

inline int Pick(std::mt19937& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

// Any kind, pen and fill, about the size of a window's view.
inline CShape RandomShape(std::mt19937& rng) {
  auto pick = [&](int n) { return Pick(rng, n); };
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  CShape s;
  s.SetType(kinds[pick(5)]);
  const int x = pick(900) - 100, y = pick(700) - 100, w = pick(300) - 60, h = pick(240) - 50;
  if (s.GetType() == kLine) {
    s.SetPointCount(2);
    s.SetPoint(0, x, y);
    s.SetPoint(1, x + w, y + h);
  } else {
    s.SetPointCount(4);
    s.SetPoint(0, x, y);
    s.SetPoint(1, x + w, y + pick(9) - 4);
    s.SetPoint(2, x + w, y + h);
    s.SetPoint(3, x + pick(9) - 4, y + h);
    const int fill = pick(8);
    s.SetBrushStyle(fill == 6 ? int(kBrushTransparent) : fill == 7 ? int(kBrushPaint) : fill);
    s.SetBrushColor(RGB(uint8_t(pick(256)), uint8_t(pick(256)), uint8_t(pick(256))));
  }
  s.SetCenter(x + 10, y + 10);
  s.SetPenStyle(pick(6));
  s.SetPenWidth(1 + pick(3));
  s.SetPenColor(RGB(uint8_t(pick(256)), uint8_t(pick(256)), uint8_t(pick(256))));
  return s;
}

// For crowded drawings: quadrilaterals turned any way (some folded or bent inwards), ellipses,
// lines and curves.
inline CShape CrowdedShape(std::mt19937& rng) {
  auto pick = [&](int n) { return Pick(rng, n); };
  CShape s = RandomShape(rng);
  if (s.GetType() == kRectangle || s.GetType() == kPolygonRect) {
    const double cx = pick(800), cy = pick(600), turn = pick(360) * M_PI / 180;
    for (int k = 0; k < 4; ++k) {
      const double a = turn + k * M_PI / 2 + (pick(5) == 0 ? pick(120) * M_PI / 180 : 0), r = 10 + pick(200);
      s.SetPoint(k, int(cx + r * std::cos(a)), int(cy + r * std::sin(a)));
    }
  }
  if (pick(7) == 0) s.SetBrushStyle(pick(3) - 3);  // unset and the codes beside it: not a fill
  return s;
}

// A crowded shape of at most `side` pixels a side, anywhere over `width` by `height`: thousands of
// them hide little of each other.
inline CShape SmallShape(std::mt19937& rng, int width, int height, int side) {
  auto pick = [&](int n) { return Pick(rng, n); };
  CShape s = CrowdedShape(rng);
  const int x = pick(width), y = pick(height), w = pick(side), h = pick(side);
  for (int k = 0; k < s.GetPointCount(); ++k)
    s.SetPoint(k, x + (k == 1 || k == 2 ? w : pick(3)), y + (k >= 2 || s.GetPointCount() == 2 ? h : pick(3)));
  return s;
}

}  // namespace random_shapes
