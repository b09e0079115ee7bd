#include "view/CQuirraView.h"

#include <algorithm>
#include <cstdint>

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "document/CQuirraDoc.h"
#include "model/CTavlo.h"
#include "model/DragRules.h"
#include "model/Geometry.h"
#include "model/ShapeBounds.h"
#include "res/CommandIds.h"

namespace {

CSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->size() : QSize(1024, 768);
  return CSize(size.width(), size.height());
}

// The scroll bars' arithmetic is in ints, their span included: the area stays within this far of
// the origin, which at 50 per cent holds nearly the whole range of drawing units, and its width
// within an int.
constexpr int64_t kAreaLimit = (int64_t(1) << 30) - 1;

int64_t InArea(int64_t v) { return std::clamp(v, -kAreaLimit, kAreaLimit); }

// A corner of a box of drawing units, in zoomed pixels.
CPoint Zoomed(const CTavlo& drawing, int64_t x, int64_t y) {
  CPoint p(geometry::Clamp32(x), geometry::Clamp32(y));
  drawing.ZoomPoint(p);
  return p;
}

}  // namespace

const MessageMap<CQuirraView>& CQuirraView::GetMessageMap() {
  using Map = MessageMap<CQuirraView>;
  static const Map map(
      {
          {ID_EDIT_DELETE, [](CQuirraView& v) { v.OnEditReorder(&CTavlo::DeleteSelected); }},
          {ID_EDIT_FORWARDS, [](CQuirraView& v) { v.OnEditReorder(&CTavlo::MoveForwards); }},
          {ID_EDIT_BACKWARDS, [](CQuirraView& v) { v.OnEditReorder(&CTavlo::MoveBackwards); }},
          {ID_EDIT_TOTALLYFORWARDS, [](CQuirraView& v) { v.OnEditReorder(&CTavlo::MoveTotallyForwards); }},
          {ID_EDIT_TOTALLYBACKWARDS, [](CQuirraView& v) { v.OnEditReorder(&CTavlo::MoveTotallyBackwards); }},
          {ID_EDIT_CUT, [](CQuirraView& v) { v.OnEditCut(); }},
          {ID_EDIT_COPY, [](CQuirraView& v) { v.OnEditCopy(); }},
          {ID_EDIT_PASTE, [](CQuirraView& v) { v.OnEditPaste(); }},
          {ID_EDIT_ROTATE, [](CQuirraView& v) { v.OnEditRotate(); }},
          {ID_EDIT_UNDO, [](CQuirraView& v) { v.OnEditUndo(false); }},
          {ID_EDIT_REDO, [](CQuirraView& v) { v.OnEditUndo(true); }},
          {ID_ZOOM_50, [](CQuirraView& v) { v.OnZoom(50); }},
          {ID_ZOOM_100, [](CQuirraView& v) { v.OnZoom(100); }},
          {ID_ZOOM_200, [](CQuirraView& v) { v.OnZoom(200); }},
          {ID_ZOOM_300, [](CQuirraView& v) { v.OnZoom(300); }},
          {ID_ZOOM_500, [](CQuirraView& v) { v.OnZoom(500); }},
      },
      {
          {ID_EDIT_PASTE, [](CQuirraView&, CCmdUI& ui) { ui.Enable(clipShape.GetPointCount() != 0); }},
      });
  return map;
}

CQuirraView::CQuirraView(CQuirraDoc& document, QWidget* parent) : CScrollView(parent), m_document(document) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  connect(&document, &CDocument::viewsOutdated, this, &CQuirraView::FollowDrawing);
}

// A window closed in the middle of a gesture still ends its step.
CQuirraView::~CQuirraView() { EndGesture(); }

CTavlo& CQuirraView::Drawing() const { return m_document.GetDrawing(); }

void CQuirraView::OnInitialUpdate() {
  CScrollView::OnInitialUpdate();
  UpdateScrollArea();
}

// One screen from the origin at the drawing's zoom, and every shape with its pen and handles
// wherever it lies. During a gesture the area only grows, so that a drag does not go over the
// whole drawing at each step; its end takes the area in again.
void CQuirraView::UpdateScrollArea() {
  const CTavlo& drawing = Drawing();
  const CSize screen = ScreenSize();
  const int z = drawing.GetZoom();
  int64_t left = 0, top = 0, right = geometry::Zoom(screen.cx, z), bottom = geometry::Zoom(screen.cy, z);
  // A box of drawing units zoomed, and `margin` pixels around it.
  auto cover = [&](const ShapeBounds::Box& box, int64_t margin) {
    if (box.empty) return;
    const CPoint from = Zoomed(drawing, box.left, box.top), to = Zoomed(drawing, box.right, box.bottom);
    left = std::min(left, from.x - margin), top = std::min(top, from.y - margin);
    right = std::max(right, to.x + margin + 1), bottom = std::max(bottom, to.y + margin + 1);
  };
  const ShapeBounds bounds = drawing.GetBounds(m_document.InStep());
  // Half the widest pen, or a handle, around the points; the centre's marker around the centres.
  const int handle = drawing.GetTolerance();
  cover(bounds.Points(), std::max(std::clamp(bounds.WidestPen(), 1, 255) / 2 + 1, handle));
  cover(bounds.Centres(), handle + 3);
  left = InArea(left), top = InArea(top), right = InArea(right), bottom = InArea(bottom);
  const QRect area(QPoint(int(left), int(top)), QSize(int(right - left), int(bottom - top)));
  if (area != GetScrollArea()) SetScrollArea(area);
}

