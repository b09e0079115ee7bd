// Whatever a view keeps and repaints of itself after an edit, a scroll or a zoom, what it shows
// must be what a new view of the same drawing paints the first time, pixel for pixel. Two
// pictures of the long-lived view are checked: the pixels its own repaints left on the screen (a
// repaint that misses a changed part leaves old pixels there) and a whole repaint of it now (a
// kept picture that went stale shows there). A second view of the document, never touched, must
// show the same on the screen.
#include <gtest/gtest.h>

#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/RandomShapes.h"
#include "tests/view/ViewFixture.h"

namespace {

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// The viewport as the window system holds it, once the repaints asked for have been done.
QImage OnScreen(CQuirraView& view) {
  QCoreApplication::sendPostedEvents();
  const QPoint at = view.viewport()->mapTo(&view, QPoint(0, 0));
  const QSize size = view.viewport()->size();
  return Rgb32(view.screen()->grabWindow(view.winId(), at.x(), at.y(), size.width(), size.height()).toImage());
}

// What a view shows on the screen and what a whole repaint of it paints now.
struct Pictures {
  QImage shown, repainted;
};
Pictures Take(CQuirraView& view) { return {OnScreen(view), Rgb32(view.viewport()->grab().toImage())}; }

// The same of a new view of the document, placed where `view` is before it paints at all, so that
// nothing it shows comes from an earlier picture of its own. Its screen is painted the way the
// other's is, in a window of the same size (a line clipped at the viewport's edge can end a pixel
// apart on the screen and in a picture of the viewport alone).
void FromNothing(CQuirraDoc& doc, const CQuirraView& view, Pictures& pictures) {
  CQuirraView fresh(doc);
  viewtest::PaintCounter painted;
  fresh.viewport()->installEventFilter(&painted);
  fresh.setAttribute(Qt::WA_ShowWithoutActivating);
  fresh.resize(view.size());
  fresh.show();
  fresh.OnInitialUpdate();
  ASSERT_EQ(fresh.GetScrollArea(), view.GetScrollArea());
  // The bars show or hide by a queued call; only that, not a paint, is let through.
  QCoreApplication::sendPostedEvents(&fresh, QEvent::MetaCall);
  fresh.ScrollToPosition(view.GetScrollPosition());
  ASSERT_EQ(fresh.GetScrollPosition(), view.GetScrollPosition());
  ASSERT_EQ(fresh.viewport()->size(), view.viewport()->size());
  ASSERT_EQ(painted.paints, 0);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
  pictures = Take(fresh);
  ASSERT_GT(painted.paints, 1);  // the screen's picture was painted, not left from nothing
}

int Differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// Mostly shapes about the window's size; some reach tens of thousands of units past it, some are
// a few units across.
CShape AnyShape(std::mt19937& rng, bool crowded) {
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  CShape s = crowded ? random_shapes::CrowdedShape(rng) : random_shapes::RandomShape(rng);
  const int kind = pick(12);
  const int scale = 20 + pick(40), x = pick(800), y = pick(600);
  for (int i = 0; i < s.GetPointCount() && kind < 2; ++i) {
    const CPoint p = s.GetPoint(i);
    if (kind == 0) s.SetPoint(i, p.x * scale, p.y * scale);
    if (kind == 1) s.SetPoint(i, x + pick(4), y + pick(4));
  }
  return s;
}

constexpr std::pair<int, const char*> kReorders[] = {{ID_EDIT_FORWARDS, "Forwards"},
                                                     {ID_EDIT_BACKWARDS, "Backwards"},
                                                     {ID_EDIT_TOTALLYFORWARDS, "Totally forwards"},
                                                     {ID_EDIT_TOTALLYBACKWARDS, "Totally backwards"}};
// The pen and brush items that change the gripped shape without a dialog.
constexpr int kAttributes[] = {ID_PEN_STYLE_DASH,           ID_PEN_STYLE_NULL,      ID_PEN_STYLE_SOLID,
                               ID_PEN_WIDTH_NORMAL,         ID_PEN_WIDTH_EXTRABOLD, ID_BRUSH_STYLE_CROSS,
                               ID_BRUSH_STYLE_TRANSPARENT,  ID_BRUSH_STYLE_PAINT,   ID_BRUSH_STYLE_FDIAGONAL,
                               ID_BRUSH_STYLE_CROSSDIAGONAL};
constexpr int kZooms[] = {50, 100, 200, 300, 500};

class PixelProof : public viewtest::ViewTest {
 protected:
  int pick(int n) { return random_shapes::Pick(rng, n); }

  // A vertex of one of [first, last) that the viewport shows, as a client pixel; else any pixel of it.
  QPoint Target(const CShape* first, const CShape* last) {
    std::vector<QPoint> shown;
    for (const CShape* s = first; s != last; ++s)
      for (int i = 0; i < s->GetPointCount(); ++i) {
        CPoint p = s->GetPoint(i);
        drawing().ZoomPoint(p);
        const QPoint client = viewtest::Q(p) - viewtest::Q(view.GetScrollPosition());
        if (vp()->rect().contains(client)) shown.push_back(client);
      }
    return shown.empty() ? QPoint(pick(vp()->width()), pick(vp()->height())) : shown[pick(int(shown.size()))];
  }

