#pragma once

#include <cstdint>

#include "model/CShape.h"
#include "render/PixelBox.h"

// Where a shape drawn upright at a zoom (no turn in progress) can change pixels, and where it is
// sure to paint every pixel, each as a few upright boxes. A painter that replaces pixels uses the
// two to leave out shapes that later shapes paint over entirely.
class ShapeCover {
 public:
  static constexpr int kMaxBoxes = 16;

  // Boxes that together hold every pixel the shape can change, its pen included, on a picture of
  // `ratio` (at least 1) device pixels to the pixel: each device pixel it changes meets a pixel of
  // a box; at most kMaxBoxes. `extent` is the shape's Extent, which a shape without points has
  // not. Returns how many.
  static int Reach(const CShape& shape, int zoom, double ratio, const PixelBox& extent, PixelBox* boxes);
  // Boxes each wholly painted by the shape's fill on a picture of `ratio` (at least 1) device
  // pixels to the pixel: every device pixel that meets a pixel of a box; at most kMaxBoxes. Only
  // fills that paint every pixel count: solid ones and hatches, whose gaps take the background.
  // Returns how many.
  static int Core(const CShape& shape, int zoom, double ratio, PixelBox* boxes);

  // The box of the zoomed points widened by the pen: a bound of the whole shape.
  static bool Extent(const CShape& shape, int zoom, PixelBox& box);
  // A box that holds every box Reach gives for a shape whose extent lies within `extent` (a
  // little wider, for their rounding), found without working them out.
  static PixelBox BoundOf(const PixelBox& extent);
  // Near enough to the origin that the raster engine's pixels stay within these bounds. Far out
  // it clips paths itself, and shapes there are neither left out nor used to leave others out.
  static bool Trusted(const PixelBox& box);
};
