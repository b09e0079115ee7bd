#pragma once

#include <memory>
#include <optional>

#include <QUndoStack>

#include "document/DrawingStep.h"
#include "model/CTavlo.h"
#include "model/DocumentFileContent.h"
#include "platform/core/Color.h"
#include "platform/qt/CDocument.h"

class QColorDialog;

// One open drawing: the drawing itself, the tool and pen and brush attributes that new shapes
// take, and the grip of the last press on the selected shape (its mode and part), which the views
// set. It carries the tool, pen, brush and Properties commands and answers the enabling and
// check marks of nearly every menu item.
//
// The grip's mode is non-zero only while the drawing has a selection. While a shape is gripped the pen and brush
// commands change that shape, otherwise the defaults for new shapes.
//
// It also keeps the drawing's history, shared by all its views. Every change of the shapes must
// happen inside a step (BeginStep to EndStep: a whole mouse gesture, or one command), or the
// entries would no longer fit the drawing; a step that changed shapes becomes one entry, holding
// only what it changed. (A drawing put together outside any step, as tests do, is simply where
// the history starts, and counts as what the file holds.) A new or opened document starts with an
// empty history; saving keeps it.
//
// The document is modified exactly when its shapes differ from those its file holds (untitled:
// from none), whatever led there: a recovered drawing stays modified through undo and redo until
// it is saved, and a shape drawn and deleted again leaves the document as unmodified as before.
// The selection and the grip are stored too, but picking a shape is no change of the drawing.
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
  // Sets the modified flag by the rule above and has every view show the drawing again. Steps,
  // undo, redo, loads and saves call it; a view calls it after each change it makes during a
  // gesture, so the mark and the other views follow at once.
  void FollowContent();

  // Steps nest: the outermost pair makes the entry, so a command given during a gesture joins it.
  // A command brackets its changes with a Step; a mouse gesture, which spans many events, begins
  // and ends its own.
  void BeginStep();
  void EndStep();
  class Step {
   public:
    explicit Step(CQuirraDoc& document) : m_document(document) { m_document.BeginStep(); }
    ~Step() { m_document.EndStep(); }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

   private:
    CQuirraDoc& m_document;
  };
  // Takes back what the outermost step changed so far and ends it with no entry, the selection,
  // grip and tool as they were when it began. Nothing while a nested step runs.
  void CancelStep();
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

  // What new shapes take, and what the pen, brush and colour commands set while no shape is
  // gripped.
  struct Attributes {
    int penWidth = 1;
    int penStyle = 0;
    COLORREF penColor = 0;
    int brushStyle = kBrushTransparent;
    COLORREF brushColor = 0;
  };
  const Attributes& GetAttributes() const { return m_attributes; }
  void SetAttributes(const Attributes& attributes) { m_attributes = attributes; }

  // The kind of shape a drag on empty space makes, and by whose rules a gripped shape is dragged.
  int GetTool() const { return m_tool; }
  void SetTool(int kind) { m_tool = kind; }

  // The grip of the last press, kept only while a shape is selected: with nothing selected, a
  // grip is no grip. Every change of it goes through Grip, ReleaseGrip and Pick.
  int GetHitMode() const { return m_hitMode; }
  int GetHitPart() const { return m_hitPart; }
  void Grip(int mode, int part);
  // No grip; the part is left as it was, as the editing commands leave it.
  void ReleaseGrip() { m_hitMode = HIT_NONE; }
  // Selects shape `index` (-1: none) and grips it at `mode` and `part`; the tool becomes the
  // shape's kind, so that the shape is dragged by its own kind's rules.
  void Pick(int index, int mode, int part);

 private:
  // Sets one attribute: of the gripped shape (marking the document modified), or else the default.
  template <typename Value>
  void Apply(Value& field, void (CShape::*setter)(Value), Value value);
  void OnColor(bool pen);
  void OnEditProperties();
  GripState CurrentGrip() const { return {drawing->GetSelected(), m_hitMode, m_hitPart}; }
  // Makes an entry of the changes written down since the step began in `before`, if there are
  // any; inside a step, writing down starts afresh.
  void CommitEdits(GripState before);
  void OnBaseline(Baseline baseline) override;
  bool DiffersFromFile();
  void TakeBaseline();
  // What the document's file holds now; nothing when it cannot be read.
  std::optional<DocumentFileContent> ReadFile() const;

  std::unique_ptr<CTavlo> drawing;
  Attributes m_attributes;
  int m_tool = kLine;
  int m_hitMode = HIT_NONE;
  int m_hitPart = -1;
  QUndoStack m_history;
  int m_stepDepth = 0;
  GripState m_stepStart;
  int m_stepTool = kLine;
  std::unique_ptr<QColorDialog> colorDialog;
  // Of the shapes the file holds; none when no drawing can equal them (a file that cannot be read).
  // Pending while the drawing itself is still what the file holds: every change of the drawing
  // goes through a step, an undo or a redo, and the first of them takes it.
  std::optional<ShapesFingerprint> m_fileShapes;
  bool m_baselinePending = true;
};
