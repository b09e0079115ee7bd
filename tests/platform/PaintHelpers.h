#pragma once

// Small helpers for tests that look at the pixels a device context painted.

#include <QImage>
#include <QPainter>
#include <QRect>

#include "platform/qt/CQPainterDC.h"

namespace paint_test {

constexpr QRgb kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF, kGrey = 0xE6E6E6;

// A white picture of w x h pixels, painted by `paint` through a CQPainterDC whose origin lies at
// `origin` (as the view moves it by the scroll position).
template <typename Fn>
QImage Paint(int w, int h, Fn paint, QPoint origin = QPoint(0, 0)) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(origin);
  CQPainterDC dc(painter);
  paint(dc);
  return image;
}

inline QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// Number of pixels of exactly that colour inside `area` (the whole picture when empty).
inline int Count(const QImage& image, QRgb colour, QRect area = QRect()) {
  if (area.isEmpty()) area = image.rect();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += At(image, x, y) == colour;
  return n;
}

// The smallest rectangle holding every pixel of exactly that colour; empty when there is none.
inline QRect Bounds(const QImage& image, QRgb colour) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) == colour) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace paint_test
