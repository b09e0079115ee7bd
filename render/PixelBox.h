#pragma once

#include <cstdint>

// A box of pixels, both corners included.
struct PixelBox {
  int64_t left = 0, top = 0, right = 0, bottom = 0;

  bool Overlaps(const PixelBox& o) const {
    return right >= o.left && left <= o.right && bottom >= o.top && top <= o.bottom;
  }
};
