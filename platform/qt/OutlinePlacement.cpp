#include "platform/qt/OutlinePlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QPaintEngine>
#include <QPainter>

bool OutlinePlacement::Of(const QPainter& painter, OutlinePlacement& place) {
  const QPaintEngine* engine = painter.isActive() ? painter.paintEngine() : nullptr;
  if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()) return false;
  const QTransform t = painter.deviceTransform();
  if (t.type() > QTransform::TxScale || t.m11() != t.m22() || t.m11() <= 0) return false;
  if (t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) return false;
  place.scale = t.m11();
  place.shift = QPointF(t.dx(), t.dy());
  place.picture = QRectF(0, 0, engine->paintDevice()->width(), engine->paintDevice()->height());
  place.painted = painter.hasClipping() ? t.mapRect(painter.clipBoundingRect()) & place.picture : place.picture;
  return true;
}

bool OutlinePlacement::Within(const QRectF& box, const QRectF& area) {
  return box.left() >= area.left() && box.right() <= area.right() && box.top() >= area.top() &&
         box.bottom() <= area.bottom();
}

QPointF OutlinePlacement::OnGrid(QPointF p, double scale) {
  return QPointF(std::round(p.x() * scale * 64) / 64 / scale, std::round(p.y() * scale * 64) / 64 / scale);
}

std::vector<OutlinePlacement::Piece> OutlinePlacement::Pieces(QPointF a, QPointF b, const QRectF& shows, int piece) {
  const bool wide = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
  auto major = [&](QPointF p) { return wide ? p.x() : p.y(); };
  auto minor = [&](QPointF p) { return wide ? p.y() : p.x(); };
  const double start = major(a), end = major(b), d = end - start;
  std::vector<Piece> pieces;
  const double low = std::min(start, end), high = std::max(start, end);
  const double seenLow = std::max(low, wide ? shows.left() : shows.top());
  const double seenHigh = std::min(high, wide ? shows.right() : shows.bottom());
  if (d == 0 || seenLow > seenHigh) return pieces;
  auto at = [&](double m) {
    if (m == start) return a;
    if (m == end) return b;
    const double across = std::round((minor(a) + (m - start) * (minor(b) - minor(a)) / d) * 64) / 64;
    return wide ? QPointF(m, across) : QPointF(across, m);
  };
  for (int64_t k = int64_t(std::floor(seenLow / piece)); k * piece <= seenHigh; ++k) {
    const double m0 = std::max(low, double(k * piece)), m1 = std::min(high, double((k + 1) * piece));
    if (m0 >= m1) continue;
    pieces.push_back(d > 0 ? Piece{at(m0), at(m1)} : Piece{at(m1), at(m0)});
  }
  if (d < 0) std::reverse(pieces.begin(), pieces.end());
  return pieces;
}
