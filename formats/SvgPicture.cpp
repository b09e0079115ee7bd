#include "formats/SvgPicture.h"

#include <algorithm>
#include <set>
#include <utility>

#include <QBuffer>
#include <QString>
#include <QXmlStreamWriter>

#include "model/CTavlo.h"
#include "model/Geometry.h"
#include "platform/core/CDC.h"
#include "platform/qt/HatchTile.h"

namespace {

// What CTavlo::DrawShape makes current for a shape. A pen style the device context does not know
// leaves the stock pen (solid, black, one pixel) current; CQPainterDC draws widths of 1 to 255.
struct Pen {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Fill {
  enum Kind { none, solid, hatched };
  Kind kind = none;
  int hatch = HS_HORIZONTAL;
  COLORREF color = 0;
  friend auto operator<=>(const Fill&, const Fill&) = default;
};

Pen PenOf(const CShape& s) {
  if (s.GetPenStyle() < PS_SOLID || s.GetPenStyle() > PS_NULL) return {};
  return {s.GetPenStyle(), std::clamp(s.GetPenWidth(), 1, 255), s.GetPenColor()};
}

// Lines and curves are drawn with the pen alone. A hatch the device context does not know leaves
// the stock white brush current.
Fill FillOf(const CShape& s) {
  if (s.GetType() == kLine || s.GetType() == kBezier) return {};
  const int style = s.GetBrushStyle();
  if (style == kBrushTransparent) return {};
  if (style == kBrushPaint) return {Fill::solid, HS_HORIZONTAL, s.GetBrushColor()};
  if (style < HS_HORIZONTAL || style > HS_DIAGCROSS) return {Fill::solid, HS_HORIZONTAL, RGB(255, 255, 255)};
  return {Fill::hatched, style, s.GetBrushColor()};
}

QString Colour(COLORREF c) { return QString::asprintf("#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c)); }

QString HatchId(const Fill& f) {
  return QString::asprintf("hatch-%d-%02x%02x%02x", f.hatch, GetRValue(f.color), GetGValue(f.color),
                           GetBValue(f.color));
}

QString Paint(const Fill& f) {
  switch (f.kind) {
    case Fill::none: return QStringLiteral("none");
    case Fill::solid: return Colour(f.color);
    case Fill::hatched: break;
  }
  return QStringLiteral("url(#%1)").arg(HatchId(f));
}

// The lines are written as the pixels Qt sets, so that they come out as sharp as Qt paints them.
constexpr int kHatchTile = hatch_tile::kSize;

QString HatchPixels(int hatch) {
  QString d;
  auto pixel = [&d](int x, int y) { d += QStringLiteral("M%1 %2h1v1h-1z").arg(x).arg(y); };
  const bool falling = hatch_tile::Falling(hatch), rising = hatch_tile::Rising(hatch);
  if (hatch_tile::Across(hatch)) d += QStringLiteral("M0 %1h8v1h-8z").arg(hatch_tile::kRow);
  if (hatch_tile::Down(hatch)) d += QStringLiteral("M%1 0h1v8h-1z").arg(hatch_tile::kColumn);
  for (int i = 0; i < kHatchTile; ++i) {
    if (falling) pixel(i, i);
    if (rising && !(falling && kHatchTile - 1 - i == i)) pixel(kHatchTile - 1 - i, i);
  }
  return d;
}

// Qt's dash patterns, in pen widths: dash, gap, dash, gap...
std::vector<int> DashPattern(int style) {
  switch (style) {
    case PS_DASH: return {4, 2};
    case PS_DOT: return {1, 2};
    case PS_DASHDOT: return {4, 2, 1, 2};
    case PS_DASHDOTDOT: return {4, 2, 1, 2, 1, 2};
    default: return {};
  }
}

QString Number(double v) { return QString::number(v, 'g', 12); }

class Writer {
 public:
  Writer(QXmlStreamWriter& xml, int zoom) : m_xml(xml), m_zoom(zoom) {}

  void Pattern(const Fill& f) {
    m_xml.writeStartElement(QStringLiteral("pattern"));
    m_xml.writeAttribute(QStringLiteral("id"), HatchId(f));
    m_xml.writeAttribute(QStringLiteral("width"), QString::number(kHatchTile));
    m_xml.writeAttribute(QStringLiteral("height"), QString::number(kHatchTile));
    m_xml.writeAttribute(QStringLiteral("patternUnits"), QStringLiteral("userSpaceOnUse"));
    m_xml.writeEmptyElement(QStringLiteral("rect"));
    m_xml.writeAttribute(QStringLiteral("width"), QString::number(kHatchTile));
    m_xml.writeAttribute(QStringLiteral("height"), QString::number(kHatchTile));
    m_xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#ffffff"));
    m_xml.writeEmptyElement(QStringLiteral("path"));
    m_xml.writeAttribute(QStringLiteral("d"), HatchPixels(f.hatch));
    m_xml.writeAttribute(QStringLiteral("fill"), Colour(f.color));
    m_xml.writeEndElement();
  }

  void Shape(int index, const CShape& s) {
    if (!Load(s)) return;
    const Pen pen = PenOf(s);
    Fill fill = FillOf(s);
    m_xml.writeStartElement(QStringLiteral("g"));
    m_xml.writeAttribute(QStringLiteral("id"), QStringLiteral("shape-%1").arg(index));
    // A pattern is laid from the origin of the element's own coordinates, which the half-pixel
    // move of a thin pen would shift: such a fill is an element of its own.
    if (fill.kind != Fill::none && (pen.style == PS_NULL || fill.kind == Fill::hatched)) {
      Element({{QStringLiteral("fill"), Paint(fill)}});
      fill = {};
    }
    if (pen.style != PS_NULL) {
      const std::vector<int> dashes = DashPattern(pen.style);
      if (dashes.empty()) {
        Stroke(pen, fill, pen.color, {});
      } else {
        // Qt paints the gaps of a dashed pen in the white background colour.
        Stroke(pen, fill, RGB(255, 255, 255), {});
        Stroke(pen, {}, pen.color, dashes);
      }
    }
    m_xml.writeEndElement();
  }

 private:
  using Attributes = std::vector<std::pair<QString, QString>>;

  // The points at the zoom, and whether there is anything to draw; the same tests as the device
  // context's.
  bool Load(const CShape& s) {
    m_kind = s.GetType();
    m_count = s.GetPointCount();
    for (int i = 0; i < m_count; ++i)
      m_points[i] = CPoint(geometry::Zoom(s.GetPoint(i).x, m_zoom), geometry::Zoom(s.GetPoint(i).y, m_zoom));
    switch (m_kind) {
      case kLine:
      case kRectangle:
      case kPolygonRect:
      case kClosedOutline: return m_count >= 2;
      case kBezier: return m_count >= 4 && (m_count - 1) % 3 == 0;
      case kEllipse: return m_count >= 3;
      default: return false;
    }
  }

  QString Points() const {
    QString text;
    for (int i = 0; i < m_count; ++i) {
      if (i > 0) text += QLatin1Char(' ');
      text += QStringLiteral("%1,%2").arg(m_points[i].x).arg(m_points[i].y);
    }
    return text;
  }

  void Element(const Attributes& attributes) {
    switch (m_kind) {
      case kLine:
        if (m_count == 2) {
          m_xml.writeEmptyElement(QStringLiteral("line"));
          m_xml.writeAttribute(QStringLiteral("x1"), QString::number(m_points[0].x));
          m_xml.writeAttribute(QStringLiteral("y1"), QString::number(m_points[0].y));
          m_xml.writeAttribute(QStringLiteral("x2"), QString::number(m_points[1].x));
          m_xml.writeAttribute(QStringLiteral("y2"), QString::number(m_points[1].y));
        } else {
          m_xml.writeEmptyElement(QStringLiteral("polyline"));
          m_xml.writeAttribute(QStringLiteral("points"), Points());
        }
        break;
      case kBezier: {
        QString d = QStringLiteral("M%1,%2 C").arg(m_points[0].x).arg(m_points[0].y);
        for (int i = 1; i < m_count; ++i) d += QStringLiteral(" %1,%2").arg(m_points[i].x).arg(m_points[i].y);
        m_xml.writeEmptyElement(QStringLiteral("path"));
        m_xml.writeAttribute(QStringLiteral("d"), d);
        break;
      }
      case kEllipse: {
        // The box from one corner to the other, both included, as the device context takes it.
        const double l = std::min(m_points[0].x, m_points[2].x), r = std::max(m_points[0].x, m_points[2].x);
        const double t = std::min(m_points[0].y, m_points[2].y), b = std::max(m_points[0].y, m_points[2].y);
        m_xml.writeEmptyElement(QStringLiteral("ellipse"));
        m_xml.writeAttribute(QStringLiteral("cx"), Number((l + r) / 2));
        m_xml.writeAttribute(QStringLiteral("cy"), Number((t + b) / 2));
        m_xml.writeAttribute(QStringLiteral("rx"), Number((r - l) / 2));
        m_xml.writeAttribute(QStringLiteral("ry"), Number((b - t) / 2));
        break;
      }
      default:
        m_xml.writeEmptyElement(QStringLiteral("polygon"));
        m_xml.writeAttribute(QStringLiteral("points"), Points());
        break;
    }
    for (const auto& [name, value] : attributes) m_xml.writeAttribute(name, value);
  }

  // Drawn without smoothing, a stroke sets the pixels whose centres it covers. Qt draws a one-pixel
  // pen along the pixels to the right of and below the points: that stroke is moved half a pixel,
  // onto their centres, and covers the corners between its pieces. Wider pens lie about the points
  // as they are, with round ends and joins. Dashes are counted in pen widths.
  void Stroke(const Pen& pen, const Fill& fill, COLORREF colour, const std::vector<int>& dashes) {
    Attributes a{{QStringLiteral("fill"), Paint(fill)},
                 {QStringLiteral("stroke"), Colour(colour)},
                 {QStringLiteral("stroke-width"), QString::number(pen.width)}};
    if (pen.width == 1) a.emplace_back(QStringLiteral("transform"), QStringLiteral("translate(.5 .5)"));
    const bool thin = pen.width == 1;
    a.emplace_back(QStringLiteral("stroke-linecap"), thin ? QStringLiteral("butt") : QStringLiteral("round"));
    a.emplace_back(QStringLiteral("stroke-linejoin"), thin ? QStringLiteral("miter") : QStringLiteral("round"));
    if (!dashes.empty()) {
      QString list;
      for (size_t i = 0; i < dashes.size(); ++i)
        list += (i > 0 ? QStringLiteral(",") : QString()) + QString::number(dashes[i] * pen.width);
      a.emplace_back(QStringLiteral("stroke-dasharray"), list);
    }
    Element(a);
  }

  QXmlStreamWriter& m_xml;
  const int m_zoom;
  int m_kind = 0;
  int m_count = 0;
  CPoint m_points[kMaxPoints];
};

}  // namespace

QByteArray SvgPicture::Write(const CTavlo& drawing, int zoom, const std::vector<int>& order, QSize size) {
  QBuffer text;
  text.open(QIODevice::WriteOnly);
  QXmlStreamWriter xml(&text);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(0);
  xml.writeStartDocument();
  xml.writeStartElement(QStringLiteral("svg"));
  xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
  const QString w = QString::number(size.width()), h = QString::number(size.height());
  xml.writeAttribute(QStringLiteral("width"), w);
  xml.writeAttribute(QStringLiteral("height"), h);
  xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(w, h));
  // Polygons are filled odd-even, as the editor fills them. The editor paints without smoothing:
  // smoothed edges would grey the pixels along every slanted line and curve.
  xml.writeAttribute(QStringLiteral("fill-rule"), QStringLiteral("evenodd"));
  xml.writeAttribute(QStringLiteral("shape-rendering"), QStringLiteral("crispEdges"));
  xml.writeTextElement(QStringLiteral("title"), QStringLiteral("Quirra drawing"));

  const CShapeArray& shapes = drawing.GetShapes();
  std::set<Fill> hatches;
  for (const int i : order)
    if (const Fill f = FillOf(shapes[i]); f.kind == Fill::hatched) hatches.insert(f);
  Writer writer(xml, zoom);
  if (!hatches.empty()) {
    xml.writeStartElement(QStringLiteral("defs"));
    for (const Fill& f : hatches) writer.Pattern(f);
    xml.writeEndElement();
  }

  xml.writeEmptyElement(QStringLiteral("rect"));
  xml.writeAttribute(QStringLiteral("width"), w);
  xml.writeAttribute(QStringLiteral("height"), h);
  xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#ffffff"));
  for (const int i : order) writer.Shape(i, shapes[i]);
  xml.writeEndElement();
  xml.writeEndDocument();
  return text.data();
}
