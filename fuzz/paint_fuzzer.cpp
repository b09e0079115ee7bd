// Builds a small drawing from arbitrary bytes (coordinates anywhere in the 32-bit range, every
// kind, pen and brush), changes it step by step and looks at it through one long-lived
// DrawingRenderer at various zooms, pixel ratios and scroll positions. The kept picture of the
// view must equal the same part of the drawing painted in one piece from its origin, as the
// picture export paints it, pixel for pixel; and the search through the spatial index must find
// what CTavlo's search of every shape finds. A difference aborts, and so does any sanitizer report.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QImage>
#include <QPainter>

#include "fuzz/OffscreenGui.h"
#include "model/CTavlo.h"
#include "model/ShapeCodes.h"
#include "platform/core/CDC.h"
#include "render/DrawingRenderer.h"
#include "tests/support/OnePiece.h"

namespace {

// The one-piece picture is painted from the origin to the far corner of the view: scrolls (in
// device pixels) and views are kept small enough for it. The seeds (make_seeds.py) are written
// for the order in which the bytes are taken here.
constexpr int kFurthestScroll = 2400;
constexpr int kWidestView = 400;

int32_t Moved(int32_t v, int by) { return int32_t(std::clamp<int64_t>(int64_t(v) + by, INT32_MIN, INT32_MAX)); }

int32_t Coordinate(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return in.ConsumeIntegralInRange(-50, 1300);
    case 1: return in.ConsumeIntegralInRange(-4000, 8000);
    case 2: return INT32_MIN + in.ConsumeIntegralInRange(0, 4000);
    case 3: return INT32_MAX - in.ConsumeIntegralInRange(0, 4000);
    case 4: return in.ConsumeIntegralInRange(-70000, 70000);
    default: return in.ConsumeIntegral<int32_t>();
  }
}

