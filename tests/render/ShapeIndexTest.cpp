// The spatial index only narrows the search: a search among what it finds must give exactly what
// the search through every shape gives, and it must find every shape that reaches an area.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "model/CTavlo.h"
#include "model/Geometry.h"
#include "render/DrawingRenderer.h"
#include "render/ShapeCover.h"
#include "render/ShapeIndex.h"
#include "tests/support/RandomShapes.h"

namespace {

using random_shapes::Pick;

// Shapes of every size: the ordinary ones, specks, thin and huge ellipses, shapes far out at the
// ends of the 32-bit range and records with fewer points than their kind draws.
CShape AnyShape(std::mt19937& rng) {
  CShape s = Pick(rng, 2) ? random_shapes::RandomShape(rng) : random_shapes::CrowdedShape(rng);
  switch (Pick(rng, 8)) {
    case 0:  // a speck
      for (int k = 0; k < s.GetPointCount(); ++k)
        s.SetPoint(k, s.GetPoint(0).x + Pick(rng, 3), s.GetPoint(0).y + Pick(rng, 3));
      break;
    case 1: {  // a thin or a huge ellipse
      s.SetType(kEllipse);
      const int w = Pick(rng, 2) ? Pick(rng, 3) : 100000 + Pick(rng, 1000000);
      s.SetPoint(2, s.GetPoint(0).x + w, s.GetPoint(0).y + Pick(rng, 40));
      break;
    }
    case 2:  // far out
      for (int k = 0; k < s.GetPointCount(); ++k)
        s.SetPoint(k, Pick(rng, 2) ? INT_MAX - Pick(rng, 100) : INT_MIN + Pick(rng, 100), s.GetPoint(k).y);
      break;
    case 3: s.SetPointCount(Pick(rng, 4)); break;                                           // short records
    case 4: s.SetCenter(s.GetCenter().x + Pick(rng, 2000) - 1000, s.GetCenter().y); break;  // a centre far off
    default: break;
  }
  return s;
}

}  // namespace

