#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>

#include "model/CShape.h"
#include "platform/core/CObject.h"

// The capacity of the block that holds `needed` records when `size` of the `capacity` a block has
// now are in use: a first block (capacity 0) is exactly the size asked for; a block that is too
// small grows by size / 8 clamped to 4..1024, or to `needed` if that is more; any other keeps its
// capacity. `needed` must not be negative.
constexpr int GrownCapacity(int size, int capacity, int needed) {
  if (capacity == 0) return needed;
  if (needed <= capacity) return capacity;
  const int step = std::clamp(size / 8, 4, 1024);
  return int(std::clamp<int64_t>(int64_t(capacity) + step, needed, INT_MAX));
}

// The shapes of a drawing by value, in stacking order: index 0 lies at the back.
//
// Storage is one block that grows as GrownCapacity says (blocks of 1, 5, 9, 13, ... when appending
// one at a time). Indices are the caller's to keep in range; the operations that change the size
// ignore requests outside it.
class CShapeArray : public CObject {
 public:
  CShapeArray() = default;
  CShapeArray(const CShapeArray& other);
  CShapeArray& operator=(const CShapeArray& other);
  CShapeArray(CShapeArray&& other) noexcept;
  CShapeArray& operator=(CShapeArray&& other) noexcept;
  ~CShapeArray() override = default;

  int GetSize() const { return m_size; }
  int GetUpperBound() const { return m_size - 1; }
  int GetCapacity() const { return m_data.get_deleter().capacity; }

  CShape& ElementAt(int i) { return m_data[i]; }
  const CShape& operator[](int i) const { return m_data[i]; }
  const CShape* begin() const { return m_data.get(); }
  const CShape* end() const { return m_data.get() + m_size; }

  // Appends a copy and returns its index (the old size).
  int Add(CShape shape);
  void SetAtGrow(int i, CShape shape);
  void RemoveAt(int index, int count = 1);
  // Puts a copy before `index` (0 to the size), the later records moving up one.
  void InsertAt(int index, CShape shape);
  // Takes the record at `from` out and puts it back so that it lies at `to`; the records between
  // close up. Both must lie in the array.
  void Move(int from, int to);
  // Grows with default records or drops records from n on; 0 frees the block. Throws
  // std::bad_alloc, leaving the array as it was, when the block cannot be had.
  void SetSize(int n);

  // The stored form: a count (0xFFFF escape above 65534) and then 120-byte records. Loading
  // refuses a count the rest of the stream cannot hold and a record with a point count outside
  // 0..10, throwing CArchiveException; it never sizes storage from the count alone.
  void Serialize(CArchive& ar) override;

  friend bool operator==(const CShapeArray& a, const CShapeArray& b);

 private:
  // A block owns `capacity` live records; those from m_size on are spares. The deleter carries the
  // capacity because freeing needs it, so the block and its capacity travel together. (Its default
  // constructor is written out: with a default member initializer, unique_ptr could not tell that
  // the deleter is default-constructible while CShapeArray is still incomplete.)
  struct BlockDeleter {
    BlockDeleter() : capacity(0) {}
    explicit BlockDeleter(int n) : capacity(n) {}
    int capacity;
    void operator()(CShape* block) const noexcept;
  };
  using Block = std::unique_ptr<CShape[], BlockDeleter>;
  static Block MakeBlock(int capacity);

  // Grows the block to `capacity` (more than it has) elements, keeping the records.
  void Reallocate(int capacity);

  Block m_data;
  int m_size = 0;
};
