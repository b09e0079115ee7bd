#include "platform/qt/OutlinePlacement.h"

#include <cmath>

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
