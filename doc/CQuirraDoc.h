#pragma once

#include <memory>

#include <QUndoStack>

#include "doc/DrawingStep.h"
#include "model/CTavlo.h"
#include "platform/core/Color.h"
#include "platform/qt/CDocument.h"

class QColorDialog;

// One open drawing: the drawing itself, the tool and pen and brush attributes that new shapes
// take, and the grip of the last press on the selected shape (hitMode, hitPart), which the views
// write. It carries the tool, pen, brush and Properties commands and answers the enabling and
// check marks of nearly every menu item.
//
// hitMode is non-zero only while the drawing has a selection; the views keep it so. While a
// shape is gripped the pen and brush commands change that shape, otherwise the defaults for new
// shapes.
//
// It also keeps the drawing's history, shared by all its views. Every change of the shapes must
// happen inside a step (BeginStep to EndStep: a whole mouse gesture, or one command), or the
// entries would no longer fit the drawing; a step that changed shapes becomes one entry, holding
// only what it changed. (A drawing put together outside any step, as tests do, is simply where
// the history starts.) The document is modified exactly when the history is away from the state
// last saved or opened. A new or opened document starts with an empty history; saving keeps it.
class CQuirraDoc : public CDocument {
  Q_OBJECT
  DECLARE_MESSAGE_MAP(CQuirraDoc)

 public:
  using Base = CDocument;

  CQuirraDoc();
  ~CQuirraDoc() override;

  void DeleteContents() override;
  void Serialize(CArchive& ar) override;
  bool OnSaveDocument(const QString& path, const FileProgress& progress = {}) override;

  // Steps nest: the outermost pair makes the entry, so a command given during a gesture joins it.
  void BeginStep();
  void EndStep();
  bool InStep() const { return m_stepDepth > 0; }
  // Neither runs inside a step.
  bool CanUndo() const { return !InStep() && m_history.canUndo(); }
  bool CanRedo() const { return !InStep() && m_history.canRedo(); }
  void Undo();
  void Redo();
  const QUndoStack& GetHistory() const { return m_history; }
  // The entries kept; older ones are forgotten.
  static constexpr int kHistorySteps = 1000;

  CTavlo& GetDrawing() { return *drawing; }
  const CTavlo& GetDrawing() const { return *drawing; }

  void ApplyPenWidth(int width);
  void ApplyPenStyle(int style);
  void ApplyBrushStyle(int style);
  int EffectivePenWidth() const;
  int EffectivePenStyle() const;
  int EffectiveBrushStyle() const;

  // The grip of the last press, kept only while a shape is selected: with nothing selected, a
  // grip is no grip. Every change of hitMode and hitPart goes through these two.
  void Grip(int mode, int part);
  // No grip; the part is left as it was, as the editing commands leave it.
  void ReleaseGrip() { hitMode = HIT_NONE; }

  int brushStyle = kBrushTransparent;
  COLORREF brushColor = 0;
  int penWidth = 1;
  int penStyle = 0;
  COLORREF penColor = 0;
  int hitPart = -1;
  int tool = kLine;
  int hitMode = HIT_NONE;

 private:
  // Sets one attribute: of the gripped shape (marking the document modified), or else the default.
  template <typename Value>
  void Apply(Value& field, void (CShape::*setter)(Value), Value value);
  void OnColor(bool pen);
  void OnEditProperties();
  GripState CurrentGrip() const { return {drawing->GetSelected(), hitMode, hitPart}; }
  // Makes an entry of the changes written down since the step began in `before`, if there are
  // any; inside a step, writing down starts afresh.
  void CommitEdits(GripState before);
  void FollowHistory() { SetModifiedFlag(!m_history.isClean()); }

  std::unique_ptr<CTavlo> drawing;
  QUndoStack m_history;
  int m_stepDepth = 0;
  GripState m_stepStart;
  std::unique_ptr<QColorDialog> colorDialog;
};