void CQuirraView::FollowDrawing() {
  UpdateScrollArea();
  InvalidateAll();
}

void CQuirraView::OnEraseBkgnd(QPainter& painter) {
  const CPoint scroll = GetScrollPosition();
  m_renderer.PaintBackground(painter, Drawing(), QPoint(scroll.x, scroll.y), viewport()->size(),
                             viewport()->devicePixelRatioF());
}

void CQuirraView::OnDraw(CDC& dc) { Drawing().DrawSelected(dc); }

CPoint CQuirraView::ToDrawing(QPoint client, bool clampAtFloor) const {
  const CPoint scroll = GetScrollPosition();
  const int64_t left = clampAtFloor ? m_moveFloor.x : INT64_MIN;
  const int64_t top = clampAtFloor ? m_moveFloor.y : INT64_MIN;
  CPoint p(geometry::Clamp32(std::max(int64_t(client.x()) + scroll.x, left)),
           geometry::Clamp32(std::max(int64_t(client.y()) + scroll.y, top)));
  Drawing().UnzoomPoint(p);
  return p;
}

void CQuirraView::Changed() { m_document.FollowContent(); }

void CQuirraView::StartGesture() {
  if (m_capture) return;
  m_document.BeginStep();
  m_capture = true;
  // Moves stop at the drawing's origin, or further out where shapes already lie, as the press
  // found them: a floor that followed the shape being dragged would let it creep ever further.
  const CTavlo& drawing = Drawing();
  const ShapeBounds bounds = drawing.GetBounds();
  const CPoint floor = Zoomed(drawing, bounds.Points().left, bounds.Points().top);
  m_moveFloor = bounds.IsEmpty() ? CPoint() : CPoint(std::min(floor.x, 0), std::min(floor.y, 0));
}

void CQuirraView::EndGesture() {
  if (!m_capture) return;
  m_capture = false;
  m_document.EndStep();
}

// The gesture ends as if it had never begun: the drawing, the selection and the grip go back to
// how they were at the press, and the history gets no entry. The button may still be held; the
// moves and the release that follow belong to no gesture.
void CQuirraView::CancelGesture() {
  if (!m_capture) return;
  m_capture = false;
  Drawing().CancelRotation();
  m_document.CancelStep();
}

// --- Mouse ---------------------------------------------------------------------------------

void CQuirraView::OnLButtonDown(QPoint client) {
  StartGesture();
  CTavlo& drawing = Drawing();
  const CPoint p = ToDrawing(client);
  lastPoint = p;
  int kind = HIT_NONE, part = -1;
  const bool hit = drawing.HitTest(p.x, p.y, drawing.GetSelected(), kind, part);
  if (!hit) drawing.ClearSelection();
  m_document.Grip(hit && drawing.GetRotateMode() && kind != HIT_CENTER ? HIT_ROTATE : kind, part);
  m_document.UpdateAllViews();
}

void CQuirraView::OnLButtonDblClk(QPoint client) {
  CTavlo& drawing = Drawing();
  if (drawing.GetUpperBound() == -1) return;
  StartGesture();
  const CPoint p = ToDrawing(client);
  int index = -1, kind = HIT_NONE, part = -1;
  if (m_renderer.FindShapeAt(drawing, p.x, p.y, index, kind, part)) {
    m_document.Pick(index, kind, part);
    m_document.UpdateAllViews();
  }
}

void CQuirraView::OnLButtonUp() {
  if (!m_capture) return;
  if (Drawing().GetRotateMode() && m_document.GetHitMode() != HIT_NONE) Drawing().ApplyRotation();
  // A turn that was not applied (rotate mode went off in another window) ends with its gesture.
  Drawing().CancelRotation();
  EndGesture();
  m_document.UpdateAllViews();
}

void CQuirraView::OnMouseMove(QPoint client) {
  if (!m_capture) return;
  // Moves, unlike presses, stop at the floor the gesture began with.
  const CPoint p = ToDrawing(client, true);
  if (p == lastPoint) return;
  switch (m_document.GetTool()) {
    case kLine:
    case kRectangle:
    case kPolygonRect:
    case kBezier:
    case kEllipse: DragStep(p); break;
    default: break;
  }
}

