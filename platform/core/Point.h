#pragma once

#include <cstdint>

// The point of the drawing: two signed 32-bit coordinates, x first. Shape records store these.
struct POINT {
  int32_t x;
  int32_t y;
};

struct SIZE {
  int32_t cx;
  int32_t cy;
};

class CPoint : public POINT {
 public:
  constexpr CPoint() : POINT{0, 0} {}
  constexpr CPoint(int32_t px, int32_t py) : POINT{px, py} {}
  constexpr CPoint(POINT p) : POINT(p) {}

  friend constexpr bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
};

class CSize : public SIZE {
 public:
  constexpr CSize() : SIZE{0, 0} {}
  constexpr CSize(int32_t w, int32_t h) : SIZE{w, h} {}

  friend constexpr bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};
