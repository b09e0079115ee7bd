#pragma once

#include <cstdint>

class CShape;
class CShapeArray;

// A summary of a list of shapes that tells two lists apart and follows each change of one list
// in constant time: the count, and a 64-bit sum over every pair of neighbours (the first record
// and the last are paired with an end mark too).
//
// Equal lists always have equal fingerprints. Different lists have different ones, but for a
// chance of 2^-64 and for lists that hold the same neighbouring pairs in another order, which
// takes one record three times or more with others between (A B A C A against A C A B A). So a
// difference is certain, and a caller that must be sure of an equality compares the lists
// themselves; an empty count is certain either way.
class ShapesFingerprint {
 public:
  // The fingerprint of an empty list.
  ShapesFingerprint();
  static ShapesFingerprint Of(const CShapeArray& shapes);

  // Each change names the neighbours of the records it touches, as they lie after an insertion
  // and before a removal; nullptr stands for an end of the list.
  void Inserted(const CShape* before, const CShape& shape, const CShape* after);
  void Removed(const CShape* before, const CShape& shape, const CShape* after);
  void Replaced(const CShape* before, const CShape& was, const CShape& now, const CShape* after);

  int64_t Count() const { return m_count; }
  friend bool operator==(const ShapesFingerprint&, const ShapesFingerprint&) = default;

 private:
  int64_t m_count = 0;
  uint64_t m_pairs;
};
