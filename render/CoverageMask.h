#pragma once

#include <cstdint>
#include <vector>

#include "render/PixelBox.h"

// The pixels of a box that later drawing is known to paint over, one bit per square cell. A cell
// is marked only when a covered box holds all of it, so the mask never claims a pixel that is not
// covered.
class CoverageMask {
 public:
  // The pixels of `area`. Cells are single pixels, or 2, 4, 8... pixels square when that keeps
  // the mask within maxCells.
  explicit CoverageMask(const PixelBox& area, int64_t maxCells = int64_t(1) << 24);

  // Marks every cell that lies wholly inside the box.
  void Cover(const PixelBox& box);
  // True when every cell of the mask that the box touches is marked. The mask only speaks for its
  // own box: a box that misses it entirely counts as covered.
  bool Covers(const PixelBox& box) const;
  // True when every cell is marked: nothing painted below can show through anywhere.
  bool Full() const { return !m_bits.empty() && m_marked == m_cols * m_rows; }

  int CellSize() const { return 1 << m_shift; }

 private:
  // The cells from c0 to c1 of one row (inclusive, already clipped to the row), as word masks.
  template <typename Visit>
  bool ForWords(int64_t row, int64_t c0, int64_t c1, Visit visit) const;

  int64_t m_left, m_top;
  int m_shift = 0;
  int64_t m_cols = 0, m_rows = 0, m_wordsPerRow = 0;
  std::vector<uint64_t> m_bits;
  int64_t m_marked = 0;
};
