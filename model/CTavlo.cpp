#include "model/CTavlo.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "model/Geometry.h"
#include "platform/core/CArchive.h"

uint64_t CTavlo::NextRevision() {
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}

void CTavlo::Touch(std::initializer_list<const CShape*> touched) {
  backdropRevision = NextRevision();
  changes.Add(backdropRevision, touched);
}

void CTavlo::ListChanged(ListChanges::Change change) {
  listRevision = NextRevision();
  listChanges.Add(listRevision, change);
}

std::optional<CShape> CTavlo::SelectedRecord() const {
  return HasSelection() ? std::optional<CShape>(shapes[selected]) : std::nullopt;
}

// Besides the records a change of the list makes, moves or drops, the ones that take or leave the
// selected place count: the selection is an index, so a change below it selects another record.
void CTavlo::Select(int index) {
  angle = 0.0;
  if (index == selected) return;  // the same backdrop
  const std::optional<CShape> was = SelectedRecord();
  selected = index;
  const std::optional<CShape> now = SelectedRecord();
  Touch({was ? &*was : nullptr, now ? &*now : nullptr});
}

void CTavlo::InsertShape(int index, CShape shape) {
  if (index < 0 || index > shapes.GetSize()) return;
  if (edits) edits->Inserted(index, shape);
  const std::optional<CShape> was = index <= selected ? SelectedRecord() : std::nullopt;
  shapes.InsertAt(index, std::move(shape));
  if (fingerprint) fingerprint->Inserted(At(index - 1), shapes[index], At(index + 1));
  if (bounds) bounds->Add(shapes[index]);
  ListChanged({ListChanges::inserted, index, index});
  const std::optional<CShape> now = was ? SelectedRecord() : std::nullopt;
  // A record inserted at the selected place is the selected one: not part of the backdrop.
  Touch({index != selected ? &shapes[index] : nullptr, was ? &*was : nullptr, now ? &*now : nullptr});
}

void CTavlo::RemoveShape(int index) {
  if (index < 0 || index >= shapes.GetSize()) return;
  if (edits) edits->Removed(index, shapes[index]);
  if (fingerprint) fingerprint->Removed(At(index - 1), shapes[index], At(index + 1));
  if (bounds && bounds->Remove(shapes[index])) boundsExact = false;
  // The selected record itself is not in the backdrop: taking it away changes none of its pixels.
  const std::optional<CShape> removed = index != selected ? std::optional<CShape>(shapes[index]) : std::nullopt;
  const std::optional<CShape> was = index < selected ? SelectedRecord() : std::nullopt;
  const bool shifts = index <= selected;
  shapes.RemoveAt(index, 1);
  ListChanged({ListChanges::removed, index, index});
  const std::optional<CShape> now = shifts ? SelectedRecord() : std::nullopt;
  Touch({removed ? &*removed : nullptr, was ? &*was : nullptr, now ? &*now : nullptr});
}

void CTavlo::ReplaceShape(int index, CShape shape) {
  if (index < 0 || index >= shapes.GetSize()) return;
  if (edits) edits->Replaced(index, shapes[index], shape);
  if (fingerprint) fingerprint->Replaced(At(index - 1), shapes[index], shape, At(index + 1));
  if (bounds && bounds->Remove(shapes[index])) boundsExact = false;
  if (bounds) bounds->Add(shape);
  ListChanged({ListChanges::replaced, index, index});
  // A picture of the other shapes stays valid while only the selected one changes.
  if (index == selected) {
    shapes.ElementAt(index) = std::move(shape);
    return;
  }
  const CShape was = shapes[index];
  shapes.ElementAt(index) = std::move(shape);
  Touch({&was, &shapes[index]});
}

void CTavlo::MoveShape(int from, int to) {
  if (from < 0 || to < 0 || from >= shapes.GetSize() || to >= shapes.GetSize()) return;
  if (edits) edits->Moved(from, to);
  if (fingerprint && from != to) fingerprint->Removed(At(from - 1), shapes[from], At(from + 1));
  const bool shifts = std::min(from, to) <= selected && selected <= std::max(from, to);
  const std::optional<CShape> was = shifts ? SelectedRecord() : std::nullopt;
  shapes.Move(from, to);
  if (fingerprint && from != to) fingerprint->Inserted(At(to - 1), shapes[to], At(to + 1));
  ListChanged({ListChanges::moved, from, to});
  const std::optional<CShape> now = shifts ? SelectedRecord() : std::nullopt;
  Touch({&shapes[to], was ? &*was : nullptr, now ? &*now : nullptr});
}

ShapeBounds CTavlo::GetBounds(bool mayBeWider) const {
  if (!bounds || (!boundsExact && !mayBeWider)) {
    bounds = ShapeBounds::Of(shapes);
    boundsExact = true;
  }
  return *bounds;
}

ShapesFingerprint CTavlo::GetFingerprint() const {
  if (!fingerprint) fingerprint = ShapesFingerprint::Of(shapes);
  return *fingerprint;
}

