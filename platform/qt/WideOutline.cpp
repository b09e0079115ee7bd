#include "platform/qt/WideOutline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <QPainter>

#include "platform/qt/OutlinePlacement.h"

namespace {

using Way = OnePixelOutline::Way;

bool Wide(const QPen& pen) { return pen.style() != Qt::NoPen && pen.isCosmetic() && pen.widthF() > 1; }

// Lays the pen's pattern (on, off, on, ... in device pixels; empty for a solid pen) along the
// lines `points` (device pixels from the zoomed drawing's origin) and returns each dash that may
// show in `shows` as a line of its own. Only the pieces between multiples of kPiece along a
// line's longer axis that reach `shows` are visited, so a line of any length costs what shows of
// it; and where a dash starts, ends or is cut depends on the lines alone.
class Dashes {
 public:
  Dashes(std::vector<double> pattern, double offset, QRectF shows)
      : m_pattern(std::move(pattern)), m_offset(offset), m_shows(shows) {
    for (const double d : m_pattern) m_period += d;
  }

  std::vector<QPolygonF> Along(const QPolygonF& points, bool closed) {
    const int n = int(points.size()), lines = closed ? n : n - 1;
    double along = 0;
    for (int i = 0; i < lines; ++i) {
      const QPointF a = points[i], b = points[(i + 1) % n];
      const double length = QLineF(a, b).length();
      Line(a, b, along, length);
      along += length;
    }
    Close();
    return std::move(m_runs);
  }

 private:
  void Line(QPointF a, QPointF b, double along, double length) {
    const bool wide = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
    auto major = [&](QPointF p) { return wide ? p.x() : p.y(); };
    const double start = major(a), end = major(b), d = end - start;
    if (d == 0) return;
    const std::vector<OutlinePlacement::Piece> pieces =
        OutlinePlacement::Pieces(a, b, m_shows, OnePixelOutline::kPiece);
    // A dash goes on across pieces only where they meet.
    if (pieces.empty() || major(pieces.front().from) != start) Close();
    for (const auto& [p, q] : pieces) {
      if (std::max(p.x(), q.x()) < m_shows.left() || std::min(p.x(), q.x()) > m_shows.right() ||
          std::max(p.y(), q.y()) < m_shows.top() || std::min(p.y(), q.y()) > m_shows.bottom()) {
        Close();
        continue;
      }
      Piece(p, q, along + length * (major(p) - start) / d, along + length * (major(q) - start) / d);
    }
    if (!pieces.empty() && major(pieces.back().to) != end) Close();
  }

  // The dashes from p (`from` along the outline) to q (`to`).
  void Piece(QPointF p, QPointF q, double from, double to) {
    auto point = [&](double v) {
      if (v == from) return p;
      if (v == to) return q;
      return OutlinePlacement::OnGrid(p + (q - p) * ((v - from) / (to - from)), 1);
    };
    if (m_pattern.empty() || m_period <= 0) return Dash(p, q, true, true);
    // The dashes that reach [from, to]: the nth pattern starts at n * period - offset.
    for (double n = std::floor((from + m_offset) / m_period); n * m_period - m_offset < to; ++n) {
      double on = n * m_period - m_offset;
      for (size_t j = 0; j < m_pattern.size(); on += m_pattern[j], ++j) {
        if (j % 2 == 1) continue;
        const double v0 = std::max(on, from), v1 = std::min(on + m_pattern[j], to);
        if (v1 > v0) Dash(point(v0), point(v1), v0 == from, v1 == to);
      }
    }
  }

  // A dash from p to q: it goes on from the last one when it starts where that one was cut, and
  // goes on into the next piece when it reaches this one's end.
  void Dash(QPointF p, QPointF q, bool fromStart, bool toEnd) {
    if (!(m_open && fromStart && !m_run.isEmpty() && m_run.back() == p)) {
      Close();
      m_run << p;
    }
    m_run << q;
    m_open = toEnd;
    if (!toEnd) Close();
  }

  void Close() {
    if (!m_run.isEmpty()) m_runs.push_back(m_run);
    m_run.clear();
    m_open = false;
  }

