#include "model/ShapesFingerprint.h"

#include "model/CShapeArray.h"

namespace {

// The ends of the list, as record hashes no record is likely to have.
constexpr uint64_t kEnd = 0x6A09E667F3BCC909ull;

uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

// Every field that a file holds of the record, all ten point slots included: fifteen words, each
// turned by a multiplier of its own, so that the products are independent of each other (and quick)
// and a change of any one word changes the sum.
uint64_t HashOf(const CShape* shape) {
  if (!shape) return kEnd;
  const CShape& s = *shape;
  static constexpr uint64_t kTurn[15] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                                         0xD6E8FEB86659FD93ull, 0xFF51AFD7ED558CCDull, 0xC4CEB9FE1A85EC53ull,
                                         0x2545F4914F6CDD1Dull, 0x9FB21C651E98DF25ull, 0xBF58476D1CE4E5B9ull,
                                         0x94D049BB133111EBull, 0x8CB92BA72F3D8DD7ull, 0xDB4F0B9175AE2165ull,
                                         0xA0761D6478BD642Full, 0xE7037ED1A0B428DBull, 0x8EBC6AF09C88C6E3ull};
  uint64_t h = 0;
  int turn = 0;
  auto add = [&h, &turn](int64_t a, int64_t b) {
    h += ((uint64_t(uint32_t(a)) << 32 | uint32_t(b)) ^ (kTurn[14 - turn] >> 1)) * kTurn[turn];
    ++turn;
  };
  add(s.GetCenter().x, s.GetCenter().y);
  add(s.GetType(), s.GetPenColor());
  add(s.GetBrushColor(), s.GetPenWidth());
  add(s.GetPenStyle(), s.GetBrushStyle());
  add(s.GetPointCount(), 0);
  for (int i = 0; i < kMaxPoints; ++i) add(s.GetPoint(i).x, s.GetPoint(i).y);
  return Mix(h);
}

// Ordered: the pair (a, b) is not the pair (b, a).
uint64_t Pair(uint64_t a, uint64_t b) { return Mix(a * 0x9E3779B97F4A7C15ull + ((b << 23) | (b >> 41)) + 1); }

}  // namespace

ShapesFingerprint::ShapesFingerprint() : m_pairs(Pair(kEnd, kEnd)) {}

ShapesFingerprint ShapesFingerprint::Of(const CShapeArray& shapes) {
  ShapesFingerprint f;
  f.m_count = shapes.GetSize();
  uint64_t sum = 0, previous = kEnd;
  for (const CShape& s : shapes) {
    const uint64_t h = HashOf(&s);
    sum += Pair(previous, h);
    previous = h;
  }
  f.m_pairs = sum + Pair(previous, kEnd);
  return f;
}

void ShapesFingerprint::Inserted(const CShape* before, const CShape& shape, const CShape* after) {
  const uint64_t b = HashOf(before), s = HashOf(&shape), a = HashOf(after);
  m_pairs += Pair(b, s) + Pair(s, a) - Pair(b, a);
  ++m_count;
}

void ShapesFingerprint::Removed(const CShape* before, const CShape& shape, const CShape* after) {
  const uint64_t b = HashOf(before), s = HashOf(&shape), a = HashOf(after);
  m_pairs += Pair(b, a) - Pair(b, s) - Pair(s, a);
  --m_count;
}

void ShapesFingerprint::Replaced(const CShape* before, const CShape& was, const CShape& now, const CShape* after) {
  const uint64_t b = HashOf(before), w = HashOf(&was), n = HashOf(&now), a = HashOf(after);
  m_pairs += Pair(b, n) + Pair(n, a) - Pair(b, w) - Pair(w, a);
}
