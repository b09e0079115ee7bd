#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/CShape.h"

class CTavlo;

// What a run of changes did to a drawing's list of shapes, change by change, so that the run can
// be taken back (Undo, last change first) and done again (Redo). Each change keeps only the
// records it touched and where they lay, never the rest of the drawing.
//
// The run is written as it happens and kept short: a record replaced again and again (the steps of
// a drag) stays one change from the first record to the last, a record that is inserted and then
// reshaped is one insertion of its last form, and a change that changed nothing is dropped.
class ShapeEdits {
 public:
  void Inserted(int index, const CShape& shape);
  void Removed(int index, const CShape& shape);
  void Replaced(int index, const CShape& before, const CShape& after);
  // The record at `from` now lies at `to`, the ones between having closed up.
  void Moved(int from, int to);

  bool Empty() const { return m_edits.empty(); }
  // What the run holds in memory.
  size_t Bytes() const { return sizeof(*this) + m_edits.capacity() * sizeof(Edit); }

  // Both expect the drawing as the run left it (Undo) or found it (Redo); neither touches the
  // selection.
  void Undo(CTavlo& drawing) const;
  void Redo(CTavlo& drawing) const;

 private:
  enum class Kind : uint8_t { insert, remove, replace, move };
  struct Edit {
    Kind kind;
    int32_t index;  // where the record lies before the change (insert: where it goes)
    int32_t to;     // move: where it lies after
    CShape before;  // remove, replace
    CShape after;   // insert, replace
  };

  std::vector<Edit> m_edits;
};
