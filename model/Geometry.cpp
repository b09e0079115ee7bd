#include "model/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace geometry {

int32_t Unzoom(int32_t v, int zoom) { return zoom == 0 ? v : Clamp32(int64_t(v) * 100 / zoom); }

int64_t RoundHalfUp(double v) {
  constexpr double kLimit = 9007199254740992.0;  // 2^53: every integer up to here is exact
  if (std::isnan(v)) return 0;
  v = std::clamp(v, -kLimit, kLimit);
  const int64_t t = int64_t(v);
  return v - double(t) >= 0.5 ? t + 1 : t;
}

CPoint Turn(CPoint p, CPoint c, double angle) {
  const double dx = double(int64_t(p.x) - c.x);
  const double dy = double(int64_t(p.y) - c.y);
  const double rx = std::cos(angle) * dx - std::sin(angle) * dy;
  const double ry = std::sin(angle) * dx + std::cos(angle) * dy;
  return CPoint(Clamp32(c.x + RoundHalfUp(rx)), Clamp32(c.y + RoundHalfUp(ry)));
}

}  // namespace geometry
