#include "model/BackdropChanges.h"

void BackdropChanges::Restart(uint64_t revision) {
  m_start = revision;
  m_entries.clear();
}

void BackdropChanges::Add(uint64_t revision, std::initializer_list<const CShape*> touched) {
  Entry& entry = m_entries.emplace_back();
  entry.revision = revision;
  for (const CShape* shape : touched)
    if (shape && entry.count < kMostTouched) entry.shapes[entry.count++] = *shape;
  if (m_entries.size() <= kKept) return;
  m_start = m_entries.front().revision;
  m_entries.pop_front();
}

bool BackdropChanges::Since(uint64_t since, std::vector<CShape>& touched) const {
  touched.clear();
  size_t first = m_entries.size();
  while (first > 0 && m_entries[first - 1].revision > since) --first;
  const bool known = since == m_start || (first > 0 && m_entries[first - 1].revision == since);
  if (!known) return false;
  for (size_t i = first; i < m_entries.size(); ++i)
    touched.insert(touched.end(), m_entries[i].shapes, m_entries[i].shapes + m_entries[i].count);
  return true;
}
