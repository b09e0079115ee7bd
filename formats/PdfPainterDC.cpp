#include "formats/PdfPainterDC.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/qt/HatchTile.h"

namespace {

constexpr int kTile = hatch_tile::kSize;
// Viewers count a pixel as touched by an edge that lies exactly on its border: each pixel is drawn
// this much smaller on every side, so that it touches none of its neighbours.
constexpr double kInset = 0.02;

void AddPixels(QPainterPath& path, int x, int y, int w, int h) {
  path.addRect(QRectF(x + kInset, y + kInset, w - 2 * kInset, h - 2 * kInset));
}

// The first whole number from `from` on that leaves `rest` (0 to 7) when divided by 8.
int FirstFrom(int from, int rest) { return from + (((rest - from) % kTile) + kTile) % kTile; }

// The pixels of `hatch` that fall in `box`.
QPainterPath HatchPixels(int hatch, const QRect& box) {
  QPainterPath pixels;
  pixels.setFillRule(Qt::WindingFill);  // where two lines cross the pixel stays set
  const bool falling = hatch_tile::Falling(hatch), rising = hatch_tile::Rising(hatch);
  const int left = box.left(), right = box.right(), top = box.top(), bottom = box.bottom();
  if (hatch_tile::Across(hatch))
    for (int y = FirstFrom(top, hatch_tile::kRow); y <= bottom; y += kTile)
      AddPixels(pixels, left, y, right - left + 1, 1);
  if (hatch_tile::Down(hatch))
    for (int x = FirstFrom(left, hatch_tile::kColumn); x <= right; x += kTile)
      AddPixels(pixels, x, top, 1, bottom - top + 1);
  for (int y = top; (falling || rising) && y <= bottom; ++y) {
    const int row = ((y % kTile) + kTile) % kTile;
    if (falling)
      for (int x = FirstFrom(left, row); x <= right; x += kTile) AddPixels(pixels, x, y, 1, 1);
    if (rising)
      for (int x = FirstFrom(left, kTile - 1 - row); x <= right; x += kTile) AddPixels(pixels, x, y, 1, 1);
  }
  return pixels;
}

}  // namespace

bool PdfPainterDC::Hatch(const QPainterPath& shape) {
  const CBrush& brush = GetCurrentBrush();
  if (brush.fill != CBrush::hatched) return false;
  QPainter& painter = Painter();
  painter.save();
  painter.fillPath(shape, Qt::white);
  painter.setClipPath(shape, Qt::IntersectClip);
  painter.fillPath(HatchPixels(brush.hatch, shape.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1)),
                   ToQBrush(brush).color());
  painter.restore();
  return true;
}

template <typename Draw>
void PdfPainterDC::Outline(Draw draw) {
  QPainter& painter = Painter();
  const QBrush brush = painter.brush();
  painter.setBrush(Qt::NoBrush);
  draw();
  painter.setBrush(brush);
}

void PdfPainterDC::Polygon(const POINT* points, int count) {
  QPainterPath shape;
  shape.addPolygon(ToQPolygon(points, count));
  shape.closeSubpath();
  shape.setFillRule(Qt::OddEvenFill);
  if (count < 2 || !Hatch(shape)) return CQPainterDC::Polygon(points, count);
  Outline([&] { CQPainterDC::Polygon(points, count); });
}

void PdfPainterDC::Ellipse(int left, int top, int right, int bottom) {
  QPainterPath shape;
  shape.addEllipse(Box(left, top, right, bottom));
  if (!Hatch(shape)) return CQPainterDC::Ellipse(left, top, right, bottom);
  Outline([&] { CQPainterDC::Ellipse(left, top, right, bottom); });
}

void PdfPainterDC::Rectangle(int left, int top, int right, int bottom) {
  QPainterPath shape;
  shape.addRect(Box(left, top, right, bottom));
  if (!Hatch(shape)) return CQPainterDC::Rectangle(left, top, right, bottom);
  Outline([&] { CQPainterDC::Rectangle(left, top, right, bottom); });
}
