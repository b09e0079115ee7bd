// What CTavlo::Draw asks of a device context, call by call, on the recording context.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "model/CTavlo.h"
#include "platform/core/CRecordingDC.h"

namespace {

using Calls = std::vector<std::string>;

CShape Shape(int type, std::vector<CPoint> points, int brushStyle = -200, CPoint centre = CPoint()) {
  CShape s;
  s.SetType(type);
  s.SetPenStyle(PS_DASH);
  s.SetPenWidth(2);
  s.SetPenColor(RGB(255, 0, 0));
  s.SetBrushStyle(brushStyle);
  s.SetBrushColor(RGB(0, 255, 0));
  s.SetCenter(centre.x, centre.y);
  s.SetPointCount(int(points.size()));
  for (int i = 0; i < int(points.size()); ++i) s.SetPoint(i, points[i].x, points[i].y);
  return s;
}

const std::vector<CPoint> kBox{{0, 0}, {100, 0}, {100, 50}, {0, 50}};

// The object name at the end of a log line ("#3", "NULL_BRUSH", ...).
std::string NameIn(const std::string& line) { return line.substr(line.rfind(' ') + 1); }

struct Recorded {
  Calls calls;       // everything between making and freeing the two selection pens
  std::string grey;  // names of those pens
  std::string black;
};

// Paints `drawing` on a fresh recording context. Every paint makes the grey and the black selection
// pen first and frees them last, frees whatever else it made and leaves the context's own pen and
// brush current again.
Recorded Record(const CTavlo& drawing) {
  CRecordingDC dc;
  drawing.Draw(dc);
  EXPECT_TRUE(dc.Unfreed().empty());
  EXPECT_TRUE(dc.BackToStart());
  const Calls& log = dc.Log();
  Recorded r;
  if (log.size() < 4) {
    ADD_FAILURE() << "too few calls";
    return r;
  }
  for (int i : {0, 1}) {
    if (log[i].rfind("CreatePen 0 1 0xE6E6E6 ", 0) == 0) r.grey = NameIn(log[i]);
    if (log[i].rfind("CreatePen 0 1 0x000000 ", 0) == 0) r.black = NameIn(log[i]);
  }
  EXPECT_FALSE(r.grey.empty() || r.black.empty()) << log[0] << " / " << log[1];
  const size_t n = log.size();
  EXPECT_TRUE((log[n - 2] == "DeleteObject " + r.grey && log[n - 1] == "DeleteObject " + r.black) ||
              (log[n - 2] == "DeleteObject " + r.black && log[n - 1] == "DeleteObject " + r.grey))
      << log[n - 2] << " / " << log[n - 1];
  r.calls.assign(log.begin() + 2, log.end() - 2);
  return r;
}

Calls Starting(const Calls& calls, const std::string& prefix) {
  Calls out;
  for (const std::string& c : calls)
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  return out;
}

CTavlo Unselected(std::vector<CShape> shapes, int zoom = 100) {
  CTavlo drawing;
  for (CShape& s : shapes) drawing.AddShape(s);
  drawing.ClearSelection();
  drawing.SetZoom(zoom);
  return drawing;
}

}  // namespace

TEST(DrawRecording, FillableShapeMakesPenThenBrushAndRestoresBothBeforeFreeing) {
  const Recorded hatched = Record(Unselected({Shape(kRectangle, kBox, HS_FDIAGONAL)}));
  ASSERT_EQ(hatched.calls.size(), 9u);
  const std::string pen = NameIn(hatched.calls[0]), brush = NameIn(hatched.calls[2]);
  EXPECT_EQ(hatched.calls,
            (Calls{"CreatePen 1 2 0x0000FF " + pen, "SelectObject " + pen + " <- BLACK_PEN",
                   "CreateHatchBrush 2 0x00FF00 " + brush, "SelectObject " + brush + " <- WHITE_BRUSH",
                   "Polygon 0,0 100,0 100,50 0,50", "SelectObject BLACK_PEN <- " + pen,
                   "SelectObject WHITE_BRUSH <- " + brush, "DeleteObject " + pen, "DeleteObject " + brush}));
  EXPECT_NE(pen, brush);

  const Recorded solid = Record(Unselected({Shape(kEllipse, kBox, -100)}));
  ASSERT_EQ(solid.calls.size(), 9u);
  EXPECT_EQ(solid.calls[2], "CreateSolidBrush 0x00FF00 " + NameIn(solid.calls[2]));
  EXPECT_EQ(solid.calls[4], "Ellipse 0 0 100 50");

  const Recorded hollow = Record(Unselected({Shape(kPolygonRect, kBox, -200)}));
  const std::string hollowPen = NameIn(hollow.calls[0]);
  EXPECT_EQ(hollow.calls, (Calls{"CreatePen 1 2 0x0000FF " + hollowPen, "SelectObject " + hollowPen + " <- BLACK_PEN",
                                 "SelectStockObject NULL_BRUSH <- WHITE_BRUSH", "Polygon 0,0 100,0 100,50 0,50",
                                 "SelectObject BLACK_PEN <- " + hollowPen, "SelectObject WHITE_BRUSH <- NULL_BRUSH",
                                 "DeleteObject " + hollowPen}));
}

