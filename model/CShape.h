#pragma once

#include "model/ShapeCodes.h"
#include "platform/core/Color.h"
#include "platform/core/Point.h"

class CDC;

// One shape of a drawing: kind, pen and brush, up to ten points and a rotation centre that is
// independent of the points. A plain value: copies carry every field, all ten point slots included.
class CShape final {
 public:
  CShape() = default;
  CShape(const CShape&) = default;
  CShape& operator=(const CShape&) = default;

  CPoint GetCenter() const { return center; }
  void SetCenter(int32_t x, int32_t y) { center = CPoint(x, y); }
  int GetType() const { return type; }
  void SetType(int v) { type = v; }
  COLORREF GetPenColor() const { return penColor; }
  void SetPenColor(COLORREF v) { penColor = v; }
  COLORREF GetBrushColor() const { return brushColor; }
  void SetBrushColor(COLORREF v) { brushColor = v; }
  int GetPenWidth() const { return penWidth; }
  void SetPenWidth(int v) { penWidth = v; }
  int GetPenStyle() const { return penStyle; }
  void SetPenStyle(int v) { penStyle = v; }
  int GetBrushStyle() const { return brushStyle; }
  void SetBrushStyle(int v) { brushStyle = v; }

  int GetPointCount() const { return pointCount; }
  // Anything outside 1 to 10 stores 0.
  void SetPointCount(int n) { pointCount = (n >= 1 && n <= kMaxPoints) ? n : 0; }

  // i must lie in 0 to 9.
  CPoint GetPoint(int i) const { return points[i]; }
  void SetPoint(int i, int32_t x, int32_t y) { points[i] = CPoint(x, y); }

  // Midpoint of points i and j, rounded towards the smaller coordinate; the order of i and j
  // does not matter.
  CPoint GetEdgeMidpoint(int i, int j) const;

  // Draws the points at `zoom` per cent, turned by `angle` radians about the centre when the angle
  // is not 0, as the primitive of kindOverride or, when that is 0, of the shape's own kind: 1 an
  // open polyline, 2 to 4 a closed polygon, 5 a cubic Bezier, 6 the upright ellipse in the box of
  // points 0 and 2. Uses the pen and brush the caller made current; any other kind draws nothing.
  void Draw(CDC& dc, int zoom, double angle, int kindOverride) const;

  // Every field, all ten point slots included.
  friend bool operator==(const CShape& a, const CShape& b);

 private:
  CPoint center;
  int type = 0;
  COLORREF penColor = 0;
  COLORREF brushColor = 0;
  int penWidth = 1;
  int penStyle = 0;
  int brushStyle = kBrushUnset;
  int pointCount = 0;
  CPoint points[kMaxPoints];
};
