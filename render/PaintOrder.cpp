#include "render/PaintOrder.h"

#include <algorithm>

#include "model/CTavlo.h"
#include "render/CoverageMask.h"
#include "render/ShapeCover.h"

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

}  // namespace

std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, bool opaque,
                               const std::vector<int>* candidates) {
  // Pixel x covers x to x + 1: one more pixel beyond both of those edges.
  const PixelBox area{shown.left - 1, shown.top - 1, shown.right + 2, shown.bottom + 2};
  const CShapeArray& shapes = drawing.GetShapes();
  const int selected = skipped;
  const int count = candidates ? int(candidates->size()) : shapes.GetSize();
  auto shape = [&](int k) { return candidates ? (*candidates)[k] : k; };
  std::vector<int> order;
  if (!opaque) {
    for (int k = 0; k < count; ++k)
      if (shape(k) != selected && Reaches(shapes[shape(k)], zoom, area)) order.push_back(shape(k));
    return order;
  }
  // Front to back, a shape is left out when the filled insides of the shapes above it already
  // cover every pixel it could touch: they would paint over all of it anyway. Dense drawings
  // bury most of their shapes this way.
  // A coarse mask beside the fine one answers most questions about deeply buried shapes in a few
  // words; only where it cannot tell is the fine one asked.
  CoverageMask covered(area), coarse(area, std::max<int64_t>(1, CellCount(area) / 64));
  PixelBox boxes[ShapeCover::kMaxBoxes];
  for (int k = count - 1; k >= 0; --k) {
    const int i = shape(k);
    if (i == selected) continue;
    const CShape& s = shapes[i];
    // Most shapes of a crowded drawing lie wholly under the fills above them, which one question
    // about their bound settles.
    if (PixelBox bound; ShapeCover::Bound(s, zoom, bound) && ShapeCover::Trusted(bound) && coarse.Covers(bound))
      continue;
    const int reach = ShapeCover::Reach(s, zoom, boxes);
    bool seen = reach == 0, buried = reach > 0;  // a shape without points is simply passed on
    for (int r = 0; r < reach; ++r) {
      const PixelBox& b = boxes[r];
      if (!b.Overlaps(area)) continue;
      seen = true;
      buried = buried && ShapeCover::Trusted(b) && (coarse.Covers(b) || covered.Covers(b));
    }
    if (!seen || buried) continue;
    order.push_back(i);
    const int core = ShapeCover::Core(s, zoom, boxes);
    for (int c = 0; c < core; ++c) covered.Cover(boxes[c]), coarse.Cover(boxes[c]);
  }
  std::reverse(order.begin(), order.end());
  return order;
}

}  // namespace paint_order
