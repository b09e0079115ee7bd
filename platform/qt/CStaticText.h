#pragma once

#include <QWidget>

class QTextLayout;

// A static text control: left-aligned, tabs expanded to stops every eight of the font's average
// characters, line breaks kept, lines too long for the box broken at the spaces between words,
// clipped to its box. A tab never breaks a line, so a row of tabbed values stays one row; a row
// too wide for the box is cut at its right edge.
class CStaticText : public QWidget {
  Q_OBJECT

 public:
  explicit CStaticText(const QString& text = QString(), QWidget* parent = nullptr);
  QString text() const { return m_text; }
  void setText(const QString& text);

  // The part of the control the text covers as it is painted, in the control's coordinates.
  QRectF TextExtent() const;
  // Whether the whole text shows inside the box.
  bool Fits() const { return QRectF(rect()).contains(TextExtent()); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Painting and measuring both go through here, so what is measured is what is painted.
  void LayOut(QTextLayout& layout) const;
  QString m_text;
};
