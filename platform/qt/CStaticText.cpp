#include "platform/qt/CStaticText.h"

#include <QPainter>
#include <QTextOption>

#include "platform/qt/DialogUnits.h"

CStaticText::CStaticText(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
  setAccessibleName(text);
}

void CStaticText::setText(const QString& text) {
  m_text = text;
  setAccessibleName(text);
  update();
}

void CStaticText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(8 * DialogUnits(font()).AverageCharWidth());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRectF(rect()), m_text, option);
}
