// Whole drawings painted through CTavlo::Draw onto a QImage, judged by their pixels.
#include <gtest/gtest.h>

#include <vector>

#include "PaintHelpers.h"
#include "model/CTavlo.h"

using namespace paint_test;

namespace {

CShape Shape(int type, std::vector<CPoint> points, int penWidth = 1, COLORREF penColor = 0, int brushStyle = -200,
             COLORREF brushColor = 0, int penStyle = PS_SOLID) {
  CShape s;
  s.SetType(type);
  s.SetPenWidth(penWidth);
  s.SetPenColor(penColor);
  s.SetPenStyle(penStyle);
  s.SetBrushStyle(brushStyle);
  s.SetBrushColor(brushColor);
  s.SetPointCount(int(points.size()));
  for (int i = 0; i < int(points.size()); ++i) s.SetPoint(i, points[i].x, points[i].y);
  return s;
}

CShape Box(int l, int t, int r, int b, int penWidth = 1, COLORREF penColor = 0, int brushStyle = -200,
           COLORREF brushColor = 0, int penStyle = PS_SOLID) {
  return Shape(kRectangle, {{l, t}, {r, t}, {r, b}, {l, b}}, penWidth, penColor, brushStyle, brushColor, penStyle);
}

QImage Render(const CTavlo& drawing, int w, int h, QPoint origin = QPoint(0, 0)) {
  return Paint(
      w, h, [&](CDC& dc) { drawing.Draw(dc); }, origin);
}

}  // namespace

TEST(DrawingPixels, EmptyDrawingAndShapesWithoutPointsOrKindPaintNothing) {
  CTavlo drawing;
  EXPECT_EQ(Count(Render(drawing, 50, 50), kWhite), 2500);
  drawing.AddShape(Shape(7, {{10, 10}, {40, 40}}));
  drawing.AddShape(Shape(0, {{10, 40}, {40, 10}}));
  drawing.AddShape(Shape(kRectangle, {}, 1, 0, -100, RGB(255, 0, 0)));
  ASSERT_EQ(drawing.GetSelected(), 2);
  EXPECT_EQ(Count(Render(drawing, 50, 50), kWhite), 2500);
}

TEST(DrawingPixels, ZoomMovesPointsTruncatingTowardZero) {
  // Two upright lines mirrored about the origin, which sits in the middle of the picture.
  CTavlo drawing;
  drawing.AddShape(Shape(kLine, {{61, 41}, {61, 121}}));
  drawing.AddShape(Shape(kLine, {{-61, -41}, {-61, -121}}));
  drawing.ClearSelection();
  const QPoint origin(300, 300);
  struct Case {
    int zoom, x, top, bottom;
  };
  for (const Case& c : {Case{50, 30, 20, 60}, Case{100, 61, 41, 121}, Case{200, 122, 82, 242}}) {
    drawing.SetZoom(c.zoom);
    const QImage image = Render(drawing, 600, 600, origin);
    EXPECT_EQ(Bounds(image.copy(300, 300, 300, 300), kBlack), QRect(QPoint(c.x, c.top), QPoint(c.x, c.bottom)))
        << c.zoom;
    EXPECT_EQ(Bounds(image.copy(0, 0, 300, 300), kBlack),
              QRect(QPoint(300 - c.x, 300 - c.bottom), QPoint(300 - c.x, 300 - c.top)))
        << c.zoom;
  }
}

TEST(DrawingPixels, PenWidthIsNotZoomed) {
  for (int width : {1, 2, 3}) {
    for (int zoom : {100, 200, 500}) {
      CTavlo drawing;
      drawing.AddShape(Shape(kLine, {{20, 20}, {80, 20}}, width));
      drawing.ClearSelection();
      drawing.SetZoom(zoom);
      const QImage image = Render(drawing, 420, 120);
      const int x = 50 * zoom / 100, y = 20 * zoom / 100;
      EXPECT_EQ(Count(image, kBlack, QRect(x, 0, 1, 120)), width) << width << " at " << zoom;
      EXPECT_EQ(At(image, x, y), kBlack) << width << " at " << zoom;
    }
  }
}