TEST(ShapeIndex, SearchingTheFoundShapesGivesWhatSearchingAllGives) {
  std::mt19937 rng(21);
  int hits = 0;
  for (int round = 0; round < 30; ++round) {
    CTavlo drawing;
    const int shapes = 1 + Pick(rng, 400);
    for (int i = 0; i < shapes; ++i) drawing.AddShape(AnyShape(rng));
    drawing.SetSelected(Pick(rng, 3) ? Pick(rng, shapes) : -1);
    drawing.SetRotateMode(Pick(rng, 2));
    const int zooms[] = {50, 100, 150, 200, 300, 500, 1, 1000};
    drawing.SetZoom(zooms[Pick(rng, 8)]);
    DrawingRenderer renderer;
    // Probes, then changes of the list that the index follows rather than being built again, then
    // probes again.
    for (int phase = 0; phase < 3; ++phase) {
      if (phase > 0)
        for (int edit = 1 + Pick(rng, 8); edit > 0; --edit) {
          const int n = drawing.GetUpperBound() + 1;
          switch (Pick(rng, 5)) {
            case 0: drawing.InsertShape(Pick(rng, n + 1), AnyShape(rng)); break;
            case 1: drawing.RemoveShape(Pick(rng, n)); break;
            case 2: drawing.ReplaceShape(Pick(rng, n), AnyShape(rng)); break;
            case 3: drawing.MoveShape(Pick(rng, n), Pick(rng, n)); break;
            default: drawing.SetSelected(Pick(rng, n)); break;
          }
        }
      const int count = drawing.GetUpperBound() + 1;
      if (count == 0) break;
      for (int probe = 0; probe < 100; ++probe) {
        // Near a point or centre of some shape, or anywhere.
        const CShape& s = drawing.GetShapes()[Pick(rng, count)];
        CPoint p = Pick(rng, 2) ? s.GetPoint(Pick(rng, 10)) : s.GetCenter();
        p = CPoint(geometry::Clamp32(int64_t(p.x) + Pick(rng, 21) - 10),
                   geometry::Clamp32(int64_t(p.y) + Pick(rng, 21) - 10));
        if (Pick(rng, 10) == 0) p = CPoint(Pick(rng, 1000) - 100, Pick(rng, 800) - 100);
        int index = 0, kind = 0, part = 0, fastIndex = 0, fastKind = 0, fastPart = 0;
        const bool found = drawing.FindShapeAt(p.x, p.y, index, kind, part);
        ASSERT_EQ(renderer.FindShapeAt(drawing, p.x, p.y, fastIndex, fastKind, fastPart), found)
            << "round " << round << ", phase " << phase << " at " << p.x << ", " << p.y;
        ASSERT_EQ(fastIndex, index);
        ASSERT_EQ(fastKind, kind);
        ASSERT_EQ(fastPart, part);
        hits += found;
      }
      // Every shape whose extent meets an area is found for it.
      const ShapeIndex& index = renderer.Index(drawing);
      for (int area = 0; area < 20; ++area) {
        const int64_t x = Pick(rng, 1200) - 200, y = Pick(rng, 900) - 200;
        const PixelBox box{x, y, x + Pick(rng, 300), y + Pick(rng, 300)};
        const std::vector<int> found = index.Find(box, drawing.GetZoom(), 0);
        ASSERT_TRUE(std::is_sorted(found.begin(), found.end()));
        // The same shapes front to back, where nothing is covered, and no more once told to stop.
        std::vector<int> descending;
        index.Descending(
            box, drawing.GetZoom(), 0,
            [&](int i, const PixelBox& near) {
              // Each comes with a box that holds its extent.
              PixelBox e;
              if (ShapeCover::Extent(drawing.GetShapes()[i], drawing.GetZoom(), e)) {
                EXPECT_TRUE(e.left >= near.left && e.top >= near.top && e.right <= near.right &&
                            e.bottom <= near.bottom)
                    << "shape " << i;
              }
              return descending.push_back(i), true;
            },
            [](const PixelBox&) { return false; });
        ASSERT_TRUE(std::equal(found.rbegin(), found.rend(), descending.begin(), descending.end()))
            << "round " << round << ", phase " << phase;
        int taken = 0;
        index.Descending(
            box, drawing.GetZoom(), 0, [&](int, const PixelBox&) { return ++taken < 3; },
            [](const PixelBox&) { return false; });
        ASSERT_EQ(taken, std::min<int>(3, int(found.size())));
        for (int i = 0; i < count; ++i) {
          PixelBox extent;
          if (ShapeCover::Extent(drawing.GetShapes()[i], drawing.GetZoom(), extent) && extent.Overlaps(box)) {
            ASSERT_TRUE(std::binary_search(found.begin(), found.end(), i))
                << "round " << round << ", phase " << phase << ", shape " << i;
          }
        }
      }
    }
  }
  EXPECT_GT(hits, 1000) << "the probes must hit shapes for the comparison to mean anything";
}

TEST(ShapeIndex, ShapesZoomedBeyondTheEndsOfTheRangeAreFoundWhereTheyMeet) {
  // Above 100 per cent, zoomed points beyond the 32-bit range all come to its end: a probe there
  // reaches every shape that lies that far out, however much further out in drawing units. With
  // every shape far out, the grid of the index lies out there too.
  std::mt19937 rng(5);
  for (int round = 0; round < 40; ++round) {
    CTavlo drawing;
    const int32_t end = round % 2 ? INT_MAX : INT_MIN, toward = round % 2 ? -1 : 1;
    for (int n = 2 + Pick(rng, 10); n > 0; --n) {
      CShape s = random_shapes::RandomShape(rng);
      for (int k = 0; k < s.GetPointCount(); ++k)
        s.SetPoint(k, end + toward * Pick(rng, 4000), end + toward * Pick(rng, 4000));
      s.SetCenter(s.GetPoint(0).x, s.GetPoint(0).y);
      drawing.AddShape(s);
    }
    drawing.SetZoom(101 + Pick(rng, 900));
    DrawingRenderer renderer;
    const CShape& s = drawing.GetShapes()[Pick(rng, drawing.GetUpperBound() + 1)];
    const CPoint p = s.GetPoint(Pick(rng, s.GetPointCount()));
    int index = -1, kind = -1, part = -1, fastIndex = -1, fastKind = -1, fastPart = -1;
    const bool found = drawing.FindShapeAt(p.x, p.y, index, kind, part);
    ASSERT_TRUE(found) << "round " << round << ": the probe lies on a point of a shape";
    ASSERT_EQ(renderer.FindShapeAt(drawing, p.x, p.y, fastIndex, fastKind, fastPart), found) << "round " << round;
    ASSERT_EQ(fastIndex, index);
    ASSERT_EQ(fastKind, kind);
    ASSERT_EQ(fastPart, part);
  }
}
