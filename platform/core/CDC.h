#pragma once

#include "platform/core/Color.h"
#include "platform/core/Point.h"

// Pen styles, hatch styles and stock objects, with their classic values: shape records and files
// store these numbers.
enum PenStyle : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5 };
enum HatchStyle : int {
  HS_HORIZONTAL = 0,
  HS_VERTICAL = 1,
  HS_FDIAGONAL = 2,  // falls from upper left to lower right
  HS_BDIAGONAL = 3,  // rises from lower left to upper right
  HS_CROSS = 4,
  HS_DIAGCROSS = 5,
};
enum StockObject : int { WHITE_BRUSH = 0, NULL_BRUSH = 5, BLACK_PEN = 7 };

// A pen or brush: a description that a device context makes, makes current and frees.
class CGdiObject {
 public:
  enum Kind { pen, brush };

  Kind GetKind() const { return m_kind; }
  bool IsCreated() const { return m_created; }
  bool IsStock() const { return m_stock; }
  // A number the device context gave the object when it made it; 0 before that.
  int GetSerial() const { return m_serial; }

 protected:
  explicit CGdiObject(Kind kind) : m_kind(kind) {}
  CGdiObject(const CGdiObject&) = default;
  CGdiObject& operator=(const CGdiObject&) = default;
  ~CGdiObject() = default;

 private:
  friend class CDC;
  Kind m_kind;
  bool m_created = false;
  bool m_stock = false;
  int m_serial = 0;
};

class CPen : public CGdiObject {
 public:
  CPen() : CGdiObject(pen) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

class CBrush : public CGdiObject {
 public:
  enum Fill { solid, hatched, hollow };
  CBrush() : CGdiObject(brush) {}
  Fill fill = solid;
  int hatch = HS_HORIZONTAL;
  COLORREF color = RGB(255, 255, 255);
};

// A device context: where shapes are drawn, with one current pen and one current brush.
//
// Coordinates are pixels of the picture. Pens are never scaled. The background is opaque white:
// the gaps of dashed pens and of hatches are painted white. Polygons fill odd-even. Rectangle and
// Ellipse boxes include both corners given, in either order. A context starts with the stock black
// pen and white brush current.
//
// Objects: Create* describe an object and return false, leaving it unmade, for a style outside
// the tables. SelectObject makes a made object current and returns the one it replaces; an
// unmade object or a null pointer changes nothing and returns null. DeleteObject frees a made
// object that is not current; stock objects are never freed.
class CDC {
 public:
  CDC();
  virtual ~CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  virtual bool CreatePen(CPen& pen, int style, int width, COLORREF color);
  virtual bool CreateSolidBrush(CBrush& brush, COLORREF color);
  virtual bool CreateHatchBrush(CBrush& brush, int hatch, COLORREF color);
  virtual bool DeleteObject(CGdiObject& object);
  virtual CGdiObject* SelectStockObject(int stock);
  CPen* SelectObject(CPen* pen) { return static_cast<CPen*>(SelectGdiObject(pen)); }
  CBrush* SelectObject(CBrush* brush) { return static_cast<CBrush*>(SelectGdiObject(brush)); }
  virtual CGdiObject* SelectGdiObject(CGdiObject* object);

  virtual void Polyline(const POINT* points, int count) = 0;
  virtual void Polygon(const POINT* points, int count) = 0;
  // Draws nothing unless count is 3k + 1 for some k >= 1.
  virtual void PolyBezier(const POINT* points, int count) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void MoveTo(int x, int y) { m_position = CPoint(x, y); }
  virtual void LineTo(int x, int y) = 0;

  const CPen& GetCurrentPen() const { return *m_pen; }
  const CBrush& GetCurrentBrush() const { return *m_brush; }

  static CPen& StockBlackPen();
  static CBrush& StockWhiteBrush();
  static CBrush& StockNullBrush();

 protected:
  // Called after the current pen or brush changed.
  virtual void OnSelect(const CGdiObject& /*object*/) {}
  CPoint m_position;

 private:
  bool Make(CGdiObject& object);

  CPen* m_pen;
  CBrush* m_brush;
  int m_serial = 0;
};
