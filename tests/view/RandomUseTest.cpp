// Random use of two drawing windows that share the clipboard: presses, drags, double-clicks,
// the space bar, every zoom, scrolling, rotate mode and the Edit, Pen, Brush, Object and Zoom
// commands through each window's router, so disabled commands are dropped as from a menu. After
// every step the documents must still make sense and survive a save and a load unchanged.
//
// QUIRRA_RANDOM_STEPS and QUIRRA_RANDOM_SEED set the length and seed of a longer run.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <random>

#include "model/DocumentFileContent.h"
#include "tests/support/EnvInt.h"
#include "tests/support/FileBytes.h"
#include "tests/view/ViewFixture.h"

namespace {

using viewtest::Window;

constexpr int kCommands[] = {
    ID_EDIT_DELETE,
    ID_EDIT_FORWARDS,
    ID_EDIT_BACKWARDS,
    ID_EDIT_TOTALLYFORWARDS,
    ID_EDIT_TOTALLYBACKWARDS,
    ID_EDIT_CUT,
    ID_EDIT_COPY,
    ID_EDIT_PASTE,
    ID_EDIT_ROTATE,
    ID_ZOOM_50,
    ID_ZOOM_100,
    ID_ZOOM_200,
    ID_ZOOM_300,
    ID_ZOOM_500,
    ID_OBJECT_LINE,
    ID_OBJECT_BEZIER,
    ID_OBJECT_ELLIPSE,
    ID_OBJECT_RECTANGLE,
    ID_OBJECT_POLYGONRECT,
    ID_PEN_STYLE_NULL,
    ID_PEN_STYLE_SOLID,
    ID_PEN_STYLE_DASH,
    ID_PEN_STYLE_DOT,
    ID_PEN_STYLE_DASHDOT,
    ID_PEN_STYLE_DASHDOTDOT,
    ID_PEN_WIDTH_NORMAL,
    ID_PEN_WIDTH_BOLD,
    ID_PEN_WIDTH_EXTRABOLD,
    ID_BRUSH_STYLE_PAINT,
    ID_BRUSH_STYLE_TRANSPARENT,
    ID_BRUSH_STYLE_HORIZONTAL,
    ID_BRUSH_STYLE_VERTICAL,
    ID_BRUSH_STYLE_BDIAGONAL,
    ID_BRUSH_STYLE_FDIAGONAL,
    ID_BRUSH_STYLE_CROSS,
    ID_BRUSH_STYLE_CROSSDIAGONAL,
};

class RandomUse {
 public:
  explicit RandomUse(unsigned seed) : m_rng(seed) {
    for (Window* w : {&m_a, &m_b}) w->view.resize(420, 320);
  }

  // One step; returns a description for a failure message.
  std::string Step() {
    Window& w = Pick(2) == 0 ? m_a : m_b;
    const int what = Pick(100);
    if (what < 30) return Drag(w, false);
    if (what < 40) return Drag(w, true);
    if (what < 55) return DoubleClick(w);
    if (what < 60) return Scroll(w);
    const int id = kCommands[Pick(int(std::size(kCommands)))];
    if (w.router.Run(id)) ++commandsRun;
    return "command " + std::to_string(id);
  }

  // What must hold after every step, for both documents.
  void Check(const std::string& step) {
    for (Window* w : {&m_a, &m_b}) {
      const CTavlo& d = w->doc.GetDrawing();
      ASSERT_GE(d.GetSelected(), -1) << step;
      ASSERT_LE(d.GetSelected(), d.GetUpperBound()) << step;
      if (w->doc.GetHitMode() != HIT_NONE) {
        ASSERT_GE(d.GetSelected(), 0) << step << ": a grip without a selection";
      }
      mostShapes = std::max(mostShapes, d.GetUpperBound() + 1);
      for (const CShape& s : d.GetShapes())
        ASSERT_EQ(s.GetPointCount(), s.GetType() == kLine ? 2 : 4) << step << ": a shape changed its point count";
      ASSERT_NO_FATAL_FAILURE(RoundTrip(*w, step));
    }
  }

  int commandsRun = 0;
  int mostShapes = 0;

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

