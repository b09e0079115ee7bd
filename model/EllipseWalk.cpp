#include "model/EllipseWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/EllipseWalkJumps.h"

namespace {

// 128-bit throughout: squared semi-axes reach 2^62 and their products with coordinates 2^126.
using Wide = __int128;

// The midpoint walk over one quarter of the outline, from the top (0, b) to the right end, in
// pixels relative to the centre; the other quarters are its mirror images. In the flat part each
// step moves one column right and perhaps one row down, in the steep part one row down and perhaps
// one column right. d decides, dx = 2 b^2 px and dy = 2 a^2 py follow the position.
struct Walk {
  Walk(CPoint p, CPoint q)
      : cx(std::min(p.x, q.x) + std::llabs(int64_t(q.x) - p.x) / 2),
        cy(std::min(p.y, q.y) + std::llabs(int64_t(q.y) - p.y) / 2),
        a(std::llabs(int64_t(q.x) - p.x) / 2),
        b(std::llabs(int64_t(q.y) - p.y) / 2),
        a2(Wide(a) * a),
        b2(Wide(b) * b),
        px(0),
        py(b),
        d(b2 - a2 * b + a2 / 4),
        dx(0),
        dy(2 * a2 * b) {}

  bool InFlatPart() const { return dx < dy; }
  void StepFlat() {
    if (d >= 0) {
      --py;
      dy -= 2 * a2;
      d -= dy;
    }
    ++px;
    dx += 2 * b2;
    d += dx + b2;
  }
  void EnterSteepPart() { d += ((3 * (a2 - b2)) / 2 - (dx + dy)) / 2; }
  bool InSteepPart() const { return py >= 0; }
  void StepSteep() {
    if (d <= 0) {
      ++px;
      dx += 2 * b2;
      d += dx;
    }
    --py;
    dy -= 2 * a2;
    d += a2 - dy;
  }

  int64_t cx, cy;
  int64_t a, b;
  Wide a2, b2;
  int64_t px, py;
  Wide d, dx, dy;
};

bool PixelNear(int64_t X, int64_t Y, int64_t qx, int64_t qy, int64_t t) {
  return qx - t < X && X < qx + t && qy - t < Y && Y < qy + t;
}

}  // namespace

bool EllipseOutlineNear(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t) {
  Walk w(p, q);
  auto near = [&] {
    return PixelNear(X, Y, w.cx + w.px, w.cy + w.py, t) || PixelNear(X, Y, w.cx - w.px, w.cy + w.py, t) ||
           PixelNear(X, Y, w.cx + w.px, w.cy - w.py, t) || PixelNear(X, Y, w.cx - w.px, w.cy - w.py, t);
  };
  for (; w.InFlatPart(); w.StepFlat())
    if (near()) return true;
  w.EnterSteepPart();
  for (; w.InSteepPart(); w.StepSteep())
    if (near()) return true;
  return false;
}

// The bounded walk follows. Only two stretches of the walk grow with the box before it reaches
// the point: the flat part left of the point's columns and the steep part above its rows. Both are
// jumped where the walk's course is known: the flat part by the closed form of its row in every
// column, the steep part by runs down one column and by the closed form of its column in every
// row. Everything else is walked.
namespace {

constexpr int64_t kShortestJump = 64;

// Slopes are compared with this margin below 1, far beyond any rounding of long double.
constexpr long double kSlopeLimit = 1.0L - 1e-9L;

// In the flat part the walk keeps d = G1(px, py).
Wide G1(const Walk& w, Wide x, Wide y) {
  return w.b2 * (x + 1) * (x + 1) + w.a2 * (y * y - y) + w.a2 / 4 - w.a2 * w.b2;
}

// In the steep part it keeps 4d = K4(px, py) + c4, c4 fixed where the parts meet.
Wide K4(const Walk& w, Wide x, Wide y) {
  return w.b2 * (2 * x + 1) * (2 * x + 1) + 4 * w.a2 * (y - 1) * (y - 1) - 4 * w.a2 * w.b2;
}

void PlaceFlat(Walk& w, int64_t px, int64_t py) {
  w.px = px;
  w.py = py;
  w.dx = 2 * w.b2 * px;
  w.dy = 2 * w.a2 * py;
  w.d = G1(w, px, py);
}

void PlaceSteep(Walk& w, Wide c4, int64_t px, int64_t py) {
  w.px = px;
  w.py = py;
  w.dx = 2 * w.b2 * px;
  w.dy = 2 * w.a2 * py;
  w.d = (K4(w, px, py) + c4) / 4;
}

// The row of column x in the flat part: the largest y with G1(x - 1, y) < 0. G1 does not tell
// rows 0 and 1 apart; when neither qualifies the walk has stepped down to row 0.
int64_t FlatRow(const Walk& w, int64_t x) {
  const long double rest = (long double)(w.a2 * w.b2 - w.b2 * Wide(x) * x) / (long double)w.a2;
  int64_t y = int64_t(std::floor(0.5L + std::sqrt(std::max(rest, 0.0L) + 0.25L)));
  y = std::clamp<int64_t>(y, 0, w.b + 1);
  while (y <= w.b && G1(w, x - 1, y + 1) < 0) ++y;
  while (y >= 1 && G1(w, x - 1, y) >= 0) --y;
  return std::max<int64_t>(y, 0);
}

// The column of row y in the steep part: the smallest x >= 0 with K4(x, y + 1) + c4 > 0.
int64_t SteepColumn(const Walk& w, Wide c4, int64_t y) {
  if (w.b2 == 0) return 0;
  const long double need = (long double)(4 * w.a2 * w.b2 - 4 * w.a2 * Wide(y) * y - c4) / (long double)w.b2;
  int64_t x = need <= 0 ? 0 : int64_t(std::floor((std::sqrt(need) - 1) / 2));
  x = std::clamp<int64_t>(x, 0, w.a + 2);
  while (x > 0 && K4(w, x - 1, y + 1) + c4 > 0) --x;
  while (K4(w, x, y + 1) + c4 <= 0) ++x;
  return x;
}

// Can the flat part be jumped from its start to column k? Every column before k must still be
// flat (the loop ran there) and the outline must fall less than one row per column up to k.
bool FlatJumpable(const Walk& w, int64_t k) {
  if (k < 1 || k > w.a) return false;
  const int64_t prev = FlatRow(w, k - 1);
  if (prev < 1 || G1(w, k - 2, prev) >= 0 || !(w.b2 * (k - 1) < w.a2 * prev)) return false;
  const long double h = std::sqrt(std::max((long double)(w.a2 * w.b2 - w.b2 * Wide(k) * k) / (long double)w.a2, 0.0L));
  return (long double)w.b2 * k < kSlopeLimit * (long double)w.a2 * h;
}

// From the start of the flat part, jumps as far towards column `target` as the flat part reaches.
// The columns it can jump to form a prefix, so halve the interval, unless the point's columns lie
// within the flat part, as they mostly do.
void JumpFlatPart(Walk& w, int64_t target, int64_t shortest) {
  target = std::min(target, w.a);
  if (target < shortest || w.a < 1 || w.b < 1 || !FlatJumpable(w, 1)) return;
  int64_t lo = FlatJumpable(w, target) ? target : 1, hi = target;
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo + 1) / 2;
    if (FlatJumpable(w, mid))
      lo = mid;
    else
      hi = mid - 1;
  }
  if (lo >= shortest) PlaceFlat(w, lo, FlatRow(w, lo));
}

