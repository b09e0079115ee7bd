#pragma once

#include "model/CShape.h"
#include "platform/core/CObject.h"

// The shapes of a drawing by value, in stacking order: index 0 lies at the back.
//
// Storage is one block that grows as the original array class did: a first block of exactly the
// size asked for, then steps of size / 8 clamped to 4..1024 (blocks of 1, 5, 9, 13, ... when
// appending one at a time). Indices are the caller's to keep in range; the operations that change
// the size ignore requests outside it.
class CShapeArray : public CObject {
 public:
  CShapeArray() = default;
  CShapeArray(const CShapeArray& other);
  CShapeArray& operator=(const CShapeArray& other);
  CShapeArray(CShapeArray&& other) noexcept;
  CShapeArray& operator=(CShapeArray&& other) noexcept;
  ~CShapeArray() override;

  int GetSize() const { return m_size; }
  int GetUpperBound() const { return m_size - 1; }
  int GetCapacity() const { return m_capacity; }

  CShape& ElementAt(int i) { return m_data[i]; }
  const CShape& operator[](int i) const { return m_data[i]; }
  const CShape* begin() const { return m_data; }
  const CShape* end() const { return m_data + m_size; }

  // Appends a copy and returns its index (the old size).
  int Add(CShape shape);
  void SetAtGrow(int i, CShape shape);
  void RemoveAt(int index, int count = 1);
  // Grows with default records or drops records from n on; 0 frees the block. Throws
  // std::bad_alloc, leaving the array as it was, when the block cannot be had.
  void SetSize(int n);

  // The stored form: a count (0xFFFF escape above 65534) and then 120-byte records. Loading
  // refuses a count the rest of the stream cannot hold and a record with a point count outside
  // 0..10, throwing CArchiveException; it never sizes storage from the count alone.
  void Serialize(CArchive& ar) override;

  const CRuntimeClass* GetRuntimeClass() const override;

  friend bool operator==(const CShapeArray& a, const CShapeArray& b);

 private:
  void Free();
  // Moves the elements into a new block of `capacity` (at least the size) elements.
  void Reallocate(int capacity);

  CShape* m_data = nullptr;
  int m_size = 0;
  int m_capacity = 0;
};
