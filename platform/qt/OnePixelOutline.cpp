#include "platform/qt/OnePixelOutline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QPaintEngine>
#include <QPainter>

#include "platform/qt/OutlinePlacement.h"

namespace {

// How far beyond the picture's edge (device pixels) a point may lie before Qt cuts a line there.
constexpr double kUncut = 1;

// A one-pixel pen's placement; any other pen is drawn by Qt.
bool Place(const QPainter& painter, OutlinePlacement& place) {
  const QPen& pen = painter.pen();
  if (pen.style() == Qt::NoPen || !pen.isCosmetic() || pen.widthF() > 1) return false;
  return OutlinePlacement::Of(painter, place);
}

// The length of a one-pixel pen's dash pattern as Qt counts it, in 64ths of a device pixel.
int64_t PatternLength(const QPen& pen) {
  int64_t length = 0;
  for (const qreal dash : pen.dashPattern()) length += int64_t(std::clamp(dash * 64, 1.0, 65536.0));
  return std::max<int64_t>(length, 1);
}

// The first pixel, along the longer axis, that Qt sets of a line starting at `start` (64ths of a
// pixel) and running up (`up`) or down that axis, with a cap at its start or not.
int64_t FirstPixel(int64_t start, bool up, bool cap) {
  const int64_t from = up ? start - (cap ? 32 : 0) + 32 : start + (cap ? 32 : 0) + 32;
  return int64_t(std::floor(double(from) / 64)) - (up ? 0 : 1);
}

// About how long a chord of a curve is, in device pixels, and how many a curve has at most.
constexpr double kChord = 8;
constexpr int kMostChords = 1 << 16;

int Chords(double length, int fewest) {
  return int(std::clamp(std::ceil(length / kChord), double(fewest), double(kMostChords)));
}

}  // namespace

QPolygonF OnePixelOutline::Curves(const QPainter& painter, const QPolygonF& points) {
  const double scale = painter.deviceTransform().m11();
  QPolygonF lines{points[0]};
  for (int i = 1; i + 2 < points.size(); i += 3) {
    const QPointF p0 = points[i - 1], p1 = points[i], p2 = points[i + 1], p3 = points[i + 2];
    const double length = QLineF(p0, p1).length() + QLineF(p1, p2).length() + QLineF(p2, p3).length();
    const int chords = Chords(length * scale, 8);
    for (int k = 1; k < chords; ++k) {
      const double t = double(k) / chords, u = 1 - t;
      lines << OutlinePlacement::OnGrid(u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3,
                                        scale);
    }
    lines << p3;
  }
  return lines;
}

QPolygonF OnePixelOutline::EllipseLines(const QPainter& painter, const QRectF& box) {
  const double scale = painter.deviceTransform().m11();
  const QPointF centre = box.center();
  const double rx = box.width() / 2, ry = box.height() / 2;
  const int chords = Chords(M_PI * (rx + ry) * scale, 32);
  QPolygonF lines;
  for (int k = 0; k < chords; ++k) {
    const double angle = 2 * M_PI * k / chords;
    lines << OutlinePlacement::OnGrid(centre + QPointF(rx * std::cos(angle), ry * std::sin(angle)), scale);
  }
  return lines;
}

OnePixelOutline::Way OnePixelOutline::Choose(const QPainter& painter, const QRectF& box) {
  OutlinePlacement place;
  if (!Place(painter, place)) return Way::qt;
  const QRectF device(box.topLeft() * place.scale + place.shift, box.size() * place.scale);
  if (device.width() > kSmall || device.height() > kSmall) return Way::pieces;
  const QRectF uncut = place.picture.adjusted(-kUncut, -kUncut, kUncut, kUncut);
  return OutlinePlacement::Within(device, uncut) ? Way::qt : Way::ownPicture;
}

