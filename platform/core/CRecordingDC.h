#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/core/CDC.h"

// A device context that draws nothing and writes down every call, for checking how a picture is
// produced: which objects were made, made current, restored and freed, and in what order.
//
// Log lines, one per call ("#n" is the object's serial, stock objects are named):
//   CreatePen style width 0xBBGGRR #n       CreateSolidBrush 0xBBGGRR #n
//   CreateHatchBrush hatch 0xBBGGRR #n      (a refused one ends in "refused")
//   SelectObject #n <- #m                   SelectStockObject NULL_BRUSH <- #m
//   DeleteObject #n
//   Polyline x,y x,y ...   Polygon ...   PolyBezier ...
//   Ellipse l t r b   Rectangle l t r b   MoveTo x y   LineTo x y
class CRecordingDC : public CDC {
 public:
  bool CreatePen(CPen& pen, int style, int width, COLORREF color) override;
  bool CreateSolidBrush(CBrush& brush, COLORREF color) override;
  bool CreateHatchBrush(CBrush& brush, int hatch, COLORREF color) override;
  bool DeleteObject(CGdiObject& object) override;
  CGdiObject* SelectStockObject(int stock) override;
  CGdiObject* SelectGdiObject(CGdiObject* object) override;

  void Polyline(const POINT* points, int count) override;
  void Polygon(const POINT* points, int count) override;
  void PolyBezier(const POINT* points, int count) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;

  const std::vector<std::string>& Log() const { return m_log; }
  // Lines that start with `prefix`.
  std::vector<std::string> Calls(const std::string& prefix) const;
  // Serials of objects made and not yet freed.
  const std::set<int>& Unfreed() const { return m_live; }
  // True when the stock pen and brush the context started with are current again.
  bool BackToStart() const;

  static std::string Name(const CGdiObject* object);

 private:
  void Points(const char* call, const POINT* points, int count);
  bool Created(bool made, const CGdiObject& object, std::string line);

  std::vector<std::string> m_log;
  std::set<int> m_live;
  bool m_inStock = false;
};
