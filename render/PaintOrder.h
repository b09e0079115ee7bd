#pragma once

#include <vector>

#include "render/PixelBox.h"

class CTavlo;
class ShapeIndex;

namespace paint_order {

// The shapes of the drawing but `skipped` (the selection, or -1) that can change a pixel at `zoom` of `shown` (the
// zoomed pixels a target shows; a pixel beyond each edge counts too, for the rounding of edges), in stacking order:
// for a target that keeps every call it is given rather than pixels.
std::vector<int> ShapesReaching(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown);
// The same for a target where painting replaces the pixels it touches outright (opaque colours, no blending or
// smoothing, nothing kept but the finished pixels), of `ratio` device pixels to the pixel (at least 1), whose device
// pixels all lie within `shown`: shapes whose every pixel there the fills of shapes above them paint over are left out
// as well.
std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, double ratio);
// The same, asking `index` (of the drawing's list) for the shapes near `shown` from the front backwards, and looking
// no further down where the shapes above cover all: what a crowded drawing buries costs next to nothing.
std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, double ratio,
                               const ShapeIndex& index);

}  // namespace paint_order