// Jumps the steep part down towards `row` where the walk's course is known, and says whether it
// did.
bool JumpSteepPart(Walk& w, Wide c4, int64_t row, int64_t shortest) {
  if (w.py - row < shortest) return false;
  // The walk keeps its column down to the first row whose decision moves it. Going down, the
  // decision only weakens (to row 1), so when it still keeps the column `shortest` rows down,
  // halve for the last row that keeps it.
  auto keeps = [&](int64_t y) { return K4(w, w.px, y) + c4 > 0; };
  const int64_t lowest = std::max<int64_t>(row + 1, 1);
  if (w.py - shortest + 1 >= lowest && keeps(w.py - shortest + 1)) {
    int64_t r = lowest, up = w.py - shortest + 1;
    while (r < up) {
      const int64_t mid = r + (up - r) / 2;
      if (keeps(mid))
        up = mid;
      else
        r = mid + 1;
    }
    PlaceSteep(w, c4, w.px, r - 1);
    return true;
  }
  // Else the closed form holds once the walk's column is the closed-form one and the outline gains
  // less than one column per row from here down.
  const bool onClosedForm = w.px >= 1 && K4(w, w.px, w.py + 1) + c4 > 0 && K4(w, w.px - 1, w.py + 1) + c4 <= 0;
  if (!onClosedForm || !(2.0L * (long double)w.a2 * (long double)(w.py + 1) <
                         kSlopeLimit * (long double)w.b2 * (long double)(2 * w.px - 1)))
    return false;
  PlaceSteep(w, c4, SteepColumn(w, c4, row), row);
  return true;
}

}  // namespace

bool EllipseWalkNearJumping(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t, int64_t shortestJump) {
  const int64_t shortest = std::max<int64_t>(shortestJump, 1);  // a jump of no rows would never end
  Walk w(p, q);
  // One of the four mirror images of the walk's pixel is near the point exactly when
  // |px - DX| < t and |py - DY| < t. px only grows and py only shrinks, so once px >= DX + t or
  // py <= DY - t nothing later can be near, and the walk stops.
  const int64_t DX = std::llabs(X - w.cx), DY = std::llabs(Y - w.cy);
  auto near = [&] { return std::llabs(w.px - DX) < t && std::llabs(w.py - DY) < t; };
  auto beyond = [&] { return w.px >= DX + t || w.py <= DY - t; };

  // Columns before DX - t + 1 are too far left to be near.
  JumpFlatPart(w, DX - t + 1, shortest);
  for (; w.InFlatPart(); w.StepFlat()) {
    if (near()) return true;
    if (beyond()) return false;
  }
  w.EnterSteepPart();
  const Wide c4 = 4 * w.d - K4(w, w.px, w.py);
  // Rows above DY + t are too high to be near.
  while (w.InSteepPart()) {
    if (near()) return true;
    if (beyond()) return false;
    if (!JumpSteepPart(w, c4, DY + t, shortest)) w.StepSteep();
  }
  return false;
}

bool EllipseWalkNear(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t) {
  return EllipseWalkNearJumping(X, Y, p, q, t, kShortestJump);
}
