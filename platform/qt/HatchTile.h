#pragma once

#include "platform/core/CDC.h"

// The pixels Qt's hatch brushes set, as the exports repeat them: 8 by 8 tiles laid from the
// picture's origin, whatever the zoom. The horizontal hatch is row 3 of each tile, the vertical
// one column 4, the falling diagonal the pixels (i, i) and the rising one (7 - i, i); the crosses
// are two of them.
namespace hatch_tile {

constexpr int kSize = 8;
constexpr int kRow = 3;
constexpr int kColumn = 4;

constexpr bool Across(int hatch) { return hatch == HS_HORIZONTAL || hatch == HS_CROSS; }
constexpr bool Down(int hatch) { return hatch == HS_VERTICAL || hatch == HS_CROSS; }
constexpr bool Falling(int hatch) { return hatch == HS_FDIAGONAL || hatch == HS_DIAGCROSS; }
constexpr bool Rising(int hatch) { return hatch == HS_BDIAGONAL || hatch == HS_DIAGCROSS; }

// Whether `hatch` sets the pixel (x, y) of the picture, counted from the tiles' origin.
constexpr bool Sets(int hatch, int x, int y) {
  const int column = ((x % kSize) + kSize) % kSize, row = ((y % kSize) + kSize) % kSize;
  return (Across(hatch) && row == kRow) || (Down(hatch) && column == kColumn) || (Falling(hatch) && column == row) ||
         (Rising(hatch) && column == kSize - 1 - row);
}

}  // namespace hatch_tile
