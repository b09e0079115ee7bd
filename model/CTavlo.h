#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/BackdropChanges.h"
#include "model/CShapeArray.h"
#include "model/ListChanges.h"
#include "model/ShapeBounds.h"
#include "model/ShapeEdits.h"
#include "model/ShapesFingerprint.h"
#include "platform/core/CObject.h"

class CDC;
class CPen;

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
  // A turn in progress belongs to the shape that was selected: whatever changes the selection
  // drops it, so it can never land on another shape.
  void SetSelected(int index) { Select(index); }
  void ClearSelection() { Select(-1); }
  CShape GetShape(int index) const;
  void SetShape(CShape shape, int index);
  const CShapeArray& GetShapes() const { return shapes; }

  // The four changes of the list that every other goes through, with list indexes (0 is the back,
  // not the selection). They leave `selected` as it is, and do nothing with an index outside the
  // list; InsertShape takes 0 to the size.
  void InsertShape(int index, CShape shape);
  void RemoveShape(int index);
  void ReplaceShape(int index, CShape shape);
  void MoveShape(int from, int to);

  // Between BeginEdits and EndEdits every change of the list is written down as well, for the
  // editor's history. BeginEdits drops a record in progress; EndEdits gives it and stops.
  void BeginEdits() { edits.emplace(); }
  ShapeEdits EndEdits();
  bool IsRecordingEdits() const { return edits.has_value(); }
  // Whether the changes written down since BeginEdits changed anything.
  bool HasEdits() const { return edits && !edits->Empty(); }

  // The fingerprint of the list of shapes: worked out over the whole list when first asked for,
  // then kept up to date by every change at the cost of a few record hashes.
  ShapesFingerprint GetFingerprint() const;
  // Where the shapes lie (see ShapeBounds): found over the whole list when first asked for, then
  // widened by every change. A change that may have narrowed it has it found again at the next
  // exact request; `mayBeWider` takes the box as it is, which holds every shape but may be wider
  // than it needs (for the steps of a drag, which would otherwise go over the whole list each).
  ShapeBounds GetBounds(bool mayBeWider = false) const;

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
  // Ends a pending turn without applying it.
  void CancelRotation() { angle = 0.0; }

  // Paints every shape but the selected one in stacking order with its own pen and brush, then
  // the selected shape on top as a light grey wireframe with its handles (black handles and a
  // centre marker in rotate mode), turned by a rotation in progress. Every pen and brush made is
  // freed, and the context's pen and brush are current again on return.
  void Draw(CDC& dc) const;
  // The top layer of that picture alone: the selection, when there is one. Drawing every shape
  // but the selected one with DrawShape and then this paints what Draw paints.
  void DrawSelected(CDC& dc) const;
  // One shape as it lies in the stack, with its own pen and brush; an index outside the list
  // draws nothing. At the drawing's zoom, or at `zoom`, with every pen one pixel wide and solid
  // when `thinPens` (a picture scaled down, where no width or dash would show).
  void DrawShape(CDC& dc, int index) const { DrawShape(dc, index, zoom, false); }
  void DrawShape(CDC& dc, int index, int zoom, bool thinPens) const;
  // Changes whenever anything but the selected shape itself changes: another shape, the list, or
  // which shape is selected. A picture of the unselected shapes stays valid while it stays the same.
  // Revisions are unique across drawings, so a new drawing never takes an old one's.
  uint64_t GetBackdropRevision() const { return backdropRevision; }
  // Changes whenever any record or the list itself changes, the selected record included.
  uint64_t GetListRevision() const { return listRevision; }
  // The changes of the list since `revision`, as places (see ListChanges); false when not known.
  bool GetListChangesSince(uint64_t revision, std::vector<ListChanges::Change>& changes) const {
    return listChanges.Since(revision, changes);
  }
  // The records whose pixels may differ between the backdrop of `revision` and the current one,
  // as they were and as they are (see BackdropChanges); false when that is not known.
  bool GetBackdropChangesSince(uint64_t revision, std::vector<CShape>& touched) const {
    return changes.Since(revision, touched);
  }

  // Tests the drawing-unit point (x, y) against the shape at `index` (-1: none) in zoomed pixels:
  // the centre handle in rotate mode (kind 5), then each vertex handle i and edge handle i (kinds
  // 1 and 2, part i), then the segments (kind 3, part i), then a Bezier's curve or an ellipse
  // (kind 3, part the number of segments). Returns kind != 0; a miss gives kind 0, part -1.
  bool HitTest(int x, int y, int index, int& kind, int& part) const;
  // The shape under (x, y), searched from just below the selection down to the back, then from
  // the front down to the selection, which comes last; without a selection front to back.
  bool FindShapeAt(int x, int y, int& index, int& kind, int& part) const;
  // The same search among `candidates` alone (ascending list indexes), which must hold every
  // shape HitTest could accept at (x, y): a spatial index's answer.
  bool FindShapeAmong(int x, int y, const std::vector<int>& candidates, int& index, int& kind, int& part) const;

  // Outline tests in zoomed pixels; a point counts when it is strictly within t of a sample in
  // both axes. The curve is sampled at 200 parameters; the ellipse, inscribed in the box with
  // corners p and q, is walked with the integer midpoint algorithm. Both work for any box.
  static bool HitBezier(int X, int Y, CPoint p0, CPoint p1, CPoint p2, CPoint p3, int t);
  static bool HitEllipse(int X, int Y, CPoint p, CPoint q, int t);
  // Half-size of the handles and pick tolerance at this zoom: 3 * (zoom / 100), at least 3.
  int GetTolerance() const;

  // The stored form: `selected`, then the shapes. A loaded `selected` outside the shapes read
  // becomes -1. Throws CArchiveException on a stream that is short or damaged.
  void Serialize(CArchive& ar) override;

  friend bool operator==(const CTavlo& a, const CTavlo& b);

 private:
  bool HasSelection() const { return selected >= 0 && selected < shapes.GetSize(); }
  void Select(int index);
  CShape ClipOfSelected() const;
  // A new backdrop revision, made by a change that touched these records.
  void Touch(std::initializer_list<const CShape*> touched);
  // The record at list index i, or nullptr outside the list.
  const CShape* At(int i) const { return i >= 0 && i < shapes.GetSize() ? &shapes[i] : nullptr; }
  std::optional<CShape> SelectedRecord() const;
  void DrawLayers(CDC& dc, bool unselected) const;
  void DrawSelection(CDC& dc, CPen& grey, CPen& black) const;
  bool Search(int x, int y, const std::vector<int>* candidates, int& index, int& kind, int& part) const;

  double angle = 0.0;
  bool rotateMode = false;
  int zoom = 100;
  int selected = -1;
  CShapeArray shapes;
  std::optional<ShapeEdits> edits;
  mutable std::optional<ShapesFingerprint> fingerprint;
  mutable std::optional<ShapeBounds> bounds;
  mutable bool boundsExact = false;
  uint64_t backdropRevision = NextRevision();
  uint64_t listRevision = NextRevision();
  ListChanges listChanges{listRevision};
  void ListChanged(ListChanges::Change change);
  BackdropChanges changes{backdropRevision};
  static uint64_t NextRevision();
};
