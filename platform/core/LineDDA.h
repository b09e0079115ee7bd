#pragma once

#include <cstdint>

using LINEDDAPROC = void (*)(int x, int y, void* data);

// Walks the straight line from (x1, y1) towards (x2, y2): one pixel per step of the longer axis,
// the start pixel included and the end pixel excluded, so equal ends visit nothing. At step i the
// longer axis has moved i pixels and the shorter one i * (its distance) / (steps), rounded to
// nearest with halves away from zero. Works for any 32-bit coordinates.
void LineDDA(int x1, int y1, int x2, int y2, LINEDDAPROC proc, void* data);

// The number of steps of that walk: the distance along the longer axis.
int64_t LineDDAStepCount(int x1, int y1, int x2, int y2);

// Only the steps first to last - 1 of the same walk (clipped to it), visiting exactly the pixels
// LineDDA visits at those steps. Lets a caller that cares about one neighbourhood skip the rest
// of a long line.
void LineDDASteps(int x1, int y1, int x2, int y2, int64_t first, int64_t last, LINEDDAPROC proc, void* data);
