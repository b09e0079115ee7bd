#include "platform/qt/CScrollView.h"

#include <algorithm>
#include <cstdlib>

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/qt/CQPainterDC.h"

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { MovePage(horizontalScrollBar(), action, m_area.width()); });
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { MovePage(verticalScrollBar(), action, m_area.height()); });
}

void CScrollView::SetScrollArea(QRect area) {
  m_area = area.normalized();
  horizontalScrollBar()->setSingleStep(std::max(m_area.width() / 100, 1));
  verticalScrollBar()->setSingleStep(std::max(m_area.height() / 100, 1));
  UpdateBars();
}

void CScrollView::UpdateBars() {
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(m_area.left(),
                                  std::max(m_area.left() + m_area.width() - view.width(), m_area.left()));
  verticalScrollBar()->setRange(m_area.top(), std::max(m_area.top() + m_area.height() - view.height(), m_area.top()));
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
  OnEraseBkgnd(painter);
  const CPoint scroll = GetScrollPosition();
  painter.translate(-scroll.x, -scroll.y);
  CQPainterDC dc(painter);
  OnDraw(dc);
}

void CScrollView::OnEraseBkgnd(QPainter& painter) { painter.fillRect(viewport()->rect(), Qt::white); }

void CScrollView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateBars();
}

void CScrollView::scrollContentsBy(int, int) { InvalidateAll(); }

void CScrollView::keyPressEvent(QKeyEvent* event) {
  QScrollBar* bar = verticalScrollBar();
  switch (event->key()) {
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_Home: bar->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case Qt::Key_End: bar->triggerAction(QAbstractSlider::SliderToMaximum); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

// Qt's bars take the wheel with Shift as a page step along the same bar. Here Shift turns it
// sideways instead: the horizontal bar gets it as a plain wheel, and moves as many of its line
// steps as the plain wheel moves the vertical bar.
void CScrollView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ShiftModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  const QPoint angle = event->angleDelta();
  const QPoint pixels = event->pixelDelta();
  // Some systems turn a wheel with Shift sideways themselves.
  const bool across = std::abs(angle.x()) > std::abs(angle.y());
  QWheelEvent sideways(event->position(), event->globalPosition(), QPoint(across ? pixels.x() : pixels.y(), 0),
                       QPoint(across ? angle.x() : angle.y(), 0), event->buttons(),
                       event->modifiers() & ~Qt::ShiftModifier, event->phase(), event->inverted(), event->source(),
                       event->pointingDevice());
  QAbstractScrollArea::wheelEvent(&sideways);
  event->setAccepted(sideways.isAccepted());
}