CShape Shape(FuzzedDataProvider& in) {
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  CShape s;
  const int pick = in.ConsumeIntegralInRange(0, 5);
  s.SetType(pick < 5 ? kinds[pick] : in.ConsumeIntegralInRange(-1, 8));
  int count = s.GetType() == kLine ? 2 : 4;
  if (in.ConsumeIntegralInRange(0, 7) == 0) count = in.ConsumeIntegralInRange(1, kMaxPoints);
  s.SetPointCount(count);
  for (int i = 0; i < count; ++i) {
    // Often near the point before, so that shapes of every size come out.
    if (i > 0 && in.ConsumeBool()) {
      const int dx = in.ConsumeIntegralInRange(-700, 700), dy = in.ConsumeIntegralInRange(-700, 700);
      s.SetPoint(i, Moved(s.GetPoint(i - 1).x, dx), Moved(s.GetPoint(i - 1).y, dy));
    } else {
      const int32_t x = Coordinate(in);
      s.SetPoint(i, x, Coordinate(in));
    }
  }
  const int32_t x = Coordinate(in);
  s.SetCenter(x, Coordinate(in));
  s.SetPenStyle(in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<int8_t>() : in.ConsumeIntegralInRange(0, 5));
  s.SetPenWidth(in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange(-2, 300)
                                                     : in.ConsumeIntegralInRange(1, 4));
  s.SetPenColor(in.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
  const int brushes[] = {kBrushTransparent, kBrushPaint, kBrushUnset, 0, 1, 2, 3, 4, 5};
  s.SetBrushStyle(in.ConsumeIntegralInRange(0, 15) == 0 ? in.ConsumeIntegral<int16_t>()
                                                        : brushes[in.ConsumeIntegralInRange(0, 8)]);
  s.SetBrushColor(in.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
  return s;
}

void Edit(FuzzedDataProvider& in, CTavlo& drawing) {
  const int size = drawing.GetUpperBound() + 1;
  auto any = [&](int extra) { return in.ConsumeIntegralInRange(0, std::max(0, size - 1 + extra)); };
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: {
      const int at = any(1);
      drawing.InsertShape(at, Shape(in));
      break;
    }
    case 1: drawing.RemoveShape(any(0)); break;
    case 2: {
      const int at = any(0);
      drawing.ReplaceShape(at, Shape(in));
      break;
    }
    case 3: {
      const int from = any(0);
      drawing.MoveShape(from, any(0));
      break;
    }
    case 4: drawing.SetSelected(in.ConsumeIntegralInRange(-1, size)); break;
    default: break;  // the same drawing again, seen otherwise
  }
}

// The drawing on standard error, for the report of a finding.
void Describe(const CTavlo& drawing) {
  std::fprintf(stderr, "zoom %d, selected %d\n", drawing.GetZoom(), drawing.GetSelected());
  for (const CShape& s : drawing.GetShapes()) {
    std::fprintf(stderr, "  type %d, pen %d/%d, brush %d, centre (%d, %d), points", s.GetType(), s.GetPenStyle(),
                 s.GetPenWidth(), s.GetBrushStyle(), s.GetCenter().x, s.GetCenter().y);
    for (int i = 0; i < s.GetPointCount(); ++i) std::fprintf(stderr, " (%d, %d)", s.GetPoint(i).x, s.GetPoint(i).y);
    std::fprintf(stderr, "\n");
  }
}

int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

QImage Kept(DrawingRenderer& renderer, const CTavlo& drawing, QPoint scroll, QSize size, qreal scale) {
  QImage kept(size * scale, QImage::Format_RGB32);
  kept.setDevicePixelRatio(scale);
  kept.fill(Qt::black);
  QPainter painter(&kept);
  renderer.PaintBackground(painter, drawing, scroll, size, scale);
  return kept;
}

void Look(FuzzedDataProvider& in, CTavlo& drawing, DrawingRenderer& renderer) {
  drawing.SetZoom(in.ConsumeBool() ? in.ConsumeIntegralInRange(50, 500) : in.ConsumeIntegralInRange(1, 1000));
  const qreal scale = in.ConsumeBool() ? 2.0 : 1.0;
  const int furthest = int(kFurthestScroll / scale);
  const int x = in.ConsumeIntegralInRange(0, furthest);
  const QPoint scroll(x, in.ConsumeIntegralInRange(0, furthest));
  const int width = in.ConsumeIntegralInRange(1, kWidestView);
  const QSize size(width, in.ConsumeIntegralInRange(1, kWidestView));

  const QImage kept = Kept(renderer, drawing, scroll, size, scale);
  const QImage part = OnePiece(drawing, scroll, size, scale);
  if (kept != part) {
    std::fprintf(stderr, "kept picture differs in %d pixels: zoom %d, scale %g, scroll (%d, %d), view %d x %d\n",
                 Differing(kept, part), drawing.GetZoom(), scale, scroll.x(), scroll.y(), size.width(), size.height());
    Describe(drawing);
    std::abort();
  }
}

void Search(FuzzedDataProvider& in, CTavlo& drawing, DrawingRenderer& renderer) {
  int x = Coordinate(in), y = Coordinate(in);
  // Often near a point of a shape, where something is to be found.
  if (drawing.GetUpperBound() >= 0 && in.ConsumeBool()) {
    const CShape& s = drawing.GetShapes()[in.ConsumeIntegralInRange(0, drawing.GetUpperBound())];
    if (s.GetPointCount() > 0) {
      const CPoint p = s.GetPoint(in.ConsumeIntegralInRange(0, s.GetPointCount() - 1));
      x = Moved(p.x, in.ConsumeIntegralInRange(-8, 8));
      y = Moved(p.y, in.ConsumeIntegralInRange(-8, 8));
    }
  }
  int index = -2, kind = -2, part = -2, fastIndex = -2, fastKind = -2, fastPart = -2;
  const bool found = drawing.FindShapeAt(x, y, index, kind, part);
  const bool fastFound = renderer.FindShapeAt(drawing, x, y, fastIndex, fastKind, fastPart);
  if (found != fastFound || (found && (index != fastIndex || kind != fastKind || part != fastPart))) {
    std::fprintf(stderr, "search at (%d, %d), zoom %d: plain %d (%d, %d, %d), index %d (%d, %d, %d)\n", x, y,
                 drawing.GetZoom(), found, index, kind, part, fastFound, fastIndex, fastKind, fastPart);
    Describe(drawing);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenGui(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CTavlo drawing;
  for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n) drawing.AddShape(Shape(in));
  drawing.SetSelected(in.ConsumeIntegralInRange(-1, drawing.GetUpperBound()));
  DrawingRenderer renderer;
  for (int step = in.ConsumeIntegralInRange(1, 4); step > 0; --step) {
    Look(in, drawing, renderer);
    for (int k = 0; k < 3; ++k) Search(in, drawing, renderer);
    if (in.remaining_bytes() == 0) break;
    Edit(in, drawing);
  }
  return 0;
}
