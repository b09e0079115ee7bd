#include "platform/qt/CStaticText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace {

QTextOption Options(const QFont& font, const QPaintDevice* device) {
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  // Qt would also break after a tab; lines are broken by hand, at spaces only.
  option.setWrapMode(QTextOption::NoWrap);
  // The font's own average, not the dialog unit's 52-letter one: tabs in text are measured in
  // the font's average characters.
  option.setTabStopDistance(8 * QFontMetricsF(font, device).averageCharWidth());
  return option;
}

qreal LineWidth(const QString& line, const QFont& font, const QTextOption& option, const QPaintDevice* device) {
  QTextLayout layout(line, font, device);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine only = layout.createLine();
  only.setLineWidth(0);  // not wrapped, so the line holds the whole text whatever this says
  const qreal width = only.naturalTextWidth();
  layout.endLayout();
  return width;
}

// The text with a line separator wherever a line grows wider than `width` at the next word;
// a single word wider than that keeps its line.
QString Wrapped(const QString& text, qreal width, const QFont& font, const QTextOption& option,
                const QPaintDevice* device) {
  QStringList lines;
  for (const QString& paragraph : text.split(u'\n')) {
    const QStringList words = paragraph.split(u' ');
    QString line = words.front();
    for (qsizetype i = 1; i < words.size(); ++i) {
      const QString longer = line + u' ' + words[i];
      if (LineWidth(longer, font, option, device) > width) {
        lines << line;
        line = words[i];
      } else {
        line = longer;
      }
    }
    lines << line;
  }
  return lines.join(QChar::LineSeparator);
}

}  // namespace

CStaticText::CStaticText(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
  setAccessibleName(text);
}

void CStaticText::setText(const QString& text) {
  m_text = text;
  setAccessibleName(text);
  update();
}

void CStaticText::LayOut(QTextLayout& layout) const {
  const QTextOption option = Options(font(), this);
  layout.setText(Wrapped(m_text, width(), font(), option, this));
  layout.setTextOption(option);
  layout.beginLayout();
  qreal y = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width());
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout.endLayout();
}

QRectF CStaticText::TextExtent() const {
  QTextLayout layout(QString(), font(), this);
  LayOut(layout);
  QRectF extent;
  for (int i = 0; i < layout.lineCount(); ++i) extent |= layout.lineAt(i).naturalTextRect();
  return extent;
}

void CStaticText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  QTextLayout layout(QString(), font(), this);
  LayOut(layout);
  layout.draw(&painter, QPointF(0, 0));
}
