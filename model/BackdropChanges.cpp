#include "model/BackdropChanges.h"

void BackdropChanges::Restart(uint64_t revision) { m_log.Restart(revision); }

void BackdropChanges::Add(uint64_t revision, std::initializer_list<const CShape*> touched) {
  Touched entry;
  for (const CShape* shape : touched)
    if (shape && entry.count < kMostTouched) entry.shapes[entry.count++] = *shape;
  m_log.Add(revision, std::move(entry));
}

bool BackdropChanges::Since(uint64_t since, std::vector<CShape>& touched) const {
  touched.clear();
  return m_log.Since(since, [&](const Touched& t) { touched.insert(touched.end(), t.shapes, t.shapes + t.count); });
}
