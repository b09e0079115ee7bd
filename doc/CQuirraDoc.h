#pragma once

#include <memory>

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
class CQuirraDoc : public CDocument {
  Q_OBJECT
  DECLARE_MESSAGE_MAP(CQuirraDoc)

 public:
  using Base = CDocument;

  CQuirraDoc();
  ~CQuirraDoc() override;

  void DeleteContents() override;
  void Serialize(CArchive& ar) override;

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

  std::unique_ptr<CTavlo> drawing;
  std::unique_ptr<QColorDialog> colorDialog;
};
