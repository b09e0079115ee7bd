#pragma once

#include "platform/core/CDC.h"

// The pixels Qt's hatch brushes set, as the exports repeat them: 8 by 8 tiles laid from the
// picture's origin, whatever the zoom. The horizontal hatch is row 3 of each tile, the vertical
// one column 4, the falling diagonal the pixels (i, i) and the rising one (7 - i, i); the crosses
// are two of them.
//
// On a screen of more device pixels to the pixel, the tile is made of square blocks of device
// pixels instead, each as wide as a pen one pixel wide is there (see CQPainterDC), and holds as
// many blocks a side as come nearest to kSize pixels: at a whole ratio the tile enlarged, at any
// other ratio lines of one even width.
namespace hatch_tile {

constexpr int kSize = 8;
constexpr int kRow = 3;
constexpr int kColumn = 4;

constexpr bool Across(int hatch) { return hatch == HS_HORIZONTAL || hatch == HS_CROSS; }
constexpr bool Down(int hatch) { return hatch == HS_VERTICAL || hatch == HS_CROSS; }
constexpr bool Falling(int hatch) { return hatch == HS_FDIAGONAL || hatch == HS_DIAGCROSS; }
constexpr bool Rising(int hatch) { return hatch == HS_BDIAGONAL || hatch == HS_DIAGCROSS; }

// The tile's blocks: `side` device pixels each, `count` of them a side.
struct Blocks {
  int side = 1, count = kSize;
};

// Whether `hatch` sets the device pixel (x, y), counted from the tiles' origin, of a tile of
// `blocks`.
constexpr bool Sets(int hatch, int x, int y, Blocks blocks = {}) {
  const int tile = blocks.side * blocks.count;
  const int column = (((x % tile) + tile) % tile) / blocks.side, row = (((y % tile) + tile) % tile) / blocks.side;
  const int across = (kRow * blocks.count + kSize / 2) / kSize, down = (kColumn * blocks.count + kSize / 2) / kSize;
  return (Across(hatch) && row == across) || (Down(hatch) && column == down) || (Falling(hatch) && column == row) ||
         (Rising(hatch) && column == blocks.count - 1 - row);
}

}  // namespace hatch_tile
