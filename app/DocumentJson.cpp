#include "app/DocumentJson.h"

#include <cmath>
#include <limits>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"

namespace {

void Field(std::string& out, const char* key, long long value) {
  out += '"';
  out += key;
  out += "\":";
  out += std::to_string(value);
}

void Pair(std::string& out, CPoint p) {
  out += '[';
  out += std::to_string(p.x);
  out += ',';
  out += std::to_string(p.y);
  out += ']';
}

}  // namespace

std::string DocumentJson(const DocumentFileContent& doc) {
  std::string out = "{";
  Field(out, "selected", doc.drawing.GetSelected());
  out += ',';
  Field(out, "hitMode", doc.hitMode);
  out += ',';
  Field(out, "hitPart", doc.hitPart);
  out += ",\"shapes\":[";
  bool first = true;
  for (const CShape& s : doc.drawing.GetShapes()) {
    if (!first) out += ',';
    first = false;
    out += "{";
    Field(out, "type", s.GetType());
    out += ",\"center\":";
    Pair(out, s.GetCenter());
    out += ',';
    Field(out, "penColor", s.GetPenColor());
    out += ',';
    Field(out, "brushColor", s.GetBrushColor());
    out += ',';
    Field(out, "penWidth", s.GetPenWidth());
    out += ',';
    Field(out, "penStyle", s.GetPenStyle());
    out += ',';
    Field(out, "brushStyle", s.GetBrushStyle());
    out += ",\"points\":[";
    for (int i = 0; i < s.GetPointCount(); ++i) {
      if (i > 0) out += ',';
      Pair(out, s.GetPoint(i));
    }
    out += "]}";
  }
  out += "]}";
  return out;
}

namespace {

// A reason to refuse the text, with where it lies.
struct Refusal {
  QString reason;
};

// An integer of 32 bits: signed, or for colours unsigned.
int64_t Integer(const QJsonObject& object, const char* key, int64_t fallback, const QString& where,
                bool unsignedValue = false) {
  const QJsonValue v = object.value(QLatin1String(key));
  if (v.isUndefined()) return fallback;
  const int64_t low = unsignedValue ? 0 : std::numeric_limits<int32_t>::min();
  const int64_t high = unsignedValue ? std::numeric_limits<uint32_t>::max() : std::numeric_limits<int32_t>::max();
  if (!v.isDouble() || std::trunc(v.toDouble()) != v.toDouble())
    throw Refusal{QStringLiteral("%1\"%2\" must be a whole number").arg(where, QLatin1String(key))};
  if (v.toDouble() < double(low) || v.toDouble() > double(high))
    throw Refusal{
        QStringLiteral("%1\"%2\" is %3, beyond 32 bits").arg(where, QLatin1String(key)).arg(v.toDouble(), 0, 'f', 0)};
  return int64_t(v.toDouble());
}

CPoint Point(const QJsonValue& v, const QString& what) {
  const QJsonArray pair = v.toArray();
  if (!v.isArray() || pair.size() != 2) throw Refusal{QStringLiteral("%1 must be a pair of numbers [x, y]").arg(what)};
  QJsonObject xy{{QStringLiteral("x"), pair[0]}, {QStringLiteral("y"), pair[1]}};
  return CPoint(int32_t(Integer(xy, "x", 0, what + QLatin1Char(' '))),
                int32_t(Integer(xy, "y", 0, what + QLatin1Char(' '))));
}

QJsonObject ObjectOf(const QJsonValue& v, const QString& what) {
  if (!v.isObject()) throw Refusal{QStringLiteral("%1 must be an object").arg(what)};
  return v.toObject();
}

// The document file that holds what the JSON says, so that loading it applies every check a file
// gets.
std::string FileBytes(const QJsonObject& root) {
  CTavlo drawing;
  const QJsonValue shapes = root.value(QStringLiteral("shapes"));
  if (!shapes.isUndefined() && !shapes.isArray()) throw Refusal{QStringLiteral("\"shapes\" must be a list")};
  const QJsonArray list = shapes.toArray();
  CShapeArray records;
  records.SetSize(int(list.size()));
  for (qsizetype i = 0; i < list.size(); ++i) {
    const QString where = QStringLiteral("shape %1: ").arg(i + 1);
    const QJsonObject o = ObjectOf(list[i], QStringLiteral("shape %1").arg(i + 1));
    CShape& s = records.ElementAt(int(i));
    s.SetType(int(Integer(o, "type", 0, where)));
    if (o.contains(QStringLiteral("center"))) {
      const CPoint c = Point(o.value(QStringLiteral("center")), where + QStringLiteral("\"center\""));
      s.SetCenter(c.x, c.y);
    }
    s.SetPenColor(COLORREF(Integer(o, "penColor", 0, where, true)));
    s.SetBrushColor(COLORREF(Integer(o, "brushColor", 0, where, true)));
    s.SetPenWidth(int(Integer(o, "penWidth", 1, where)));
    s.SetPenStyle(int(Integer(o, "penStyle", 0, where)));
    s.SetBrushStyle(int(Integer(o, "brushStyle", kBrushUnset, where)));
    const QJsonValue points = o.value(QStringLiteral("points"));
    if (!points.isUndefined() && !points.isArray()) throw Refusal{where + QStringLiteral("\"points\" must be a list")};
    const QJsonArray pts = points.toArray();
    if (pts.size() > kMaxPoints)
      throw Refusal{where + QStringLiteral("it has %1 points; a shape has at most %2").arg(pts.size()).arg(kMaxPoints)};
    for (qsizetype k = 0; k < pts.size(); ++k) {
      const CPoint p = Point(pts[k], where + QStringLiteral("point %1").arg(k + 1));
      s.SetPoint(int(k), p.x, p.y);
    }
    s.SetPointCount(int(pts.size()));
  }
  std::stringbuf bytes;
  CArchive ar(bytes, CArchive::store);
  ar << int32_t(Integer(root, "selected", -1, QString()));
  records.Serialize(ar);
  ar << int32_t(Integer(root, "hitMode", HIT_NONE, QString())) << int32_t(Integer(root, "hitPart", -1, QString()));
  ar.Close();
  return bytes.str();
}

}  // namespace

bool LooksLikeJson(const QByteArray& start) {
  const QByteArray trimmed = start.trimmed();
  return trimmed.startsWith('{');
}

QString ReadDocumentJson(const QByteArray& text, DocumentFileContent& doc) {
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError) {
    const QByteArray before = text.left(error.offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
    return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(error.errorString());
  }
  if (!json.isObject()) return QStringLiteral("the JSON is no object");
  try {
    std::stringbuf bytes(FileBytes(json.object()));
    DocumentFileContent read;
    CArchive ar(bytes, CArchive::load);
    read.Serialize(ar);
    doc = std::move(read);
  } catch (const Refusal& r) {
    return r.reason;
  } catch (const CArchiveException& e) {
    return QString::fromStdString(e.what());
  }
  return QString();
}