void OnePixelOutline::OnOwnPicture(QPainter& painter, const QRectF& box, const std::function<void(QPainter&)>& draw,
                                   bool inside) {
  OutlinePlacement place;
  if (!OutlinePlacement::Of(painter, place)) return draw(painter);
  // Room for the caps and the rounding of the ends.
  const double pen = painter.pen().widthF(), room = 3 + (pen > 1 ? std::ceil(pen / 2) : 0);
  const QRectF device =
      QRectF(box.topLeft() * place.scale + place.shift, box.size() * place.scale).adjusted(-room, -room, room, room);
  if (!device.intersects(place.painted)) return;
  const QRect own(QPoint(int(std::floor(device.left())), int(std::floor(device.top()))),
                  QPoint(int(std::ceil(device.right())), int(std::ceil(device.bottom()))));
  // One picture, grown as needed and kept with its painter: a picture and a painter for each
  // outline cost more than a small outline does. Only the part of it the outline is drawn in is
  // cleared and laid over the target.
  if (m_own.width() < own.width() || m_own.height() < own.height() || m_own.devicePixelRatio() != place.scale) {
    m_ownPainter.reset();
    const QSize size = m_own.devicePixelRatio() == place.scale ? m_own.size().expandedTo(own.size()) : own.size();
    m_own = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_own.setDevicePixelRatio(place.scale);
    m_ownPainter = std::make_unique<QPainter>(&m_own);
    m_ownPainter->setRenderHint(QPainter::Antialiasing, false);
  }
  for (int y = 0; y < own.height(); ++y) std::memset(m_own.scanLine(y), 0, 4 * size_t(own.width()));
  QPainter& p = *m_ownPainter;
  p.setBackgroundMode(painter.backgroundMode());
  p.setBackground(painter.background());
  p.setPen(painter.pen());
  p.setBrush(inside ? painter.brush() : QBrush(Qt::NoBrush));
  // The same units from the origin on both pictures, so a hatch lies as it does on the painter's.
  if (inside) p.setBrushOrigin(painter.brushOrigin());
  // A whole number of device pixels from where the painter draws it.
  p.setWorldTransform(QTransform::fromTranslate((place.shift.x() - own.left()) / place.scale,
                                                (place.shift.y() - own.top()) / place.scale));
  draw(p);
  // Every colour drawn is opaque: a pixel of the own picture is either untouched or the one to show.
  painter.drawImage((QPointF(own.topLeft()) - place.shift) / place.scale, m_own, QRectF(QPointF(0, 0), own.size()));
}

void OnePixelOutline::InPieces(QPainter& painter, const QPolygonF& points, bool closed) {
  OutlinePlacement place;
  if (!Place(painter, place)) return closed ? painter.drawPolygon(points) : painter.drawPolyline(points);
  struct Piece {
    QPointF from, to;  // device pixels from the zoomed drawing's origin
    int64_t phase;     // the dash offset, 64ths of a pixel
    bool capped;
  };
  std::vector<Piece> pieces;
  const QPen pen = painter.pen();
  const int64_t length = PatternLength(pen);
  // The part of the zoomed drawing that can show, with room for caps.
  const QRectF shows = place.painted.translated(-place.shift).adjusted(-2, -2, 2, 2);
  int64_t phase = int64_t(std::llround(pen.dashOffset() * 64)) % length;
  const int n = int(points.size()), lines = closed ? n : n - 1;
  for (int i = 0; i < lines; ++i) {
    const QPointF a = points[i] * place.scale, b = points[(i + 1) % n] * place.scale;
    const bool wide = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
    auto major = [&](QPointF p) { return wide ? p.x() : p.y(); };
    const double start = major(a), end = major(b), d = end - start;
    const bool up = d > 0, capStart = !closed && i == 0, capEnd = !closed && i == lines - 1;
    const int64_t first = FirstPixel(std::llround(start * 64), up, capStart);
    for (const auto& [p, q] : OutlinePlacement::Pieces(a, b, shows, kPiece)) {
      if (!QRectF(p, q).normalized().adjusted(-1, -1, 1, 1).intersects(shows)) continue;
      const bool capped = (capStart && major(p) == start) || (capEnd && major(q) == end);
      const int64_t along = FirstPixel(std::llround(major(p) * 64), up, capped) - first;
      pieces.push_back({p, q, (phase + 64 * (std::abs(along) % length)) % length, capped});
    }
    phase = (phase + 64 * (int64_t(std::llround(std::abs(d))) % length)) % length;
  }

  const QRectF uncut = place.picture.adjusted(-kUncut, -kUncut, kUncut, kUncut);
  auto draw = [&](const Piece& piece, QPen drawn) {
    drawn.setCapStyle(piece.capped ? Qt::RoundCap : Qt::FlatCap);
    painter.setPen(drawn);
    const QLineF line(piece.from / place.scale, piece.to / place.scale);
    if (OutlinePlacement::Within(QRectF(piece.from + place.shift, piece.to + place.shift).normalized(), uncut))
      painter.drawLine(line);
    else
      OnOwnPicture(painter, QRectF(line.p1(), line.p2()).normalized(), [&](QPainter& p) { p.drawLine(line); });
  };
  painter.save();
  painter.setBrush(Qt::NoBrush);
  // As Qt draws a dashed outline on an opaque background: all of it in the background's colour,
  // then the dashes.
  const bool dashed = pen.style() != Qt::SolidLine;
  const bool opaque = painter.backgroundMode() == Qt::OpaqueMode;
  painter.setBackgroundMode(Qt::TransparentMode);
  if (dashed && opaque) {
    QPen under = pen;
    under.setStyle(Qt::SolidLine);
    under.setColor(painter.background().color());
    for (const Piece& piece : pieces) draw(piece, under);
  }
  for (const Piece& piece : pieces) {
    QPen over = pen;
    if (dashed) over.setDashOffset(double(piece.phase) / 64);
    draw(piece, over);
  }
  painter.restore();
}
