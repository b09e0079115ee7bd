#include "platform/qt/CScrollView.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/qt/CQPainterDC.h"

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { MovePage(horizontalScrollBar(), action, m_total.cx); });
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { MovePage(verticalScrollBar(), action, m_total.cy); });
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
  // Qt sizes the thumb by the page step: as the visible part is to the area, so is the thumb to
  // its groove. The page actions themselves move a tenth of the area (MovePage).
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setPageStep(view.height());
}

// Called after Qt has moved the slider by its page step and before the value follows it, so the
// slider can still be put where it should go.
void CScrollView::MovePage(QScrollBar* bar, int action, int extent) {
  const int step = std::max(extent / 10, 1);
  if (action == QAbstractSlider::SliderPageStepAdd) bar->setSliderPosition(bar->value() + step);
  if (action == QAbstractSlider::SliderPageStepSub) bar->setSliderPosition(bar->value() - step);
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
