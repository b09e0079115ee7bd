#pragma once

#include <cstdint>

#include "platform/core/Point.h"

// The integer midpoint walk round the outline of the ellipse inscribed in the box with corners p
// and q (zoomed pixels), asking whether any walked pixel is strictly within t of (X, Y) in both
// axes. This is the outline test of an ellipse shape.
//
// The walk may take billions of steps for a large box. Where its course is known in closed form
// (the pixel row of every column in the flat part, the column of every row in the steep part)
// and no pixel in between can be near the point, it jumps over the stretch instead of walking it:
// the answer is always the one the full walk gives. Stretches shorter than `minJump` steps are
// walked; tests lower it to make every jump happen.
bool EllipseWalkNear(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t, int64_t minJump = 64);

// The plain walk, step by step, for comparison in tests.
bool EllipseWalkNearStepwise(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t);
