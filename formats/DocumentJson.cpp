#include "formats/DocumentJson.h"

#include "model/DocumentFileContent.h"

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

bool WriteDocumentJson(const DocumentFileContent& doc, const std::function<bool(const std::string&)>& write) {
  // Handed on in blocks, so that the text of a large drawing is never held whole.
  constexpr size_t kBlock = 64 * 1024;
  std::string out = "{";
  Field(out, "selected", doc.drawing.GetSelected());
  out += ',';
  Field(out, "hitMode", doc.hitMode);
  out += ',';
  Field(out, "hitPart", doc.hitPart);
  out += ",\"shapes\":[";
  bool first = true;
  for (const CShape& s : doc.drawing.GetShapes()) {
    if (out.size() >= kBlock) {
      if (!write(out)) return false;
      out.clear();
    }
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
  out += "]}\n";
  return write(out);
}

std::string DocumentJson(const DocumentFileContent& doc) {
  std::string text;
  WriteDocumentJson(doc, [&text](const std::string& block) {
    text += block;
    return true;
  });
  text.pop_back();  // the line's end
  return text;
}

bool LooksLikeJson(const QByteArray& start) {
  const QByteArray trimmed = start.trimmed();
  return trimmed.startsWith('{');
}
