#include "platform/core/CDC.h"

CPen& CDC::StockBlackPen() {
  static CPen pen = [] {
    CPen p;
    p.m_created = p.m_stock = true;
    return p;
  }();
  return pen;
}

CBrush& CDC::StockWhiteBrush() {
  static CBrush brush = [] {
    CBrush b;
    b.m_created = b.m_stock = true;
    return b;
  }();
  return brush;
}

CBrush& CDC::StockNullBrush() {
  static CBrush brush = [] {
    CBrush b;
    b.fill = CBrush::hollow;
    b.m_created = b.m_stock = true;
    return b;
  }();
  return brush;
}

CDC::CDC() : m_pen(&StockBlackPen()), m_brush(&StockWhiteBrush()) {}

bool CDC::Make(CGdiObject& object) {
  object.m_created = true;
  object.m_serial = ++m_serial;
  return true;
}

bool CDC::CreatePen(CPen& pen, int style, int width, COLORREF color) {
  if (pen.IsCreated() || style < PS_SOLID || style > PS_NULL) return false;
  pen.style = style;
  pen.width = width;
  pen.color = color;
  return Make(pen);
}

bool CDC::CreateSolidBrush(CBrush& brush, COLORREF color) {
  if (brush.IsCreated()) return false;
  brush.fill = CBrush::solid;
  brush.color = color;
  return Make(brush);
}

bool CDC::CreateHatchBrush(CBrush& brush, int hatch, COLORREF color) {
  if (brush.IsCreated() || hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return false;
  brush.fill = CBrush::hatched;
  brush.hatch = hatch;
  brush.color = color;
  return Make(brush);
}

bool CDC::DeleteObject(CGdiObject& object) {
  if (!object.IsCreated() || object.IsStock() || &object == m_pen || &object == m_brush) return false;
  object.m_created = false;
  return true;
}

CGdiObject* CDC::SelectStockObject(int stock) {
  switch (stock) {
    case NULL_BRUSH: return SelectGdiObject(&StockNullBrush());
    case WHITE_BRUSH: return SelectGdiObject(&StockWhiteBrush());
    case BLACK_PEN: return SelectGdiObject(&StockBlackPen());
    default: return nullptr;
  }
}

CGdiObject* CDC::SelectGdiObject(CGdiObject* object) {
  if (!object || !object->IsCreated()) return nullptr;
  CGdiObject* previous;
  if (object->GetKind() == CGdiObject::pen) {
    previous = m_pen;
    m_pen = static_cast<CPen*>(object);
  } else {
    previous = m_brush;
    m_brush = static_cast<CBrush*>(object);
  }
  OnSelect(*object);
  return previous;
}
