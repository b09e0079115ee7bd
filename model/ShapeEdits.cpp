#include "model/ShapeEdits.h"

#include "model/CTavlo.h"

void ShapeEdits::Inserted(int index, const CShape& shape) { m_edits.push_back({Kind::insert, index, 0, {}, shape}); }

void ShapeEdits::Removed(int index, const CShape& shape) {
  // A record put in and taken out again within the run was never there.
  if (!m_edits.empty() && m_edits.back().kind == Kind::insert && m_edits.back().index == index) {
    m_edits.pop_back();
    return;
  }
  m_edits.push_back({Kind::remove, index, 0, shape, {}});
}

void ShapeEdits::Replaced(int index, const CShape& before, const CShape& after) {
  if (!m_edits.empty() && m_edits.back().index == index &&
      (m_edits.back().kind == Kind::insert || m_edits.back().kind == Kind::replace)) {
    Edit& last = m_edits.back();
    last.after = after;
    if (last.kind == Kind::replace && last.before == last.after) m_edits.pop_back();
    return;
  }
  if (before == after) return;
  m_edits.push_back({Kind::replace, index, 0, before, after});
}

void ShapeEdits::Moved(int from, int to) {
  if (from == to) return;
  m_edits.push_back({Kind::move, from, to, {}, {}});
}

void ShapeEdits::Undo(CTavlo& drawing) const {
  for (auto it = m_edits.rbegin(); it != m_edits.rend(); ++it) {
    switch (it->kind) {
      case Kind::insert: drawing.RemoveShape(it->index); break;
      case Kind::remove: drawing.InsertShape(it->index, it->before); break;
      case Kind::replace: drawing.ReplaceShape(it->index, it->before); break;
      case Kind::move: drawing.MoveShape(it->to, it->index); break;
    }
  }
}

void ShapeEdits::Redo(CTavlo& drawing) const {
  for (const Edit& e : m_edits) {
    switch (e.kind) {
      case Kind::insert: drawing.InsertShape(e.index, e.after); break;
      case Kind::remove: drawing.RemoveShape(e.index); break;
      case Kind::replace: drawing.ReplaceShape(e.index, e.after); break;
      case Kind::move: drawing.MoveShape(e.index, e.to); break;
    }
  }
}
