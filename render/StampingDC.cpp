#include "render/StampingDC.h"

#include <algorithm>
#include <climits>

#include <QImage>
#include <QPainter>

#include "platform/qt/HatchTile.h"
#include "platform/qt/WideOutline.h"

namespace {

// A stamp is used this far (device pixels) beyond its pen's width inside the image's edge at least.
// Qt cuts only what leaves the picture: small shapes of every kind next to the four edges matched
// their stamps with 1, and not with 0.
constexpr int kEdge = 2;

// The columns each hatch sets on each row of its tile of one device pixel to the pixel, a bit to
// a column: a row of a run is then read once.
struct HatchRows {
  uint8_t bits[6][hatch_tile::kSize] = {};
  constexpr HatchRows() {
    for (int hatch = 0; hatch < 6; ++hatch)
      for (int y = 0; y < hatch_tile::kSize; ++y)
        for (int x = 0; x < hatch_tile::kSize; ++x)
          if (hatch_tile::Sets(hatch, x, y)) bits[hatch][y] |= uint8_t(1 << x);
  }
};
constexpr HatchRows kHatchRows;

// A dashed outline's stamp holds wherever it is laid only while Qt draws it alike at every place.
static_assert(WideOutline::kPlaceFree >= 2 * ShapeStamps::kLargest, "the largest form at a ratio of 2 is drawn alike");

}  // namespace

StampingDC::StampingDC(QPainter& painter, QImage& image, QPoint offset, ShapeStamps& stamps)
    : CQPainterDC(painter),
      m_image(image),
      m_offset(offset),
      m_clip(QPoint(0, 0), image.deviceIndependentSize().toSize()),
      m_stamps(stamps),
      // At other ratios a form's pixels depend on where it lies between device pixels.
      m_ratio(image.devicePixelRatio() == 1   ? 1
              : image.devicePixelRatio() == 2 ? 2
                                              : 0) {}

bool StampingDC::Stamp(ShapeStamps::Primitive primitive, const POINT* points, int count) {
  const CPen& pen = GetCurrentPen();
  const int r = m_ratio;
  if (pen.style < 0 || pen.style > PS_NULL || pen.width > ShapeStamps::kLargest || r == 0 || count < 1) return false;
  int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
  for (int i = 0; i < count; ++i) {
    left = std::min<int64_t>(left, points[i].x), right = std::max<int64_t>(right, points[i].x);
    top = std::min<int64_t>(top, points[i].y), bottom = std::max<int64_t>(bottom, points[i].y);
  }
  if (right - left > ShapeStamps::kLargest || bottom - top > ShapeStamps::kLargest) return false;
  // The shape's box and reach in device pixels.
  const int64_t x0 = (left + m_offset.x()) * r, y0 = (top + m_offset.y()) * r;
  const int64_t x1 = (right + m_offset.x()) * r, y1 = (bottom + m_offset.y()) * r;
  const int device = std::clamp(pen.width, 1, 255) * r;  // DeviceWidth at a whole ratio
  const int64_t reach = device + kEdge;
  if (x0 - reach < 0 || y0 - reach < 0 || x1 + reach >= m_image.width() || y1 + reach >= m_image.height()) return false;

  // Qt draws every shape a stamp stands for alike wherever it lies (CQPainterDC sees to those it
  // would not), but for a small ellipse under a pen that nearly closes it, where CQPainterDC
  // leaves it to Qt.
  if (primitive == ShapeStamps::ellipse) {
    const QRectF box(QPointF(left, top), QPointF(right, bottom));
    if (Closing(Painter(), box) && !ClosingOnOwnPicture(Painter(), box)) return false;
  }
  POINT form[10];
  for (int i = 0; i < count; ++i) form[i] = {int(points[i].x - left), int(points[i].y - top)};
  const CBrush& brush = GetCurrentBrush();
  const bool fills =
      (primitive == ShapeStamps::polygon || primitive == ShapeStamps::ellipse) && brush.fill != CBrush::hollow;
  const bool hatched = brush.fill == CBrush::hatched;
  const int hatch = std::clamp(brush.hatch, 0, 5);
  const hatch_tile::Blocks blocks = hatched && r != 1 ? HatchBlocks(r) : hatch_tile::Blocks{};
  const QPoint origin = m_offset * r;  // where the hatch tiles are laid from
  auto rgb = [](COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); };
  const QRgb ink = rgb(pen.color), inside = rgb(brush.color), white = qRgb(255, 255, 255);
  uchar* const bits = m_image.bits();
  const qsizetype stride = m_image.bytesPerLine();
  const QRect clip(m_clip.topLeft() * r, m_clip.size() * r);
  // Most stamps lie wholly inside the clip, which is then not asked pixel by pixel.
  const bool unclipped =
      clip.contains(QRect(QPoint(int(x0 - reach), int(y0 - reach)), QPoint(int(x1 + reach), int(y1 + reach))));
  for (const ShapeStamps::Run& run : m_stamps.Of(primitive, form, count, pen, r)) {
    if (run.part == ShapeStamps::inside && !fills) continue;
    const int y = int(y0) + run.dy;
    int from = int(x0) + run.dx, to = from + run.length;
    if (!unclipped) {
      if (y < clip.top() || y > clip.bottom()) continue;
      from = std::max(from, clip.left()), to = std::min(to, clip.right() + 1);
    }
    QRgb* const line = reinterpret_cast<QRgb*>(bits + y * stride);
    if (run.part == ShapeStamps::inside && hatched) {
      // A hatch is laid from the painter's origin; its gaps are the white background.
      if (r == 1) {
        const unsigned row = kHatchRows.bits[hatch][unsigned(y - origin.y()) % hatch_tile::kSize];
        for (int x = from; x < to; ++x)
          line[x] = row >> (unsigned(x - origin.x()) % hatch_tile::kSize) & 1 ? inside : white;
      } else
        for (int x = from; x < to; ++x)
          line[x] = hatch_tile::Sets(hatch, x - origin.x(), y - origin.y(), blocks) ? inside : white;
    } else {
      std::fill(line + from, line + std::max(from, to),
                run.part == ShapeStamps::ink   ? ink
                : run.part == ShapeStamps::gap ? white
                                               : inside);
    }
  }
  return true;
}

void StampingDC::Polyline(const POINT* points, int count) {
  if (count < 2 || count > 10 || !Stamp(ShapeStamps::polyline, points, count)) CQPainterDC::Polyline(points, count);
}

void StampingDC::Polygon(const POINT* points, int count) {
  if (count < 2 || count > 10 || !Stamp(ShapeStamps::polygon, points, count)) CQPainterDC::Polygon(points, count);
}

void StampingDC::PolyBezier(const POINT* points, int count) {
  if (count != 4 || !Stamp(ShapeStamps::bezier, points, count)) CQPainterDC::PolyBezier(points, count);
}

void StampingDC::Ellipse(int left, int top, int right, int bottom) {
  const POINT corners[2] = {{left, top}, {right, bottom}};
  if (!Stamp(ShapeStamps::ellipse, corners, 2)) CQPainterDC::Ellipse(left, top, right, bottom);
}
