#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/RevisionLog.h"

// The recent changes of a drawing's list of shapes, as places only (which record went where), so
// that what is kept about every record by its place (a spatial index) can follow the list without
// being made again. A revision is a value of CTavlo::GetListRevision; the log knows the revision
// it starts from and every later change, up to kKept of them.
class ListChanges {
 public:
  static constexpr size_t kKept = 64;
  enum Kind : uint8_t { inserted, removed, replaced, moved };
  struct Change {
    Kind kind;
    int32_t index;  // where the record lies before the change (inserted: where it goes)
    int32_t to;     // moved: where it lies after
  };

  explicit ListChanges(uint64_t start) : m_log(start, kKept) {}
  void Restart(uint64_t revision) { m_log.Restart(revision); }
  void Add(uint64_t revision, Change change) { m_log.Add(revision, change); }
  // The changes since `since`, oldest first; false when the log cannot tell.
  bool Since(uint64_t since, std::vector<Change>& changes) const {
    changes.clear();
    return m_log.Since(since, [&](const Change& c) { changes.push_back(c); });
  }

 private:
  RevisionLog<Change> m_log;
};
