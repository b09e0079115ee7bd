#include "render/CoverageMask.h"

#include <algorithm>
#include <bit>

namespace {
// Floor and ceiling of v / 2^shift for any sign (>> of a negative value floors since C++20).
int64_t FloorDiv(int64_t v, int shift) { return v >> shift; }
int64_t CeilDiv(int64_t v, int shift) { return -((-v) >> shift); }

// Bits from..to (inclusive, both within 0..63) set.
uint64_t Span(int64_t from, int64_t to) {
  const uint64_t upTo = to == 63 ? ~uint64_t(0) : (uint64_t(1) << (to + 1)) - 1;
  return upTo & ~((uint64_t(1) << from) - 1);
}
}  // namespace

CoverageMask::CoverageMask(const PixelBox& area, int64_t maxCells) : m_left(area.left), m_top(area.top) {
  if (area.right < area.left || area.bottom < area.top) return;
  const int64_t width = area.right - area.left + 1, height = area.bottom - area.top + 1;
  // Wider cells until the mask fits; capped so that even a 2^33-pixel box gets a mask.
  while (m_shift < 40 && (CeilDiv(width, m_shift) * CeilDiv(height, m_shift)) > std::max<int64_t>(maxCells, 1))
    ++m_shift;
  m_cols = CeilDiv(width, m_shift);
  m_rows = CeilDiv(height, m_shift);
  m_wordsPerRow = (m_cols + 63) / 64;
  m_bits.assign(size_t(m_wordsPerRow * m_rows), 0);
}

template <typename Visit>
bool CoverageMask::ForWords(int64_t row, int64_t c0, int64_t c1, Visit visit) const {
  const int64_t base = row * m_wordsPerRow;
  for (int64_t w = c0 >> 6; w <= c1 >> 6; ++w) {
    const int64_t from = w == c0 >> 6 ? c0 & 63 : 0;
    const int64_t to = w == c1 >> 6 ? c1 & 63 : 63;
    if (!visit(size_t(base + w), Span(from, to))) return false;
  }
  return true;
}

void CoverageMask::Cover(const PixelBox& box) {
  const auto [left, top, right, bottom] = box;
  if (right < left || bottom < top || m_bits.empty()) return;
  // Cells wholly inside: the first whose start is at or after `left`, the last whose end is at or
  // before `right`.
  const int64_t c0 = std::max<int64_t>(CeilDiv(left - m_left, m_shift), 0);
  const int64_t c1 = std::min<int64_t>(FloorDiv(right - m_left + 1, m_shift) - 1, m_cols - 1);
  const int64_t r0 = std::max<int64_t>(CeilDiv(top - m_top, m_shift), 0);
  const int64_t r1 = std::min<int64_t>(FloorDiv(bottom - m_top + 1, m_shift) - 1, m_rows - 1);
  if (c0 > c1 || r0 > r1) return;
  for (int64_t r = r0; r <= r1; ++r)
    ForWords(r, c0, c1, [this](size_t word, uint64_t bits) {
      m_marked += std::popcount(bits & ~m_bits[word]);
      m_bits[word] |= bits;
      return true;
    });
}

bool CoverageMask::Covers(const PixelBox& box) const {
  const auto [left, top, right, bottom] = box;
  if (right < left || bottom < top || m_bits.empty()) return true;
  const int64_t c0 = std::max<int64_t>(FloorDiv(left - m_left, m_shift), 0);
  const int64_t c1 = std::min<int64_t>(FloorDiv(right - m_left, m_shift), m_cols - 1);
  const int64_t r0 = std::max<int64_t>(FloorDiv(top - m_top, m_shift), 0);
  const int64_t r1 = std::min<int64_t>(FloorDiv(bottom - m_top, m_shift), m_rows - 1);
  if (c0 > c1 || r0 > r1) return true;
  for (int64_t r = r0; r <= r1; ++r)
    if (!ForWords(r, c0, c1, [this](size_t word, uint64_t bits) { return (m_bits[word] & bits) == bits; }))
      return false;
  return true;
}
