#pragma once

#include <QFont>
#include <QRect>

// Dialog templates place controls in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. The average width is that of the 52
// letters of the alphabet, as the original platform measures it.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  QRect ToPixels(int x, int y, int width, int height) const;
  int X(int units) const;
  int Y(int units) const;

 private:
  double m_charWidth;
  int m_charHeight;
};
