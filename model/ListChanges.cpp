#include "model/ListChanges.h"

void ListChanges::Restart(uint64_t revision) {
  m_start = revision;
  m_changes.clear();
}

void ListChanges::Add(uint64_t revision, Change change) {
  m_changes.emplace_back(revision, change);
  if (m_changes.size() <= kKept) return;
  m_start = m_changes.front().first;
  m_changes.pop_front();
}

bool ListChanges::Since(uint64_t since, std::vector<Change>& changes) const {
  changes.clear();
  size_t first = m_changes.size();
  while (first > 0 && m_changes[first - 1].first > since) --first;
  const bool known = since == m_start || (first > 0 && m_changes[first - 1].first == since);
  if (!known) return false;
  for (size_t i = first; i < m_changes.size(); ++i) changes.push_back(m_changes[i].second);
  return true;
}