  // One thing a user does, at random; says what it was.
  std::string Interact() {
    const CTavlo& d = drawing();
    QScrollBar* bar = pick(2) ? view.horizontalScrollBar() : view.verticalScrollBar();
    // With a shape gripped, half the time something done to it: a drag or one of its commands;
    // after an Undo, a Redo more often than by chance.
    int what = pick(17);
    if (doc.GetHitMode() != HIT_NONE && pick(2))
      what = 3 + pick(6);
    else if (doc.CanRedo() && pick(3) == 0)
      what = 11;
    switch (what) {
      case 0:
      case 1:
      case 2: {
        const QPoint p = Target(d.GetShapes().begin(), d.GetShapes().end());
        QTest::mouseDClick(vp(), Qt::LeftButton, {}, p);
        Release(p);
        return "double-click";
      }
      case 3:
      case 4: {
        // By a vertex of the selection: moves or (in rotate mode) turns it. Elsewhere: a new shape.
        const CShape selection = d.GetShape(0);
        QPoint p = Target(&selection, &selection + (d.GetSelected() >= 0));
        Press(p);
        for (int m = 0; m < 3; ++m) MoveTo(p += QPoint(pick(61) - 30, pick(61) - 30));
        Release(p);
        return "drag";
      }
      case 5: router.Run(ID_EDIT_DELETE); return "Delete";
      case 6:
        router.Run(ID_EDIT_COPY);
        router.Run(ID_EDIT_PASTE);
        return "Copy, Paste";
      case 7: {
        const auto [id, name] = kReorders[pick(4)];
        router.Run(id);
        return name;
      }
      case 8: {
        const int id = kAttributes[pick(int(std::size(kAttributes)))];
        router.Run(id);
        return "attribute " + std::to_string(id);
      }
      case 9:
      case 10: router.Run(ID_EDIT_UNDO); return "Undo";
      case 11: router.Run(ID_EDIT_REDO); return "Redo";
      case 12: {
        const int zoom = kZooms[pick(5)];
        router.Run(viewtest::ZoomCommand(zoom));
        return "zoom " + std::to_string(zoom);
      }
      case 13:
      case 14: bar->setValue(bar->value() + (pick(2) ? 40 : -40)); return "scroll by 40";
      case 15: bar->setValue(bar->minimum() + pick(bar->maximum() - bar->minimum() + 1)); return "scroll jump";
      default: router.Run(ID_EDIT_ROTATE); return "rotate mode";
    }
  }

  void ExpectSamePixels(const std::string& when) {
    // The other view of the document is never touched: it shows what the first one changed.
    other.ScrollToPosition(view.GetScrollPosition());
    const Pictures now = Take(view);
    const QImage otherShows = OnScreen(other);
    Pictures reference;
    ASSERT_NO_FATAL_FAILURE(FromNothing(doc, view, reference));
    const CPoint scroll = view.GetScrollPosition();
    const std::string where = when + ", zoom " + std::to_string(drawing().GetZoom()) + ", scroll (" +
                              std::to_string(scroll.x) + ", " + std::to_string(scroll.y) + ")";
    ASSERT_TRUE(now.shown == reference.shown)
        << where << ": " << Differing(now.shown, reference.shown) << " pixels on the screen differ";
    ASSERT_TRUE(now.repainted == reference.repainted)
        << where << ": " << Differing(now.repainted, reference.repainted) << " pixels of a whole repaint differ";
    ASSERT_TRUE(otherShows == reference.shown)
        << where << ": " << Differing(otherShows, reference.shown) << " pixels of the other view differ";
  }

  std::mt19937 rng{41};
  CQuirraView other{doc};
};

TEST_F(PixelProof, WhatTheViewShowsIsWhatANewViewPaints) {
  CQuirraView::ClearClipboard();
  view.resize(500, 400);
  other.setAttribute(Qt::WA_ShowWithoutActivating);
  other.resize(view.size());
  other.show();
  other.OnInitialUpdate();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
  ASSERT_TRUE(QTest::qWaitFor([&] { return vp()->width() > 400 && other.viewport()->size() == vp()->size(); }));
  for (int drawingNo = 0; drawingNo < 5; ++drawingNo) {
    // Each drawing in the same window, as a new document shown by it.
    doc.OnNewDocument();
    for (int n = 60 + pick(91); n > 0; --n) doc.GetDrawing().AddShape(AnyShape(rng, drawingNo % 2));
    doc.GetDrawing().ClearSelection();
    // As a file read: the views learn of the drawing once it is whole.
    doc.UpdateAllViews();
    const std::string name = "drawing " + std::to_string(drawingNo);
    ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(name + ", as opened"));
    for (int step = 0; step < 40; ++step) {
      const std::string what = Interact();
      ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(name + ", step " + std::to_string(step) + " (" + what + ")"));
    }
  }
}

}  // namespace
