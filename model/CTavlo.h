#pragma once

#include "model/CShapeArray.h"
#include "platform/core/CObject.h"

// The drawing: the shapes in stacking order, the one selected shape, the zoom it is shown at and
// the state of a rotation in progress.
//
// In GetShape and SetShape the index 0 stands for the selected shape. Operations that work on the
// selection do nothing when nothing is selected, and index arguments outside the array are
// ignored; the editor itself never asks for either.
class CTavlo : public CObject {
 public:
  CTavlo() = default;

  // List and selection.
  void AddShape(CShape shape);
  void DeleteSelected();
  int GetUpperBound() const { return shapes.GetUpperBound(); }
  int GetSelected() const { return selected; }
  void SetSelected(int index) { selected = index; }
  void ClearSelection() { selected = -1; }
  CShape GetShape(int index) const;
  void SetShape(CShape shape, int index);
  const CShapeArray& GetShapes() const { return shapes; }

  // Reordering of the selected shape; each ends with no selection. Forwards means towards the
  // front, a higher index.
  void MoveForwards();
  void MoveBackwards();
  void MoveTotallyForwards();
  void MoveTotallyBackwards();

  // Copies the selected shape into `clip` with its points (not its centre) shifted by (7, 7), so
  // a paste lands beside the original. Cut also deletes the shape; copy only drops the selection.
  void CutSelected(CShape& clip);
  void CopySelected(CShape& clip);

  // Zoom in per cent. Zoomed units are the pixels of the painted picture before scrolling.
  int GetZoom() const { return zoom; }
  void SetZoom(int percent) { zoom = percent; }
  void ZoomPoint(CPoint& p) const;
  void UnzoomPoint(CPoint& p) const;

  // Rotation of the selected shape about its centre.
  bool GetRotateMode() const { return rotateMode; }
  void SetRotateMode(bool on) { rotateMode = on; }
  double GetAngle() const { return angle; }
  // angle = the turn from (x0, y0) to (x1, y1) about the selected shape's centre (drawing units).
  void TrackRotation(int x0, int y0, int x1, int y1);
  // Turns a zoomed point about the selected shape's zoomed centre, in rotate mode while a turn
  // is in progress; otherwise leaves it alone.
  void RotatePoint(CPoint& p) const;
  // Writes the pending turn into the selected shape's points and ends it (angle 0).
  void ApplyRotation();

  // The stored form: `selected`, then the shapes. A loaded `selected` outside the shapes read
  // becomes -1. Throws CArchiveException on a stream that is short or damaged.
  void Serialize(CArchive& ar) override;
  const CRuntimeClass* GetRuntimeClass() const override;
  static const CRuntimeClass classCTavlo;

  friend bool operator==(const CTavlo& a, const CTavlo& b);

 private:
  bool HasSelection() const { return selected >= 0 && selected < shapes.GetSize(); }
  void Exchange(int i, int j);
  CShape ClipOfSelected() const;

  double angle = 0.0;
  bool rotateMode = false;
  int zoom = 100;
  int selected = -1;
  CShapeArray shapes;
};