  // Mostly near a handle or the outline of a shape, where things happen; sometimes anywhere,
  // sometimes outside the window.
  QPoint Target(Window& w) {
    const CTavlo& d = w.doc.GetDrawing();
    const CPoint scroll = w.view.GetScrollPosition();
    if (d.GetUpperBound() >= 0 && Pick(3) != 0) {
      const CShape s = d.GetShapes()[Pick(d.GetUpperBound() + 1)];
      CPoint p = Pick(5) == 0 ? s.GetCenter() : s.GetPoint(Pick(s.GetPointCount()));
      if (Pick(4) == 0 && s.GetPointCount() > 1) p = s.GetEdgeMidpoint(0, 1);
      d.ZoomPoint(p);
      return QPoint(p.x - scroll.x + Pick(9) - 4, p.y - scroll.y + Pick(9) - 4);
    }
    return QPoint(Pick(480) - 30, Pick(380) - 30);
  }

  std::string Drag(Window& w, bool space) {
    QWidget* vp = w.view.viewport();
    if (space) QTest::keyPress(&w.view, Qt::Key_Space);
    const QPoint start = Target(w);
    QTest::mousePress(vp, Qt::LeftButton, {}, start);
    const int moves = 1 + Pick(4);
    QPoint at = start;
    for (int i = 0; i < moves; ++i) {
      at += QPoint(Pick(41) - 20, Pick(41) - 20);
      QTest::mouseMove(vp, at);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, {}, at);
    if (space) QTest::keyRelease(&w.view, Qt::Key_Space);
    return std::string(space ? "space-" : "") + "drag from " + std::to_string(start.x()) + "," +
           std::to_string(start.y());
  }

  // Either the test library's lone double-click event or the window system's four events.
  std::string DoubleClick(Window& w) {
    QWidget* vp = w.view.viewport();
    const QPoint at = Target(w);
    if (Pick(2) == 0) {
      QTest::mouseDClick(vp, Qt::LeftButton, {}, at);
    } else {
      auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent e(type, at, vp->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
      };
      send(QEvent::MouseButtonPress, Qt::LeftButton);
      send(QEvent::MouseButtonRelease, Qt::NoButton);
      send(QEvent::MouseButtonDblClick, Qt::LeftButton);
      if (Pick(2) == 0) QTest::mouseMove(vp, at + QPoint(Pick(21) - 10, Pick(21) - 10));
      send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
    if (w.view.HasCapture()) QTest::mouseRelease(vp, Qt::LeftButton, {}, at);
    return "double-click at " + std::to_string(at.x()) + "," + std::to_string(at.y());
  }

  std::string Scroll(Window& w) {
    QScrollBar* h = w.view.horizontalScrollBar();
    QScrollBar* v = w.view.verticalScrollBar();
    h->setValue(h->minimum() + Pick(h->maximum() - h->minimum() + 1));
    v->setValue(v->minimum() + Pick(v->maximum() - v->minimum() + 1));
    return "scroll";
  }

  static void RoundTrip(Window& w, const std::string& step) {
    DocumentFileContent saved{w.doc.GetDrawing(), w.doc.GetHitMode(), w.doc.GetHitPart()};
    DocumentFileContent loaded;
    file_bytes::Load(file_bytes::Save(saved), loaded);
    ASSERT_TRUE(loaded.drawing.GetShapes() == saved.drawing.GetShapes()) << step;
    ASSERT_EQ(loaded.drawing.GetSelected(), saved.drawing.GetSelected()) << step;
    // Paste while a shape is gripped selects the pasted shape and keeps the old grip, whose point
    // may not exist on the new shape; loading clears such a grip. Any other grip comes back.
    if (loaded.hitMode != saved.hitMode || loaded.hitPart != saved.hitPart) {
      ASSERT_EQ(loaded.hitMode, HIT_NONE) << step;
      const CShape selectedShape = saved.drawing.GetShape(0);
      ASSERT_TRUE(saved.hitMode == HIT_VERTEX || saved.hitMode == HIT_EDGE) << step;
      ASSERT_GE(saved.hitPart, selectedShape.GetPointCount()) << step;
    }
  }

  std::mt19937 m_rng;
  Window m_a;
  Window m_b;
};

}  // namespace

TEST(RandomUse, TwoWindowsKeepTheirDrawingsSound) {
  CQuirraView::ClearClipboard();
  const int steps = EnvInt("QUIRRA_RANDOM_STEPS", 3000);
  const unsigned seed = unsigned(EnvInt("QUIRRA_RANDOM_SEED", 7));
  RandomUse use(seed);
  for (int i = 0; i < steps; ++i) {
    const std::string step = "step " + std::to_string(i) + " (" + use.Step() + ")";
    ASSERT_NO_FATAL_FAILURE(use.Check(step));
  }
  // The run must have done real work: drawn shapes and got commands past their enabling rules.
  EXPECT_GT(use.mostShapes, 3);
  EXPECT_GT(use.commandsRun, steps / 20);
  RecordProperty("steps", steps);
}
