#include "platform/qt/DialogUnits.h"

#include <cmath>

#include <QFontMetricsF>

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetricsF fm(font);
  m_charWidth = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
  m_charHeight = int(std::ceil(fm.height()));
}

int DialogUnits::X(int units) const { return int(std::lround(units * m_charWidth / 4.0)); }
int DialogUnits::Y(int units) const { return int(std::lround(units * m_charHeight / 8.0)); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}
