#include "model/ShapeBounds.h"

#include <algorithm>

#include "model/CShapeArray.h"

namespace {

void Widen(ShapeBounds::Box& box, CPoint p) {
  if (box.empty) {
    box = {false, p.x, p.y, p.x, p.y};
    return;
  }
  box.left = std::min<int64_t>(box.left, p.x), box.right = std::max<int64_t>(box.right, p.x);
  box.top = std::min<int64_t>(box.top, p.y), box.bottom = std::max<int64_t>(box.bottom, p.y);
}

bool OnEdge(const ShapeBounds::Box& box, CPoint p) {
  return p.x <= box.left || p.x >= box.right || p.y <= box.top || p.y >= box.bottom;
}

}  // namespace

ShapeBounds ShapeBounds::Of(const CShapeArray& shapes) {
  ShapeBounds bounds;
  for (int i = 0; i < shapes.GetSize(); ++i) bounds.Add(shapes[i]);
  return bounds;
}

// A shape without points shows nothing, not even its centre.
void ShapeBounds::Add(const CShape& shape) {
  if (shape.GetPointCount() == 0) return;
  for (int i = 0; i < shape.GetPointCount(); ++i) Widen(m_points, shape.GetPoint(i));
  Widen(m_centres, shape.GetCenter());
  const int pen = shape.GetPenWidth();
  if (m_widestPens == 0 || pen > m_widestPen) m_widestPen = pen, m_widestPens = 0;
  if (pen == m_widestPen) ++m_widestPens;
}

bool ShapeBounds::Remove(const CShape& shape) {
  if (shape.GetPointCount() == 0 || IsEmpty()) return false;
  const bool lastWidest = shape.GetPenWidth() >= m_widestPen && --m_widestPens <= 0;
  bool narrows = lastWidest || OnEdge(m_centres, shape.GetCenter());
  for (int i = 0; i < shape.GetPointCount() && !narrows; ++i) narrows = OnEdge(m_points, shape.GetPoint(i));
  return narrows;
}
