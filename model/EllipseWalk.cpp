#include "model/EllipseWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// 128-bit throughout: squared semi-axes reach 2^62 and their products with coordinates 2^126.
using Wide = __int128;

// The walk's state: position (px, py) relative to the centre, the decision value d and the two
// increments dx = 2 b^2 px, dy = 2 a^2 py.
struct Walk {
  int64_t a, b;
  Wide a2, b2;
  int64_t px, py;
  Wide d, dx, dy;
};

// Slopes are compared with this margin below 1, far beyond any rounding of long double.
constexpr long double kSlopeLimit = 1.0L - 1e-9L;

// In the flat part the walk keeps d = G1(px, py).
Wide G1(const Walk& w, Wide x, Wide y) { return w.b2 * (x + 1) * (x + 1) + w.a2 * (y * y - y) + w.a2 / 4 - w.a2 * w.b2; }

// In the steep part it keeps 4d = K4(px, py) + c4, c4 fixed where the parts meet.
Wide K4(const Walk& w, Wide x, Wide y) {
  return w.b2 * (2 * x + 1) * (2 * x + 1) + 4 * w.a2 * (y - 1) * (y - 1) - 4 * w.a2 * w.b2;
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

}  // namespace

bool EllipseWalkNear(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t, int64_t minJump) {
  const int64_t cx = std::min(p.x, q.x) + std::llabs(int64_t(q.x) - p.x) / 2;
  const int64_t cy = std::min(p.y, q.y) + std::llabs(int64_t(q.y) - p.y) / 2;
  Walk w;
  w.a = std::llabs(int64_t(q.x) - p.x) / 2;
  w.b = std::llabs(int64_t(q.y) - p.y) / 2;
  w.a2 = Wide(w.a) * w.a;
  w.b2 = Wide(w.b) * w.b;

  // The walk visits the four mirror images (cx +- px, cy +- py); one of them is near the test
  // point exactly when |px - DX| < t and |py - DY| < t. px only grows and py only shrinks, so
  // once px >= DX + t or py <= DY - t nothing later can be near, and the walk stops.
  const int64_t DX = std::llabs(X - cx), DY = std::llabs(Y - cy);
  auto near = [&] { return std::llabs(w.px - DX) < t && std::llabs(w.py - DY) < t; };
  auto beyond = [&] { return w.px >= DX + t || w.py <= DY - t; };

  w.px = 0;
  w.py = w.b;
  w.d = w.b2 - w.a2 * w.b + w.a2 / 4;
  w.dx = 0;
  w.dy = 2 * w.a2 * w.b;

  // Columns before DX - t + 1 are too far left to be near: jump as far towards it as the flat
  // part allows (the allowed columns form a prefix, so halve the interval).
  const int64_t target = std::min(DX - t + 1, w.a);
  if (minJump > 0 && target >= minJump && w.b2 * (target - 1) < w.a2 * w.py && G1(w, target - 1, w.py) < 0) {
    // Even the last of those columns keeps the walk in its row, so no column before moves it.
    w.px = target;
    w.dx = 2 * w.b2 * w.px;
    w.d = G1(w, w.px, w.py);
  } else if (minJump > 0 && w.a >= 1 && w.b >= 1 && target >= minJump && FlatJumpable(w, 1)) {
    int64_t lo = 1, hi = target;
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo + 1) / 2;
      if (FlatJumpable(w, mid)) lo = mid;
      else hi = mid - 1;
    }
    if (lo >= minJump) {
      w.px = lo;
      w.py = FlatRow(w, lo);
      w.dx = 2 * w.b2 * w.px;
      w.dy = 2 * w.a2 * w.py;
      w.d = G1(w, w.px, w.py);
    }
  }

  // Runs of steps whose outcome is the same can be crossed at once as well: jumps are tried every
  // few steps (every step when tests ask for the shortest jumps).
  int64_t steps = 0;
  auto tryRun = [&] { return minJump > 0 && (minJump <= 2 || ++steps % 16 == 0); };

  while (w.dx < w.dy) {
    if (near()) return true;
    if (beyond()) return false;
    // A run along the row: columns whose decision keeps the row, and the part goes on. The
    // columns must all be far from the point: anywhere when the row is, else left of it.
    if (tryRun() && G1(w, w.px, w.py) < 0) {
      const int64_t hi = std::llabs(w.py - DY) >= t ? w.a + 2 : std::min(DX - t, w.a + 2);
      auto keeps = [&](int64_t c) { return G1(w, c, w.py) < 0 && w.b2 * c < w.a2 * w.py; };
      if (hi - w.px + 1 >= minJump && hi >= w.px) {
        int64_t lo = w.px, up = hi;
        while (lo < up) {
          const int64_t mid = lo + (up - lo + 1) / 2;
          if (keeps(mid)) lo = mid;
          else up = mid - 1;
        }
        if (lo - w.px + 1 >= minJump) {
          w.px = lo + 1;
          w.dx = 2 * w.b2 * w.px;
          w.d = G1(w, w.px, w.py);
          continue;
        }
      }
    }
    if (w.d >= 0) {
      --w.py;
      w.dy -= 2 * w.a2;
      w.d -= w.dy;
    }
    ++w.px;
    w.dx += 2 * w.b2;
    w.d += w.dx + w.b2;
  }

  w.d += ((3 * (w.a2 - w.b2)) / 2 - (w.dx + w.dy)) / 2;
  const Wide c4 = 4 * w.d - K4(w, w.px, w.py);
  steps = 0;
  auto setRow = [&](int64_t px, int64_t py) {
    w.px = px;
    w.py = py;
    w.dx = 2 * w.b2 * w.px;
    w.dy = 2 * w.a2 * w.py;
    w.d = (K4(w, w.px, w.py) + c4) / 4;
  };
  while (w.py >= 0) {
    if (near()) return true;
    if (beyond()) return false;
    if (tryRun()) {
      if (K4(w, w.px, w.py) + c4 > 0) {
        // A run down the column: rows whose decision keeps the column (the decision only weakens
        // going down, to row 1). Rows must be far from the point: all when the column is, else
        // the rows above it.
        const int64_t lo = std::llabs(w.px - DX) >= t ? 1 : std::max<int64_t>(1, DY + t);
        if (lo <= w.py) {
          int64_t r = lo, up = w.py;
          while (r < up) {
            const int64_t mid = r + (up - r) / 2;
            if (K4(w, w.px, mid) + c4 > 0) up = mid;
            else r = mid + 1;
          }
          if (w.py - r + 1 >= minJump) {
            setRow(w.px, r - 1);
            continue;
          }
        }
      } else {
        // A run down the diagonal: every row moves the column. In the steep part the decision
        // value only grows along the diagonal, so the run ends at the first step where it is
        // positive. Steps must be far from the point: left of it or above it.
        const int64_t hi = std::min(w.py, std::max(DX - t - w.px, w.py - DY - t));
        if (hi >= 0 && hi + 1 >= minJump) {
          int64_t k = 0, up = hi + 1;  // k: first step in [0, hi + 1] whose decision keeps the column
          while (k < up) {
            const int64_t mid = k + (up - k) / 2;
            if (K4(w, w.px + mid, w.py - mid) + c4 > 0) up = mid;
            else k = mid + 1;
          }
          if (k >= minJump) {
            setRow(w.px + k, w.py - k);
            continue;
          }
        }
      }
    }
    // Rows above DY + t are too high to be near. Once the walk's column is the closed-form one and
    // the outline gains less than one column per row from here down, jump to that row.
    const int64_t row = DY + t;
    // Where even the lowest of those rows keeps the walk in its column, no row between moves it.
    if (minJump > 0 && w.py - row >= minJump && K4(w, w.px, row + 1) + c4 > 0) {
      setRow(w.px, row);
      continue;
    }
    if (minJump > 0 && steps % 32 == 1 && w.py - row >= minJump && w.px >= 1 &&
        K4(w, w.px, w.py + 1) + c4 > 0 && K4(w, w.px - 1, w.py + 1) + c4 <= 0 &&
        2.0L * (long double)w.a2 * (long double)(w.py + 1) <
            kSlopeLimit * (long double)w.b2 * (long double)(2 * w.px - 1)) {
      setRow(SteepColumn(w, c4, row), row);
      continue;
    }
    if (w.d <= 0) {
      ++w.px;
      w.dx += 2 * w.b2;
      w.d += w.dx;
    }
    --w.py;
    w.dy -= 2 * w.a2;
    w.d += w.a2 - w.dy;
  }
  return false;
}

bool EllipseWalkNearStepwise(int64_t X, int64_t Y, CPoint p, CPoint q, int64_t t) {
  return EllipseWalkNear(X, Y, p, q, t, 0);
}
