#include "model/DragRules.h"

#include "model/Geometry.h"
#include "model/ShapeCodes.h"

namespace drag_rules {

namespace {

int32_t Moved(int32_t v, int64_t by) { return geometry::Clamp32(v + by); }

void MovePoint(CShape& s, int i, int64_t dx, int64_t dy) {
  const CPoint p = s.GetPoint(i);
  s.SetPoint(i, Moved(p.x, dx), Moved(p.y, dy));
}

void MoveCenter(CShape& s, Step d) {
  const CPoint c = s.GetCenter();
  s.SetCenter(Moved(c.x, d.x), Moved(c.y, d.y));
}

}  // namespace

CShape NewShape(int tool, CPoint a, CPoint p) {
  CShape s;
  if (tool == kLine) {
    s.SetPoint(0, a.x, a.y);
    s.SetPoint(1, p.x, p.y);
    s.SetPointCount(2);
  } else {
    s.SetPoint(0, a.x, a.y);
    s.SetPoint(1, p.x, a.y);
    s.SetPoint(2, p.x, p.y);
    s.SetPoint(3, a.x, p.y);
    s.SetPointCount(4);
  }
  s.SetCenter(Moved(a.x, 10), Moved(a.y, 10));
  s.SetType(tool);
  return s;
}

int NewShapeGrip(int tool) { return tool == kLine ? 1 : 2; }

bool Reshape(CShape& s, int tool, int mode, int part, Step d, bool slide) {
  const bool line = tool == kLine;
  const bool boxed = tool == kRectangle || tool == kEllipse;
  const int n = s.GetPointCount(), i = part;
  const int prev = i == 0 ? n - 1 : i - 1;
  const int next = i + 1 == n ? 0 : i + 1;
  switch (mode) {
    case HIT_VERTEX:
      if (i < 0 || i >= n) return false;
      if (boxed && i % 2 == 0) {
        MovePoint(s, prev, d.x, 0);
        MovePoint(s, next, 0, d.y);
      } else if (boxed) {
        MovePoint(s, prev, 0, d.y);
        MovePoint(s, next, d.x, 0);
      }
      MovePoint(s, i, d.x, d.y);
      return true;
    case HIT_EDGE: {
      if (line || i < 0 || i >= n) return false;
      if (!boxed) {
        MovePoint(s, i, d.x, d.y);
        MovePoint(s, next, d.x, d.y);
        return true;
      }
      // Edges 0 and 2 move up and down, 1 and 3 sideways, or along themselves with `slide`.
      const bool vertical = i % 2 == (slide && s.GetType() != kEllipse ? 1 : 0);
      MovePoint(s, i, vertical ? 0 : d.x, vertical ? d.y : 0);
      MovePoint(s, next, vertical ? 0 : d.x, vertical ? d.y : 0);
      return true;
    }
    case HIT_OUTLINE:
      // The whole shape: a line's two points, every point of the others, and the centre.
      for (int k = 0; k < (line ? 2 : n); ++k) MovePoint(s, k, d.x, d.y);
      MoveCenter(s, d);
      return true;
    case HIT_CENTER: MoveCenter(s, d); return true;
    default: return false;
  }
}

}  // namespace drag_rules