TEST(DrawRecording, LinesAndCurvesLeaveTheBrushAloneAndKeepTheirPenWidthAtAnyZoom) {
  const Recorded r = Record(Unselected(
      {Shape(kLine, {{10, 20}, {30, 41}}, -100), Shape(kBezier, {{0, 0}, {10, 0}, {10, 10}, {0, 11}}, -100)}, 500));
  ASSERT_EQ(r.calls.size(), 10u);
  const std::string line = NameIn(r.calls[0]), curve = NameIn(r.calls[5]);
  EXPECT_EQ(r.calls,
            (Calls{"CreatePen 1 2 0x0000FF " + line, "SelectObject " + line + " <- BLACK_PEN",
                   "Polyline 50,100 150,205", "SelectObject BLACK_PEN <- " + line, "DeleteObject " + line,
                   "CreatePen 1 2 0x0000FF " + curve, "SelectObject " + curve + " <- BLACK_PEN",
                   "PolyBezier 0,0 50,0 50,50 0,55", "SelectObject BLACK_PEN <- " + curve, "DeleteObject " + curve}));
}

TEST(DrawRecording, EveryPaintMakesFreshPensAndUnknownKindsMakeNone) {
  const CTavlo drawing = Unselected({Shape(0, kBox), Shape(7, kBox), Shape(-1, kBox), Shape(kLine, kBox)});
  EXPECT_EQ(Starting(Record(drawing).calls, "CreatePen").size(), 1u);
  CRecordingDC dc;
  drawing.Draw(dc);
  drawing.Draw(dc);
  EXPECT_EQ(dc.Calls("CreatePen 1 2").size(), 2u);
  EXPECT_EQ(dc.Calls("Poly").size(), 2u);
  EXPECT_TRUE(dc.Unfreed().empty());

  EXPECT_TRUE(Record(CTavlo()).calls.empty());
}

TEST(DrawRecording, SelectedShapeIsGreyWithHandlesAtPointsAndEdgeMiddles) {
  CTavlo drawing;
  drawing.AddShape(Shape(kRectangle, kBox, -100));
  const Recorded r = Record(drawing);
  const std::string& g = r.grey;
  EXPECT_EQ(r.calls,
            (Calls{"SelectObject " + g + " <- BLACK_PEN", "SelectStockObject NULL_BRUSH <- WHITE_BRUSH",
                   "Rectangle -3 -3 3 3", "Rectangle 47 -3 53 3", "Rectangle 97 -3 103 3", "Rectangle 97 22 103 28",
                   "Rectangle 97 47 103 53", "Rectangle 47 47 53 53", "Rectangle -3 47 3 53", "Rectangle -3 22 3 28",
                   "SelectObject " + g + " <- " + g, "Polygon 0,0 100,0 100,50 0,50",
                   "SelectObject WHITE_BRUSH <- NULL_BRUSH", "SelectObject BLACK_PEN <- " + g}));
}

TEST(DrawRecording, HandleCountsAndTheFramesOfCurves) {
  for (int type : {kLine, kRectangle, kPolygonRect, kBezier, kEllipse}) {
    CTavlo drawing;
    drawing.AddShape(Shape(kLine, {{0, 0}, {5, 5}}));  // an unselected shape behind
    drawing.AddShape(Shape(type, type == kLine ? std::vector<CPoint>{{0, 0}, {100, 60}} : kBox));
    drawing.SetZoom(200);
    const Calls calls = Record(drawing).calls;
    const Calls handles = Starting(calls, "Rectangle");
    ASSERT_EQ(handles.size(), type == kLine ? 2u : 8u) << type;
    EXPECT_EQ(handles[0], "Rectangle -6 -6 6 6") << type;
    const Calls shapes(std::find(calls.begin(), calls.end(), handles.back()) + 2, calls.end() - 2);
    switch (type) {
      case kLine: EXPECT_EQ(shapes, Calls{"Polyline 0,0 200,120"}); break;
      case kRectangle:
      case kPolygonRect: EXPECT_EQ(shapes, Calls{"Polygon 0,0 200,0 200,100 0,100"}) << type; break;
      case kBezier:
        EXPECT_EQ(shapes, (Calls{"Polygon 0,0 200,0 200,100 0,100", "PolyBezier 0,0 200,0 200,100 0,100"}));
        break;
      case kEllipse: EXPECT_EQ(shapes, (Calls{"Polygon 0,0 200,0 200,100 0,100", "Ellipse 0 0 200 100"})); break;
    }
  }
  // No points, no handles.
  CTavlo empty;
  empty.AddShape(Shape(kRectangle, {}));
  EXPECT_TRUE(Starting(Record(empty).calls, "Rectangle").empty());
}

