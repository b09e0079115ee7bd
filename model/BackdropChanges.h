#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "model/CShape.h"
#include "model/RevisionLog.h"

// The recent history of a drawing's backdrop (every shape but the selected one), as the records
// each change touched, so that a picture of the backdrop that is kept can be brought up to date
// by repainting only where those records lie, as they were and as they are.
//
// A revision is a value of CTavlo::GetBackdropRevision. The log knows the revision it starts from
// and every later change, up to kKept of them; older ones are forgotten and the start moves on.
class BackdropChanges {
 public:
  static constexpr size_t kKept = 256;
  explicit BackdropChanges(uint64_t start) : m_log(start, kKept) {}
  // The most records one change of the list touches: its own and the selected one's before and after.
  static constexpr int kMostTouched = 3;

  // Forgets everything: the backdrop became `revision` in a way no list of records describes (a
  // drawing read from a file).
  void Restart(uint64_t revision);
  // The change that made `revision`, the newest one, touched these records (nulls are passed over).
  void Add(uint64_t revision, std::initializer_list<const CShape*> touched);

  // The records touched since the picture of revision `since` was made. False when the log cannot
  // tell: `since` is older than what it keeps, or a revision it never saw (another drawing's).
  bool Since(uint64_t since, std::vector<CShape>& touched) const;

 private:
  struct Touched {
    int count = 0;
    CShape shapes[kMostTouched];
  };
  RevisionLog<Touched> m_log;
};
