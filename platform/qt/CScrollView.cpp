#include "platform/qt/CScrollView.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/qt/CQPainterDC.h"

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void CScrollView::SetScrollSizes(CSize total) {
  m_total = CSize(std::max(total.cx, 0), std::max(total.cy, 0));
  horizontalScrollBar()->setSingleStep(std::max(m_total.cx / 100, 1));
  verticalScrollBar()->setSingleStep(std::max(m_total.cy / 100, 1));
  UpdateBars();
}

void CScrollView::UpdateBars() {
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(m_total.cx - view.width(), 0));
  verticalScrollBar()->setRange(0, std::max(m_total.cy - view.height(), 0));
  horizontalScrollBar()->setPageStep(std::max(m_total.cx / 10, 1));
  verticalScrollBar()->setPageStep(std::max(m_total.cy / 10, 1));
}

CPoint CScrollView::GetScrollPosition() const {
  return CPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(CPoint position) {
  horizontalScrollBar()->setValue(position.x);
  verticalScrollBar()->setValue(position.y);
}

void CScrollView::InvalidateAll() { viewport()->update(); }

void CScrollView::OnInitialUpdate() { InvalidateAll(); }

void CScrollView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // Only what needs painting: shapes outside the area are passed over.
  painter.setClipRect(event->rect());
  painter.fillRect(viewport()->rect(), Qt::white);
  const CPoint scroll = GetScrollPosition();
  painter.translate(-scroll.x, -scroll.y);
  CQPainterDC dc(painter);
  OnDraw(dc);
}

void CScrollView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateBars();
}

void CScrollView::scrollContentsBy(int, int) { InvalidateAll(); }