void CQuirraView::CreateShape(CPoint p) {
  const int tool = m_document.GetTool();
  const CQuirraDoc::Attributes& with = m_document.GetAttributes();
  CShape s = drag_rules::NewShape(tool, lastPoint, p);
  if (tool != kLine) {
    s.SetBrushColor(with.brushColor);
    s.SetBrushStyle(with.brushStyle);
  }
  s.SetPenColor(with.penColor);
  s.SetPenStyle(with.penStyle);
  s.SetPenWidth(with.penWidth);
  Drawing().AddShape(s);
  m_document.Grip(HIT_VERTEX, drag_rules::NewShapeGrip(tool));
  lastPoint = p;
  Changed();
}

// One drag step: a new shape, a turn, or the gripped shape reshaped by the drag rules.
void CQuirraView::DragStep(CPoint p) {
  CTavlo& drawing = Drawing();
  switch (m_document.GetHitMode()) {
    case HIT_NONE: CreateShape(p); return;
    case HIT_ROTATE:
      // The angle is measured from the press point for the whole drag: lastPoint stays.
      drawing.TrackRotation(lastPoint.x, lastPoint.y, p.x, p.y);
      Changed();
      return;
    default: break;
  }
  CShape s = drawing.GetShape(0);
  const drag_rules::Step step{int64_t(p.x) - lastPoint.x, int64_t(p.y) - lastPoint.y};
  if (!drag_rules::Reshape(s, m_document.GetTool(), m_document.GetHitMode(), m_document.GetHitPart(), step, spaceDown))
    return;
  drawing.SetShape(s, 0);
  lastPoint = p;
  Changed();
}

// --- Qt events -----------------------------------------------------------------------------
// Qt delivers a double-click as press, release, double-click, release; the double-click event
// stands in for the second press, so the view sees down, up, double-click, up.

void CQuirraView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    OnLButtonDown(event->position().toPoint());
  else
    CScrollView::mousePressEvent(event);
}

void CQuirraView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    OnLButtonUp();
  else
    CScrollView::mouseReleaseEvent(event);
}

void CQuirraView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    OnLButtonDblClk(event->position().toPoint());
  else
    CScrollView::mouseDoubleClickEvent(event);
}

void CQuirraView::mouseMoveEvent(QMouseEvent* event) {
  // The release went to a popup or a dialog that took the mouse while the button was held: the
  // gesture ended there, so end it here as the release would have.
  if (m_capture && !(event->buttons() & Qt::LeftButton)) {
    OnLButtonUp();
    return;
  }
  OnMouseMove(event->position().toPoint());
}

void CQuirraView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && m_capture) {
    CancelGesture();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Space) spaceDown = true;
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    emit contextMenuRequested(QPoint(-1, -1));
    return;
  }
  // The arrow keys belong to the reordering commands, not to scrolling.
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_Left ||
      event->key() == Qt::Key_Right) {
    event->ignore();
    return;
  }
  CScrollView::keyPressEvent(event);
}

void CQuirraView::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuRequested(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : QPoint(-1, -1));
  event->accept();
}

void CQuirraView::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) spaceDown = false;
  CScrollView::keyReleaseEvent(event);
}

// A release that happens in another window, a popup or a dialog never reaches this one: let go
// of the space bar, and end a gesture as its release would.
void CQuirraView::focusOutEvent(QFocusEvent* event) {
  spaceDown = false;
  OnLButtonUp();
  CScrollView::focusOutEvent(event);
}

// --- Commands ------------------------------------------------------------------------------

void CQuirraView::OnEditReorder(void (CTavlo::*operation)()) {
  const CQuirraDoc::Step step(m_document);
  (Drawing().*operation)();
  m_document.ReleaseGrip();
  Changed();
}

void CQuirraView::OnEditCut() {
  const CQuirraDoc::Step step(m_document);
  Drawing().CutSelected(clipShape);
  clipTool = m_document.GetTool();
  m_document.ReleaseGrip();
  Changed();
}

void CQuirraView::OnEditCopy() {
  Drawing().CopySelected(clipShape);
  clipTool = m_document.GetTool();
  m_document.ReleaseGrip();
  m_document.UpdateAllViews();
}

void CQuirraView::OnEditPaste() {
  const CQuirraDoc::Step step(m_document);
  Drawing().AddShape(clipShape);
  m_document.SetTool(clipTool);
  Changed();
}

void CQuirraView::OnEditRotate() {
  // Switched in the middle of a rotation drag, the turn on screen is what the user chose: apply
  // it and end the drag, rather than leave an angle that the handles no longer show.
  if (m_capture && m_document.GetHitMode() == HIT_ROTATE) {
    Drawing().ApplyRotation();
    EndGesture();
  }
  Drawing().SetRotateMode(!Drawing().GetRotateMode());
  m_document.UpdateAllViews();
}

void CQuirraView::OnEditUndo(bool redo) {
  if (redo)
    m_document.Redo();
  else
    m_document.Undo();
}

// Every view shows the drawing at its zoom, with the area of that zoom.
void CQuirraView::OnZoom(int percent) {
  Drawing().SetZoom(percent);
  m_document.UpdateAllViews();
}
