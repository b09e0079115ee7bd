#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

// The newest `kept` entries of a history, each with the revision its change made, and the
// revision the history is complete from. A revision is known when it is the start or one an
// entry made; what happened since a known revision is every later entry.
template <typename Entry>
class RevisionLog {
 public:
  RevisionLog(uint64_t start, size_t kept) : m_start(start), m_kept(kept) {}

  void Restart(uint64_t revision) {
    m_start = revision;
    m_entries.clear();
  }

  void Add(uint64_t revision, Entry entry) {
    m_entries.emplace_back(revision, std::move(entry));
    if (m_entries.size() <= m_kept) return;
    m_start = m_entries.front().first;
    m_entries.pop_front();
  }

  // Calls visit with every entry after `since`, oldest first; false, visiting none, when `since`
  // is not known.
  template <typename Visit>
  bool Since(uint64_t since, Visit visit) const {
    size_t first = m_entries.size();
    while (first > 0 && m_entries[first - 1].first > since) --first;
    if (since != m_start && (first == 0 || m_entries[first - 1].first != since)) return false;
    for (size_t i = first; i < m_entries.size(); ++i) visit(m_entries[i].second);
    return true;
  }

 private:
  uint64_t m_start;
  size_t m_kept;
  std::deque<std::pair<uint64_t, Entry>> m_entries;
};