  const std::vector<double> m_pattern;
  const double m_offset;
  const QRectF m_shows;
  double m_period = 0;
  QPolygonF m_run;
  bool m_open = false;
  std::vector<QPolygonF> m_runs;
};

}  // namespace

Way WideOutline::Choose(const QPainter& painter, const QRectF& box) {
  const QPen& pen = painter.pen();
  if (!Wide(pen)) return Way::qt;
  // Most outlines are solid and lie well within kFar at any pixel ratio a screen has (up to 16):
  // they are Qt's, without the cost of asking where the painter paints, shape after shape.
  constexpr double kNear = kFar / 16;
  if (pen.style() == Qt::SolidLine && box.left() > -kNear && box.top() > -kNear && box.right() < kNear &&
      box.bottom() < kNear)
    return Way::qt;
  OutlinePlacement place;
  if (!OutlinePlacement::Of(painter, place)) return Way::qt;
  const QRectF zoomed(box.topLeft() * place.scale, box.size() * place.scale);
  if (zoomed.left() < -kFar || zoomed.top() < -kFar || zoomed.right() > kFar || zoomed.bottom() > kFar)
    return Way::pieces;
  if (pen.style() == Qt::SolidLine) return Way::qt;
  if (zoomed.width() > OnePixelOutline::kSmall || zoomed.height() > OnePixelOutline::kSmall) return Way::pieces;
  if (zoomed.width() <= kPlaceFree && zoomed.height() <= kPlaceFree) return Way::ownPicture;
  // Qt lays dashes from where it cuts an outline that leaves the picture by about a pen's width.
  const double room = pen.widthF() + 2;
  const QRectF device = zoomed.translated(place.shift).adjusted(-room, -room, room, room);
  return OutlinePlacement::Within(device, place.picture) ? Way::qt : Way::ownPicture;
}

void WideOutline::InPieces(QPainter& painter, OnePixelOutline& own, const QPolygonF& points, bool closed) {
  const QPen pen = painter.pen();
  OutlinePlacement place;
  if (!Wide(pen) || points.size() < 2 || !OutlinePlacement::Of(painter, place))
    return closed ? painter.drawPolygon(points) : painter.drawPolyline(points);
  QPolygonF device(points.size());
  for (qsizetype i = 0; i < points.size(); ++i) device[i] = points[i] * place.scale;
  // Where a dash is cut, its cap and the rounding of its end stay outside the painted part.
  const double room = pen.widthF() / 2 + 3;
  const QRectF shows = place.painted.translated(-place.shift).adjusted(-room, -room, room, room);
  const bool dashed = pen.style() != Qt::SolidLine;
  std::vector<double> pattern;
  if (dashed)
    for (const qreal dash : pen.dashPattern()) pattern.push_back(std::max(0.0, dash) * pen.widthF());

  const bool opaque = painter.backgroundMode() == Qt::OpaqueMode;
  painter.save();
  painter.setBrush(Qt::NoBrush);
  painter.setBackgroundMode(Qt::TransparentMode);
  auto draw = [&](const std::vector<QPolygonF>& runs, const QColor& colour) {
    QPen solid = pen;
    solid.setStyle(Qt::SolidLine);
    solid.setColor(colour);
    painter.setPen(solid);
    // Each on a picture of its own: Qt strokes in device pixels, where a point moved by whole
    // pixels may round otherwise; on its own picture a dash has the same coordinates wherever the
    // painter's picture lies.
    for (const QPolygonF& run : runs) {
      QPolygonF units(run.size());
      for (qsizetype i = 0; i < run.size(); ++i) units[i] = run[i] / place.scale;
      own.OnOwnPicture(painter, units.boundingRect(), [&](QPainter& p) { p.drawPolyline(units); });
    }
  };
  // As Qt draws a dashed outline on an opaque background: all of it in the background's colour,
  // then the dashes.
  if (dashed && opaque) draw(Dashes({}, 0, shows).Along(device, closed), painter.background().color());
  draw(Dashes(pattern, pen.dashOffset() * pen.widthF(), shows).Along(device, closed), pen.color());
  painter.restore();
}
