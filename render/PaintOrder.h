#pragma once

#include <vector>

#include "render/PixelBox.h"

class CTavlo;
class ShapeIndex;

namespace paint_order {

// The shapes of the drawing but `skipped` (the selection, or -1) that can change a pixel at `zoom` of `shown` (the
// zoomed pixels a target shows; a pixel beyond each edge counts too, for the rounding of edges), in stacking order. On
// a target where painting replaces the pixels it touches outright (`opaque`: opaque colours, no blending or smoothing,
// nothing kept but the finished pixels), shapes whose every pixel the fills of shapes above them paint over are left
// out as well.
std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, bool opaque);
// The same on an opaque target, asking `index` (of the drawing's list) for the shapes near `shown`
// from the front backwards, and looking no further down where the shapes above cover all: what a
// crowded drawing buries costs next to nothing.
std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown,
                               const ShapeIndex& index);

}  // namespace paint_order