TEST(DrawingPixels, HandleHalfSizeGrowsWithWholeMultiplesOfTheZoom) {
  struct Case {
    int zoom, half;
  };
  for (const Case& c : {Case{50, 3}, Case{100, 3}, Case{200, 6}, Case{300, 9}, Case{500, 15}}) {
    CTavlo drawing;
    drawing.AddShape(Shape(kLine, {{100, 100}, {200, 100}}));
    drawing.SetZoom(c.zoom);
    const QImage image = Render(drawing, 1100, 600);
    const int a = 100 * c.zoom / 100, b = 200 * c.zoom / 100;
    EXPECT_EQ(Bounds(image, kGrey), QRect(QPoint(a - c.half, a - c.half), QPoint(b + c.half, a + c.half))) << c.zoom;
    EXPECT_EQ(Count(image, kBlack), 0) << c.zoom;
    EXPECT_EQ(At(image, a, a - c.half), kGrey) << c.zoom;
    EXPECT_EQ(At(image, a, a - c.half + 1), kWhite) << "handles are hollow at " << c.zoom;
  }
}

TEST(DrawingPixels, SelectionIsAGreyWireframeOnTopOfEverything) {
  CTavlo drawing;
  drawing.AddShape(Box(20, 20, 80, 80, 3, RGB(0, 0, 0), -100, RGB(255, 0, 0)));
  drawing.AddShape(Box(50, 50, 120, 120, 1, RGB(0, 0, 0), -100, RGB(0, 0, 255)));
  drawing.ClearSelection();
  const QImage plain = Render(drawing, 130, 130);
  EXPECT_EQ(At(plain, 35, 35), kRed);
  EXPECT_EQ(At(plain, 80, 65), kBlue) << "shape 1 lies in front of shape 0";
  EXPECT_EQ(At(plain, 19, 35), kBlack) << "the 3-pixel pen reaches outside the edge";

  drawing.SetSelected(0);
  const QImage selected = Render(drawing, 130, 130);
  EXPECT_EQ(At(selected, 80, 65), kGrey) << "the selected edge shows through the shape in front";
  EXPECT_EQ(At(selected, 35, 35), kWhite) << "its own brush is not shown";
  EXPECT_EQ(At(selected, 35, 20), kGrey);
  EXPECT_EQ(At(selected, 19, 35), kWhite) << "nor its own pen";
  EXPECT_EQ(At(selected, 81, 65), kBlue);
  EXPECT_EQ(At(selected, 100, 100), kBlue);
}

TEST(DrawingPixels, RotateModeDrawsBlackHandlesAndACentreMarker) {
  CTavlo drawing;
  CShape box = Box(20, 20, 80, 60);
  box.SetCenter(50, 40);
  drawing.AddShape(box);
  for (bool rotate : {false, true}) {
    drawing.SetRotateMode(rotate);
    const QImage image = Render(drawing, 100, 80);
    const QRgb handle = rotate ? kBlack : kGrey, marker = rotate ? kBlack : kWhite;
    EXPECT_EQ(At(image, 17, 17), handle) << rotate;
    EXPECT_EQ(At(image, 50, 63), handle) << rotate;
    EXPECT_EQ(At(image, 35, 20), kGrey) << "the outline stays grey, rotate " << rotate;
    EXPECT_EQ(At(image, 50, 40), marker) << rotate;
    EXPECT_EQ(At(image, 47, 40), marker) << rotate;
    EXPECT_EQ(At(image, 50, 43), marker) << rotate;
    EXPECT_EQ(At(image, 45, 40), marker) << "left of the centre circle, rotate " << rotate;
    EXPECT_EQ(At(image, 50, 35), marker) << "top of the centre circle, rotate " << rotate;
    EXPECT_EQ(At(image, 48, 38), kWhite) << rotate;
  }
}

TEST(DrawingPixels, NullPenLeavesOnlyTheFill) {
  CTavlo drawing;
  drawing.AddShape(Box(10, 10, 40, 40, 3, RGB(0, 0, 0), -100, RGB(255, 0, 0), PS_NULL));
  drawing.AddShape(Shape(kLine, {{0, 45}, {49, 45}}, 3, RGB(0, 0, 0), -1, 0, PS_NULL));
  drawing.ClearSelection();
  const QImage image = Render(drawing, 50, 50);
  EXPECT_EQ(Count(image, kBlack), 0);
  EXPECT_EQ(At(image, 25, 25), kRed);
  EXPECT_EQ(Count(image, kRed) + Count(image, kWhite), 2500);
}
