#pragma once

#include <cstdint>

#include "platform/core/Point.h"

// For tests: EllipseWalkNear with the length below which a stretch is walked rather than jumped.
// EllipseWalkNear uses 64; a test passes 1 to make every jump happen in small boxes too.
bool EllipseWalkNearJumping(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t, int64_t shortestJump);