TEST(DrawRecording, RotateModeDrawsBlackHandlesAndTheCentreMarker) {
  CTavlo drawing;
  drawing.AddShape(Shape(kLine, {{40, 50}, {60, 50}}, -200, CPoint(50, 50)));
  drawing.SetRotateMode(true);
  const Recorded r = Record(drawing);
  EXPECT_EQ(r.calls, (Calls{"SelectObject " + r.black + " <- BLACK_PEN", "SelectStockObject NULL_BRUSH <- WHITE_BRUSH",
                            "Rectangle 37 47 43 53", "Rectangle 57 47 63 53", "Ellipse 45 45 55 55", "MoveTo 47 50",
                            "LineTo 53 50", "MoveTo 50 47", "LineTo 50 53", "SelectObject " + r.grey + " <- " + r.black,
                            "Polyline 40,50 60,50", "SelectObject WHITE_BRUSH <- NULL_BRUSH",
                            "SelectObject BLACK_PEN <- " + r.grey}));
}

TEST(DrawRecording, RotationPreviewTurnsPointsAndHandlesButNotThePivot) {
  // A quarter turn: the point 10 right of the centre is drawn 10 below it.
  CTavlo drawing;
  drawing.AddShape(Shape(kLine, {{50, 50}, {60, 50}}, -200, CPoint(50, 50)));
  drawing.SetRotateMode(true);
  drawing.SetZoom(200);
  drawing.TrackRotation(60, 50, 50, 60);
  const Calls quarter = Record(drawing).calls;
  EXPECT_EQ(Starting(quarter, "Polyline"), Calls{"Polyline 100,100 100,120"});
  EXPECT_EQ(Starting(quarter, "Rectangle"), (Calls{"Rectangle 94 94 106 106", "Rectangle 94 114 106 126"}));
  EXPECT_EQ(Starting(quarter, "Ellipse"), Calls{"Ellipse 92 92 108 108"});

  // A small turn upwards: 27 right of the centre goes to (26.87, -2.69), drawn as (27, -2).
  CTavlo small;
  small.AddShape(Shape(kLine, {{50, 50}, {77, 50}}, -200, CPoint(50, 50)));
  small.SetRotateMode(true);
  small.TrackRotation(60, 50, 60, 49);
  const Calls turned = Record(small).calls;
  EXPECT_EQ(Starting(turned, "Polyline"), Calls{"Polyline 50,50 77,48"});
  EXPECT_EQ(Starting(turned, "Rectangle").back(), "Rectangle 74 45 80 51");
}

namespace {

// Remembers which pen and brush were current when a polygon was drawn.
class SpyDC : public CRecordingDC {
 public:
  void Polygon(const POINT* points, int count) override {
    pen = &GetCurrentPen();
    penStyle = pen->style;
    brush = &GetCurrentBrush();
    CRecordingDC::Polygon(points, count);
  }
  const CPen* pen = nullptr;  // not to be followed once the drawing is done
  int penStyle = -1;
  const CBrush* brush = nullptr;
};

}  // namespace

TEST(DrawRecording, RefusedPenOrBrushLeavesTheCurrentOneInUse) {
  CShape oddBrush = Shape(kRectangle, kBox, 9);
  CShape oddPen = Shape(kRectangle, kBox, -200);
  oddPen.SetPenStyle(8);
  for (bool brushRefused : {true, false}) {
    SpyDC dc;
    CPen myPen;
    CBrush myBrush;
    ASSERT_TRUE(dc.CreatePen(myPen, PS_DOT, 1, RGB(1, 2, 3)));
    ASSERT_TRUE(dc.CreateHatchBrush(myBrush, HS_CROSS, RGB(4, 5, 6)));
    dc.SelectObject(&myPen);
    dc.SelectObject(&myBrush);
    Unselected({brushRefused ? oddBrush : oddPen}).Draw(dc);
    ASSERT_EQ(dc.Calls("Polygon").size(), 1u);
    if (brushRefused) {
      EXPECT_EQ(dc.brush, &myBrush);
      EXPECT_EQ(dc.penStyle, PS_DASH) << "the shape's own pen";
      EXPECT_EQ(dc.Calls("CreateHatchBrush 9").size(), 1u);
    } else {
      EXPECT_EQ(dc.pen, &myPen);
      EXPECT_EQ(dc.brush, &CDC::StockNullBrush());
    }
    EXPECT_EQ(&dc.GetCurrentPen(), &myPen);
    EXPECT_EQ(&dc.GetCurrentBrush(), &myBrush);
    EXPECT_EQ(dc.Unfreed(), (std::set<int>{myPen.GetSerial(), myBrush.GetSerial()}));
  }
}
