#pragma once

#include <QAbstractScrollArea>
#include <QRect>

#include "platform/core/Point.h"
#include "platform/qt/CCmdTarget.h"

class CDC;
class QPainter;
class QScrollBar;

// A scrolling view: the scroll bars cover a total size in pixels, and painting is shifted by the
// scroll position. Each repaint first has OnEraseBkgnd lay the background (white, unless a view
// lays its own) and then calls OnDraw with a device context whose origin is the top left of the
// scrollable area.
//
// The thumbs show how much of the area is visible. Page Up and Page Down, and clicks in a bar's
// trough, move a page step; Home and End go to the top and the bottom; the wheel with Shift
// scrolls across as the plain wheel scrolls down, by line steps.
class CScrollView : public QAbstractScrollArea, public CCmdTarget {
  Q_OBJECT

 public:
  using Base = CCmdTarget;

  explicit CScrollView(QWidget* parent = nullptr);

  // The scrollable area, in the pixels of the painted picture: the scroll position, the point of
  // that picture at the viewport's top left, runs over it. It may begin left of or above the
  // picture's origin. Page steps are a tenth of its size and line steps a hundredth, as the
  // original scroll view's defaults. A new area keeps the scroll position where it still can.
  void SetScrollArea(QRect area);
  QRect GetScrollArea() const { return m_area; }
  CPoint GetScrollPosition() const;
  void ScrollToPosition(CPoint position);

  // The whole viewport is painted again, background first.
  void InvalidateAll();

  virtual void OnInitialUpdate();

 protected:
  // The background of the whole viewport, painted with its top left at the painter's origin
  // (the painter is clipped to what needs painting). Plain white here.
  virtual void OnEraseBkgnd(QPainter& painter);
  virtual void OnDraw(CDC& dc) = 0;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void UpdateBars();
  // A bar's page actions move a tenth of its extent, not the visible size Qt would take.
  void MovePage(QScrollBar* bar, int action, int extent);
  QRect m_area;
};
