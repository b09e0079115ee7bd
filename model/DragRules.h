#pragma once

#include <cstdint>

#include "model/CShape.h"
#include "platform/core/Point.h"

// How a drag of the mouse makes and reshapes shapes. Every rule goes by the tool, which follows
// the kind of the shape picked: a line, a rectangle or ellipse (whose sides stay level and
// upright), or a polygon rectangle or curve (whose points move freely). Coordinates that would
// leave the 32-bit range stop at its end.
namespace drag_rules {

// How far the pointer went since the last step, in drawing units.
struct Step {
  int64_t x = 0, y = 0;
};

// The shape a drag from `from` to `to` over empty space makes with `tool`: a line between them,
// or the box with corners `from`, (to.x, from.y), `to`, (from.x, to.y), its centre ten units below
// and right of `from`. Pen and brush are the caller's.
CShape NewShape(int tool, CPoint from, CPoint to);
// The point of a new shape that the rest of its drag moves: the line's end, the box's far corner.
int NewShapeGrip(int tool);

// Moves what the grip (`mode`, `part`: HIT_VERTEX, HIT_EDGE, HIT_OUTLINE or HIT_CENTER) holds of
// `shape` by `step`, by the rules of `tool`. A rectangle or ellipse keeps its sides: a corner takes
// its two neighbours along, and an edge moves across itself, or along itself with `slide` (the
// space bar), which never shears an ellipse. A line has no edge grip. False when the grip holds
// nothing of the shape; the shape is then as it was.
bool Reshape(CShape& shape, int tool, int mode, int part, Step step, bool slide);

}  // namespace drag_rules
