#include "render/PaintOrder.h"

#include <algorithm>

#include "model/CTavlo.h"
#include "render/CoverageMask.h"
#include "render/ShapeCover.h"
#include "render/ShapeIndex.h"

namespace paint_order {

namespace {

bool Reaches(const CShape& s, int zoom, const PixelBox& area) {
  PixelBox box;
  return !ShapeCover::Extent(s, zoom, box) || box.Overlaps(area);
}

// The cells of the fine mask over `area`, at most its limit (without overflowing on huge areas).
int64_t CellCount(const PixelBox& area) {
  constexpr int64_t kMost = int64_t(1) << 24;
  const int64_t width = area.right - area.left + 1, height = area.bottom - area.top + 1;
  if (width <= 0 || height <= 0) return 1;
  return width > kMost / height ? kMost : width * height;
}

// Pixel x covers x to x + 1: one more pixel beyond both of those edges.
PixelBox Widened(const PixelBox& shown) { return {shown.left - 1, shown.top - 1, shown.right + 2, shown.bottom + 2}; }

// Shapes asked about from the front backwards, over `area`: a shape is left out when the filled
// insides of the shapes shown above it already cover every pixel of the area it could touch: they
// would paint over all of it anyway. Dense drawings bury most of their shapes this way.
//
// Only the area's own pixels count: the target's device pixels lie within it. The pixel beyond
// each edge that ShapesReaching looks at for the rounding of edges is on no target, and no fill
// could ever be known to cover it: every shape that reached it would be painted.
class Burial {
 public:
  // A coarse mask beside the fine one answers most questions about deeply buried shapes in a few
  // words; only where it cannot tell is the fine one asked.
  Burial(const PixelBox& area, double ratio)
      : m_area(area), m_ratio(ratio), m_covered(area), m_coarse(area, std::max<int64_t>(1, CellCount(area) / 64)) {}

  // Whether `s`, below every shape asked about before, shows; if so, what its fill paints counts
  // as covered from now on. `near`, when given, holds the shape's extent.
  bool Shows(const CShape& s, int zoom, const PixelBox* near = nullptr) {
    // Most shapes of a crowded drawing lie wholly under the fills above them, which one question
    // about their bound settles: asked about `near`, it needs nothing from the shape's record,
    // which in a large drawing lies far from the last one read.
    auto underFills = [&](const PixelBox& extent) {
      const PixelBox bound = ShapeCover::BoundOf(extent);
      return ShapeCover::Trusted(bound) && m_coarse.Covers(bound);
    };
    if (near && underFills(*near)) return false;
    PixelBox extent;
    if (!ShapeCover::Extent(s, zoom, extent)) return true;  // a shape without points is simply passed on
    if (!near && underFills(extent)) return false;
    PixelBox boxes[ShapeCover::kMaxBoxes];
    const int reach = ShapeCover::Reach(s, zoom, m_ratio, extent, boxes);
    bool seen = false, buried = true;
    for (int r = 0; r < reach; ++r) {
      const PixelBox& b = boxes[r];
      if (!b.Overlaps(m_area)) continue;
      seen = true;
      buried = buried && ShapeCover::Trusted(b) && (m_coarse.Covers(b) || m_covered.Covers(b));
    }
    if (!seen || buried) return false;
    const int core = ShapeCover::Core(s, zoom, m_ratio, boxes);
    for (int c = 0; c < core; ++c) m_covered.Cover(boxes[c]), m_coarse.Cover(boxes[c]);
    return true;
  }
  // Every pixel is covered: no shape further down can show.
  bool Full() const { return m_covered.Full(); }
  // Every pixel of `box` within the area is covered.
  bool Covers(const PixelBox& box) const { return m_coarse.Covers(box) || m_covered.Covers(box); }

 private:
  PixelBox m_area;
  double m_ratio;
  CoverageMask m_covered, m_coarse;
};

}  // namespace

std::vector<int> ShapesReaching(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown) {
  const PixelBox area = Widened(shown);
  const CShapeArray& shapes = drawing.GetShapes();
  std::vector<int> order;
  for (int i = 0; i < shapes.GetSize(); ++i)
    if (i != skipped && Reaches(shapes[i], zoom, area)) order.push_back(i);
  return order;
}

std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, double ratio) {
  const CShapeArray& shapes = drawing.GetShapes();
  std::vector<int> order;
  Burial burial(shown, ratio);
  for (int i = shapes.GetUpperBound(); i >= 0; --i)
    if (i != skipped && burial.Shows(shapes[i], zoom)) order.push_back(i);
  std::reverse(order.begin(), order.end());
  return order;
}

std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, double ratio,
                               const ShapeIndex& index) {
  const CShapeArray& shapes = drawing.GetShapes();
  std::vector<int> order;
  Burial burial(shown, ratio);
  // ShapesToPaint looks up to two pixels beyond the part, for the rounding of edges.
  index.Descending(
      shown, zoom, 2,
      [&](int i, const PixelBox& near) {
        if (i != skipped && burial.Shows(shapes[i], zoom, &near)) order.push_back(i);
        return !burial.Full();
      },
      // Far out the raster engine's pixels are not bounded closely: nothing there is left out.
      [&](const PixelBox& box) { return ShapeCover::Trusted(box) && burial.Covers(box); });
  std::reverse(order.begin(), order.end());
  return order;
}

}  // namespace paint_order
