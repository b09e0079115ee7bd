#include "model/CTavlo.h"

#include "model/Geometry.h"
#include "platform/core/CDC.h"

namespace {
constexpr COLORREF kSelectionGrey = RGB(230, 230, 230);
constexpr int kCentreMargin = 2;  // the centre circle reaches this far beyond a handle
}  // namespace

int CTavlo::GetTolerance() const {
  const int factor = zoom / 100;
  return 3 * (factor == 0 ? 1 : factor);
}

void CTavlo::Draw(CDC& dc) const { DrawLayers(dc, true); }

void CTavlo::DrawSelected(CDC& dc) const {
  if (HasSelection()) DrawLayers(dc, false);
}

// The two selection pens exist for the whole call, made first and freed last.
void CTavlo::DrawLayers(CDC& dc, bool unselected) const {
  CPen grey, black;
  dc.CreatePen(grey, PS_SOLID, 1, kSelectionGrey);
  dc.CreatePen(black, PS_SOLID, 1, RGB(0, 0, 0));
  if (unselected)
    for (int i = 0; i <= GetUpperBound(); ++i)
      if (i != selected) DrawShape(dc, i);
  if (HasSelection()) DrawSelection(dc, grey, black);
  dc.DeleteObject(grey);
  dc.DeleteObject(black);
}

void CTavlo::DrawShape(CDC& dc, int index, int zoom, bool thinPens) const {
  if (index < 0 || index > GetUpperBound()) return;
  const CShape& s = shapes[index];
  const int type = s.GetType();
  if (type < kLine || type > kEllipse) return;
  CPen pen;
  const int style = thinPens && s.GetPenStyle() != PS_NULL ? PS_SOLID : s.GetPenStyle();
  dc.CreatePen(pen, style, thinPens ? 1 : s.GetPenWidth(), s.GetPenColor());
  CPen* oldPen = dc.SelectObject(&pen);
  if (type == kLine || type == kBezier) {
    s.Draw(dc, zoom, 0.0, 0);
    dc.SelectObject(oldPen);
    dc.DeleteObject(pen);
    return;
  }
  CBrush brush;
  CGdiObject* oldBrush;
  if (s.GetBrushStyle() == kBrushTransparent) {
    oldBrush = dc.SelectStockObject(NULL_BRUSH);
  } else {
    if (s.GetBrushStyle() == kBrushPaint)
      dc.CreateSolidBrush(brush, s.GetBrushColor());
    else
      dc.CreateHatchBrush(brush, s.GetBrushStyle(), s.GetBrushColor());
    oldBrush = dc.SelectObject(&brush);
  }
  s.Draw(dc, zoom, 0.0, 0);
  dc.SelectObject(oldPen);
  dc.SelectGdiObject(oldBrush);
  dc.DeleteObject(pen);
  if (brush.IsCreated()) dc.DeleteObject(brush);
}

void CTavlo::DrawSelection(CDC& dc, CPen& grey, CPen& black) const {
  const CShape s = shapes[selected];
  const int n = s.GetPointCount();
  const int h = GetTolerance();
  CPen* oldPen = dc.SelectObject(rotateMode ? &black : &grey);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);

  auto handle = [&](CPoint v) {
    ZoomPoint(v);
    RotatePoint(v);
    dc.Rectangle(geometry::Clamp32(int64_t(v.x) - h), geometry::Clamp32(int64_t(v.y) - h),
                 geometry::Clamp32(int64_t(v.x) + h), geometry::Clamp32(int64_t(v.y) + h));
  };
  for (int j = 0; j < n; ++j) {
    handle(s.GetPoint(j));
    if (s.GetType() != kLine) handle(s.GetEdgeMidpoint(j, j + 1 == n ? 0 : j + 1));
  }

  if (rotateMode) {
    CPoint c = s.GetCenter();
    ZoomPoint(c);  // the pivot itself is not turned
    const int r = h + kCentreMargin;
    dc.Ellipse(geometry::Clamp32(int64_t(c.x) - r), geometry::Clamp32(int64_t(c.y) - r),
               geometry::Clamp32(int64_t(c.x) + r), geometry::Clamp32(int64_t(c.y) + r));
    dc.MoveTo(geometry::Clamp32(int64_t(c.x) - h), c.y);
    dc.LineTo(geometry::Clamp32(int64_t(c.x) + h), c.y);
    dc.MoveTo(c.x, geometry::Clamp32(int64_t(c.y) - h));
    dc.LineTo(c.x, geometry::Clamp32(int64_t(c.y) + h));
  }

  dc.SelectObject(&grey);
  if (s.GetType() == kBezier || s.GetType() == kEllipse) s.Draw(dc, zoom, angle, kClosedOutline);
  s.Draw(dc, zoom, angle, 0);
  dc.SelectGdiObject(oldBrush);
  dc.SelectObject(oldPen);
}
