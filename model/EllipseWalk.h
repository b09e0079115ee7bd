#pragma once

#include <cstdint>

#include "platform/core/Point.h"

// Both functions answer one question: does the integer midpoint walk round the outline of the
// ellipse inscribed in the box with corners p and q (zoomed pixels) visit a pixel strictly within
// t of (X, Y) in both axes? The walk's arithmetic is wide enough for any box of 32-bit corners.

// The walk itself, pixel by pixel. It takes about as many steps as the box is wide and high, so
// billions for the largest boxes: it defines the answer, the tests compare with it.
bool EllipseOutlineNear(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t);

// The same answer in bounded work for any box: the outline test of an ellipse shape.
bool EllipseWalkNear(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t);