ShapeEdits CTavlo::EndEdits() {
  ShapeEdits done = edits ? std::move(*edits) : ShapeEdits();
  edits.reset();
  return done;
}

// Selected first and then inserted at the selected place, the new record never counts as part
// of the backdrop, whose picture would be painted again where it lies for nothing.
void CTavlo::AddShape(CShape shape) {
  const int index = shapes.GetSize();
  Select(index);
  InsertShape(index, std::move(shape));
}

void CTavlo::DeleteSelected() {
  if (!HasSelection()) return;
  RemoveShape(selected);
  Select(-1);
}

CShape CTavlo::GetShape(int index) const {
  const int i = index == 0 ? selected : index;
  if (i < 0 || i >= shapes.GetSize()) return CShape();
  return shapes[i];
}

void CTavlo::SetShape(CShape shape, int index) { ReplaceShape(index == 0 ? selected : index, std::move(shape)); }

void CTavlo::MoveForwards() {
  if (!HasSelection()) return;
  if (selected < GetUpperBound()) MoveShape(selected, selected + 1);
  ClearSelection();
}

void CTavlo::MoveBackwards() {
  if (!HasSelection()) return;
  if (selected > 0) MoveShape(selected, selected - 1);
  ClearSelection();
}

void CTavlo::MoveTotallyForwards() {
  if (!HasSelection()) return;
  MoveShape(selected, GetUpperBound());
  ClearSelection();
}

void CTavlo::MoveTotallyBackwards() {
  if (!HasSelection()) return;
  MoveShape(selected, 0);
  ClearSelection();
}

CShape CTavlo::ClipOfSelected() const {
  CShape copy = shapes[selected];
  for (int i = 0; i < copy.GetPointCount(); ++i) {
    const CPoint p = copy.GetPoint(i);
    copy.SetPoint(i, geometry::Clamp32(int64_t(p.x) + 7), geometry::Clamp32(int64_t(p.y) + 7));
  }
  return copy;
}

void CTavlo::CopySelected(CShape& clip) {
  if (!HasSelection()) return;
  clip = ClipOfSelected();
  ClearSelection();
}

void CTavlo::CutSelected(CShape& clip) {
  if (!HasSelection()) return;
  clip = ClipOfSelected();
  DeleteSelected();
}

void CTavlo::ZoomPoint(CPoint& p) const {
  p.x = geometry::Zoom(p.x, zoom);
  p.y = geometry::Zoom(p.y, zoom);
}

void CTavlo::UnzoomPoint(CPoint& p) const {
  p.x = geometry::Unzoom(p.x, zoom);
  p.y = geometry::Unzoom(p.y, zoom);
}

void CTavlo::TrackRotation(int x0, int y0, int x1, int y1) {
  if (!HasSelection()) return;
  const CPoint c = shapes[selected].GetCenter();
  const double dy1 = double(int64_t(y1) - c.y);
  double dx1 = double(int64_t(x1) - c.x);
  const double dy0 = double(int64_t(y0) - c.y);
  double dx0 = double(int64_t(x0) - c.x);
  // atan2 is never asked about (0, 0): a pointer straight above or below the pivot counts as a
  // hair to its right.
  if (dx1 == 0.0) dx1 = 1e-9;
  if (dx0 == 0.0) dx0 = 1e-9;
  angle = std::atan2(dy1, dx1) - std::atan2(dy0, dx0);
}

void CTavlo::RotatePoint(CPoint& p) const {
  if (!rotateMode || angle == 0.0 || !HasSelection()) return;
  CPoint c = shapes[selected].GetCenter();
  ZoomPoint(c);
  p = geometry::Turn(p, c, angle);
}

void CTavlo::ApplyRotation() {
  if (!HasSelection()) return;
  CShape s = GetShape(0);
  const CPoint c = s.GetCenter();
  for (int i = 0; i < s.GetPointCount(); ++i) {
    const CPoint p = geometry::Turn(s.GetPoint(i), c, angle);
    s.SetPoint(i, p.x, p.y);
  }
  SetShape(s, 0);
  angle = 0.0;
}

void CTavlo::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << int32_t(selected);
    shapes.Serialize(ar);
    return;
  }
  int32_t stored = -1;
  ar >> stored;
  fingerprint.reset();
  bounds.reset();
  shapes.Serialize(ar);
  selected = stored >= -1 && stored <= GetUpperBound() ? stored : -1;
  backdropRevision = NextRevision();
  listRevision = NextRevision();
  changes.Restart(backdropRevision);
  listChanges.Restart(listRevision);
}

bool operator==(const CTavlo& a, const CTavlo& b) {
  // The revision counts changes; it is not part of what a drawing holds.
  return a.angle == b.angle && a.rotateMode == b.rotateMode && a.zoom == b.zoom && a.selected == b.selected &&
         a.shapes == b.shapes;
}
