#pragma once

#include <QUndoCommand>

#include "model/ShapeEdits.h"

class CQuirraDoc;

// Which shape is selected and how it is gripped: what a step puts back besides the shapes.
struct GripState {
  int selected = -1;
  int hitMode = HIT_NONE;
  int hitPart = -1;
};

// One step of a document's history: the changes of the drawing it made, and the selection and
// grip before and after. Undo takes the changes back and puts back the state before; redo makes
// them again and puts back the state after. Either way the tool follows the selected shape's
// kind, as after a double-click on it, so the shape drags by its own rules.
//
// The step is pushed after its changes were made: the first redo, which QUndoStack runs on push,
// does nothing.
class DrawingStep final : public QUndoCommand {
 public:
  DrawingStep(CQuirraDoc& document, ShapeEdits edits, GripState before, GripState after);

  void undo() override;
  void redo() override;

  // What the step holds in memory.
  size_t Bytes() const { return sizeof(*this) + m_edits.Bytes() - sizeof(m_edits); }

 private:
  void Restore(const GripState& state);

  CQuirraDoc& m_document;
  ShapeEdits m_edits;
  GripState m_before;
  GripState m_after;
  bool m_done = true;
};
