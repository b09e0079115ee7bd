#pragma once

#include "model/CShape.h"
#include "platform/qt/CScrollView.h"
#include "render/DrawingRenderer.h"

class CQuirraDoc;
class CTavlo;

// The view of one document's drawing in a child window. The left button draws a new shape of the
// document's tool, or drags the gripped shape by a vertex, an edge, its outline or (in rotate mode)
// its centre or a rotation; a double-click picks the shape under the pointer, stepping through a
// stack of them. Every accepted step changes the drawing at once and marks the document modified.
//
// Mouse points are client pixels; the scroll position is added and the zoom taken out, giving
// drawing units. Moves and releases count only while the view holds its capture (from a press or
// double-click to the release). The space bar, held, makes an edge drag slide a rectangle's edge;
// Escape takes the gesture back.
//
// The scrollable area covers a screen from the drawing's origin and every shape, wherever it lies.
// Every view of a document shows each change made in any of them at once.
//
// It also carries the editing commands (Delete, the reordering, Cut, Copy, Paste, Rotate, Undo and
// Redo) and the zoom commands; the document says when they may run. A gesture, and each command
// that changes the drawing, is one step of the document's history.
class CQuirraView : public CScrollView {
  Q_OBJECT
  DECLARE_MESSAGE_MAP(CQuirraView)

 public:
  using Base = CScrollView;

  // The document must outlive the view.
  explicit CQuirraView(CQuirraDoc& document, QWidget* parent = nullptr);
  ~CQuirraView() override;

  CQuirraDoc& GetDocument() const { return m_document; }
  void OnInitialUpdate() override;

  // The editor's own clipboard: one shape, shared by every view of every document, and the tool
  // that was current when it was cut or copied. Empty (no points) until the first Cut or Copy;
  // only Cut and Copy fill it. Tests start from an empty one with ClearClipboard.
  static const CShape& GetClipShape() { return clipShape; }
  static int GetClipTool() { return clipTool; }
  static void ClearClipboard() { clipShape = CShape(), clipTool = 0; }

  void OnLButtonDown(QPoint client);
  void OnLButtonUp();
  void OnLButtonDblClk(QPoint client);
  void OnMouseMove(QPoint client);
  bool HasCapture() const { return m_capture; }

 signals:
  // The context menu is wanted at a screen point, or, asked from the keyboard, at (-1, -1).
  void contextMenuRequested(QPoint global);

 protected:
  // Every unselected shape comes from a picture the view keeps (see DrawingRenderer); only the
  // selection is drawn afresh over it.
  void OnEraseBkgnd(QPainter& painter) override;
  void OnDraw(CDC& dc) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  CTavlo& Drawing() const;
  // Client pixels to drawing units: the scroll position added, the zoom taken out; clamped at the
  // gesture's floor of moves when asked.
  CPoint ToDrawing(QPoint client, bool clampAtFloor = false) const;
  void Changed();
  // The scrollable area, and the picture, after a change of the drawing made in any of its views.
  void FollowDrawing();
  void UpdateScrollArea();
  // A gesture, from a press or double-click to its release, is one step of the document's history.
  void StartGesture();
  void EndGesture();
  // Escape during a gesture.
  void CancelGesture();
  // By the rules of the document's tool: a line's or a four-point kind's.
  void DragStep(CPoint p);
  void CreateShape(CPoint p);

  // Delete and the four reordering commands: the operation, then no grip, modified, repaint.
  void OnEditReorder(void (CTavlo::*operation)());
  void OnEditCut();
  void OnEditCopy();
  void OnEditPaste();
  void OnEditRotate();
  void OnEditUndo(bool redo);
  void OnZoom(int percent);

  static inline CShape clipShape;
  static inline int clipTool = 0;

  CQuirraDoc& m_document;
  bool spaceDown = false;
  CPoint lastPoint;
  bool m_capture = false;
  CPoint m_moveFloor;  // zoomed pixels

  DrawingRenderer m_renderer;
};
