// A document shown in a real view on the offscreen screen, with the command chain of its window,
// and the mouse helpers the view tests drive it with. Points given to the helpers are viewport
// (client) pixels unless a name says otherwise.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <ostream>
#include <vector>

#include "document/CQuirraDoc.h"
#include "platform/qt/CCommandRouter.h"
#include "res/CommandIds.h"
#include "view/CQuirraView.h"

inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }
inline void PrintTo(const CShape& s, std::ostream* os) {
  *os << "type " << s.GetType() << ", points";
  for (int i = 0; i < s.GetPointCount(); ++i) *os << " (" << s.GetPoint(i).x << ", " << s.GetPoint(i).y << ")";
  *os << ", centre (" << s.GetCenter().x << ", " << s.GetCenter().y << "), pen " << s.GetPenColor() << "/"
      << s.GetPenStyle() << "/" << s.GetPenWidth() << ", brush " << s.GetBrushColor() << "/" << s.GetBrushStyle();
}

namespace viewtest {

// One document window: the document, its view and the router that offers commands to the view
// first and then to the document, as the frame does.
struct Window {
  CQuirraDoc doc;
  CQuirraView view{doc};
  CCommandRouter router{[this] { return std::vector<CCmdTarget*>{&view, &doc}; }};

  Window() {
    doc.OnNewDocument();
    view.resize(400, 300);
    view.show();
    view.OnInitialUpdate();
  }
};

// Counts the paint events of the widget it filters.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

inline int ZoomCommand(int percent) {
  switch (percent) {
    case 50: return ID_ZOOM_50;
    case 100: return ID_ZOOM_100;
    case 200: return ID_ZOOM_200;
    case 300: return ID_ZOOM_300;
    default: return ID_ZOOM_500;
  }
}

// A shape drawn with a black solid pen of width 1 and no fill.
inline CShape MakeShape(int type, const std::vector<CPoint>& points, CPoint centre) {
  CShape s;
  for (size_t i = 0; i < points.size(); ++i) s.SetPoint(int(i), points[i].x, points[i].y);
  s.SetPointCount(int(points.size()));
  s.SetCenter(centre.x, centre.y);
  s.SetType(type);
  s.SetBrushStyle(type == kLine ? kBrushUnset : kBrushTransparent);
  return s;
}

inline std::vector<CPoint> PointsOf(const CShape& s) {
  std::vector<CPoint> points;
  for (int i = 0; i < s.GetPointCount(); ++i) points.push_back(s.GetPoint(i));
  return points;
}

inline QPoint Q(CPoint p) { return QPoint(p.x, p.y); }

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowExposed(&view)); }

  // Every gesture ends with a release, so the test library's idea of the held buttons is clear
  // for the next test even when this one fails half-way.
  void TearDown() override { QTest::mouseRelease(vp(), Qt::LeftButton); }

  QWidget* vp() const { return view.viewport(); }
  const CTavlo& drawing() const { return doc.GetDrawing(); }
  int count() const { return drawing().GetUpperBound() + 1; }
  // The shape at a list index (GetShape(0) would be the selected one).
  const CShape& at(int index) const { return drawing().GetShapes()[index]; }

  void Press(QPoint p) { QTest::mousePress(vp(), Qt::LeftButton, {}, p); }
  void MoveTo(QPoint p) { QTest::mouseMove(vp(), p); }
  void Release(QPoint p) { QTest::mouseRelease(vp(), Qt::LeftButton, {}, p); }
  void Drag(QPoint from, const std::vector<QPoint>& steps) {
    Press(from);
    for (QPoint p : steps) MoveTo(p);
    Release(steps.empty() ? from : steps.back());
  }
  // A press and release in place: grips the selected shape where it is hit.
  void Grip(QPoint p) { Drag(p, {}); }

  // A mouse event of our own, delivered to the viewport as the window system would.
  void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(p), vp()->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(vp(), &e);
  }

  // Adds a shape as the selection (not gripped) and makes its kind the tool, as a user's
  // double-click on it would.
  void Add(const CShape& s) {
    doc.GetDrawing().AddShape(s);
    doc.SetTool(s.GetType());
  }

  void SetZoom(int percent) {
    ASSERT_TRUE(router.Run(ZoomCommand(percent)));
    ASSERT_EQ(drawing().GetZoom(), percent);
  }

  // The client pixel that shows a drawing-unit point at the current zoom and scroll position.
  QPoint Client(CPoint unit) const {
    const int z = drawing().GetZoom();
    const CPoint s = view.GetScrollPosition();
    return QPoint(int(int64_t(unit.x) * z / 100 - s.x), int(int64_t(unit.y) * z / 100 - s.y));
  }

  viewtest::Window window;
  CQuirraDoc& doc = window.doc;
  CQuirraView& view = window.view;
  CCommandRouter& router = window.router;
};

}  // namespace viewtest
