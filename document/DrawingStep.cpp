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

void DrawingStep::Restore(const GripState& state) {
  CTavlo& drawing = m_document.GetDrawing();
  drawing.SetSelected(state.selected);
  m_document.Grip(state.hitMode, state.hitPart);
  if (drawing.GetSelected() >= 0) m_document.tool = drawing.GetShape(0).GetType();
}
