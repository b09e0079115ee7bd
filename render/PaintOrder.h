#pragma once

#include <vector>

#include "render/PixelBox.h"

class CTavlo;

namespace paint_order {

// The shapes of the drawing but `skipped` (the selection, or -1) that can change a pixel at `zoom` of `shown` (the
// zoomed pixels a target shows; a pixel beyond each edge counts too, for the rounding of edges), in stacking order. On
// a target where painting replaces the pixels it touches outright (`opaque`: opaque colours, no blending or smoothing,
// nothing kept but the finished pixels), shapes whose every pixel the fills of shapes above them paint over are left
// out as well. `candidates`, when given, are the only shapes looked at (ascending): all that can reach `shown`.
std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, int skipped, const PixelBox& shown, bool opaque,
                               const std::vector<int>* candidates = nullptr);

}  // namespace paint_order
