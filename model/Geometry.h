#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/core/Point.h"

// Integer arithmetic of the zoom and the rotation. Every intermediate is 64-bit and every result
// is clamped to the 32-bit range, so coordinates anywhere in that range never overflow; wherever
// nothing overflows the results are those of plain 32-bit arithmetic.
namespace geometry {

// Inline, as painting and searching ask it for every shape they look at.
constexpr int32_t Clamp32(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// a / b rounded down (toward minus infinity), for b > 0.
constexpr int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// v * zoom / 100 and v * 100 / zoom, truncating toward zero. A zoom of 0 leaves v unchanged.
constexpr int32_t Zoom(int32_t v, int zoom) { return Clamp32(int64_t(v) * zoom / 100); }
int32_t Unzoom(int32_t v, int zoom);

// Truncate toward zero, then add 1 when the dropped fraction is at least 0.5: halves round up
// for positive values and negative values are simply truncated (-2.7 gives -2). Values beyond
// +-2^53 are clamped there first; NaN gives 0.
int64_t RoundHalfUp(double v);

// Turns p about c by `angle` radians (clockwise on screen, where y grows downwards): the offset
// is rotated in double precision and each coordinate rounded with RoundHalfUp.
CPoint Turn(CPoint p, CPoint c, double angle);

}  // namespace geometry
