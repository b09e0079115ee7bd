#include "document/DrawingStep.h"

#include "document/CQuirraDoc.h"

DrawingStep::DrawingStep(CQuirraDoc& document, ShapeEdits edits, GripState before, GripState after)
    : m_document(document), m_edits(std::move(edits)), m_before(before), m_after(after) {}

void DrawingStep::undo() {
  m_edits.Undo(m_document.GetDrawing());
  Restore(m_before);
  m_done = false;
}

void DrawingStep::redo() {
  if (m_done) return;
  m_edits.Redo(m_document.GetDrawing());
  Restore(m_after);
  m_done = true;
}

void DrawingStep::Restore(const GripState& state) { m_document.Pick(state.selected, state.hitMode, state.hitPart); }
