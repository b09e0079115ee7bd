#include "platform/core/CRecordingDC.h"

#include <cstdio>

namespace {

std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06X", unsigned(c));
  return buf;
}

}  // namespace

std::string CRecordingDC::Name(const CGdiObject* object) {
  if (!object) return "null";
  if (object == &StockBlackPen()) return "BLACK_PEN";
  if (object == &StockWhiteBrush()) return "WHITE_BRUSH";
  if (object == &StockNullBrush()) return "NULL_BRUSH";
  return "#" + std::to_string(object->GetSerial());
}

bool CRecordingDC::Created(bool made, const CGdiObject& object, std::string line) {
  if (made) {
    m_live.insert(object.GetSerial());
    line += " " + Name(&object);
  } else {
    line += " refused";
  }
  m_log.push_back(line);
  return made;
}

bool CRecordingDC::CreatePen(CPen& pen, int style, int width, COLORREF color) {
  return Created(CDC::CreatePen(pen, style, width, color), pen,
                 "CreatePen " + std::to_string(style) + " " + std::to_string(width) + " " + Hex(color));
}

bool CRecordingDC::CreateSolidBrush(CBrush& brush, COLORREF color) {
  return Created(CDC::CreateSolidBrush(brush, color), brush, "CreateSolidBrush " + Hex(color));
}

bool CRecordingDC::CreateHatchBrush(CBrush& brush, int hatch, COLORREF color) {
  return Created(CDC::CreateHatchBrush(brush, hatch, color), brush,
                 "CreateHatchBrush " + std::to_string(hatch) + " " + Hex(color));
}

bool CRecordingDC::DeleteObject(CGdiObject& object) {
  const std::string name = Name(&object);
  const bool freed = CDC::DeleteObject(object);
  if (freed) m_live.erase(object.GetSerial());
  m_log.push_back("DeleteObject " + name + (freed ? "" : " refused"));
  return freed;
}

CGdiObject* CRecordingDC::SelectStockObject(int stock) {
  // Logged as one call, not as the SelectObject it is made of.
  m_inStock = true;
  CGdiObject* previous = CDC::SelectStockObject(stock);
  m_inStock = false;
  m_log.push_back("SelectStockObject " + std::string(stock == NULL_BRUSH ? "NULL_BRUSH" : std::to_string(stock)) +
                  " <- " + Name(previous));
  return previous;
}

CGdiObject* CRecordingDC::SelectGdiObject(CGdiObject* object) {
  CGdiObject* previous = CDC::SelectGdiObject(object);
  if (!m_inStock) m_log.push_back("SelectObject " + Name(object) + " <- " + Name(previous));
  return previous;
}

void CRecordingDC::Points(const char* call, const POINT* points, int count) {
  std::string line = call;
  for (int i = 0; i < count; ++i) line += " " + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
  m_log.push_back(line);
}

void CRecordingDC::Polyline(const POINT* points, int count) { Points("Polyline", points, count); }
void CRecordingDC::Polygon(const POINT* points, int count) { Points("Polygon", points, count); }
void CRecordingDC::PolyBezier(const POINT* points, int count) { Points("PolyBezier", points, count); }

void CRecordingDC::Ellipse(int left, int top, int right, int bottom) {
  m_log.push_back("Ellipse " + std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) + " " +
                  std::to_string(bottom));
}

void CRecordingDC::Rectangle(int left, int top, int right, int bottom) {
  m_log.push_back("Rectangle " + std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) + " " +
                  std::to_string(bottom));
}

void CRecordingDC::MoveTo(int x, int y) {
  CDC::MoveTo(x, y);
  m_log.push_back("MoveTo " + std::to_string(x) + " " + std::to_string(y));
}

void CRecordingDC::LineTo(int x, int y) {
  m_position = CPoint(x, y);
  m_log.push_back("LineTo " + std::to_string(x) + " " + std::to_string(y));
}

std::vector<std::string> CRecordingDC::Calls(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : m_log)
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
  return out;
}

bool CRecordingDC::BackToStart() const {
  return &GetCurrentPen() == &StockBlackPen() && &GetCurrentBrush() == &StockWhiteBrush();
}
