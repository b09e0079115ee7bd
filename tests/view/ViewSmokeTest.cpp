#include <gtest/gtest.h>

#include <QTest>

#include "doc/CQuirraDoc.h"
#include "res/CommandIds.h"
#include "view/CQuirraView.h"

TEST(ViewSmoke, RectangleDragCreatesOneShape) {
  CQuirraDoc doc;
  doc.OnNewDocument();
  doc.tool = kRectangle;
  CQuirraView view(doc);
  view.resize(400, 300);
  view.show();
  view.OnInitialUpdate();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QWidget* vp = view.viewport();
  QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(vp, QPoint(101, 101));
  QTest::mouseMove(vp, QPoint(150, 120));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(150, 120));
  const CTavlo& d = doc.GetDrawing();
  ASSERT_EQ(d.GetUpperBound(), 0);
  const CShape s = d.GetShape(0);
  EXPECT_EQ(s.GetPoint(0), CPoint(100, 100));
  EXPECT_EQ(s.GetPoint(1), CPoint(150, 100));
  EXPECT_EQ(s.GetPoint(2), CPoint(150, 120));
  EXPECT_EQ(s.GetPoint(3), CPoint(100, 120));
  EXPECT_EQ(s.GetCenter(), CPoint(110, 110));
  EXPECT_EQ(doc.hitMode, 1);
  EXPECT_EQ(doc.hitPart, 2);
  EXPECT_TRUE(doc.IsModified());
}
