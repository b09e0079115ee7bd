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

// Every field that a file holds of the record, all ten point slots included.
uint64_t HashOf(const CShape* shape) {
  if (!shape) return kEnd;
  const CShape& s = *shape;
  uint64_t h = 0x243F6A8885A308D3ull;
  auto add = [&h](int64_t a, int64_t b) {
    h = (h ^ ((uint64_t(uint32_t(a)) << 32) | uint32_t(b))) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
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
