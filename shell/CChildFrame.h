#pragma once

#include <functional>

#include <QMdiSubWindow>

#include "platform/qt/CCmdTarget.h"

class CQuirraDoc;
class CQuirraView;

// A child window holding one view of a document. It opens the context menu: at the mouse, or,
// asked from the keyboard, 5 pixels right and below the top left of its client area.
class CChildFrame : public QMdiSubWindow, public CCmdTarget {
  Q_OBJECT

 public:
  // Asked whenever the window is to close; false keeps it open.
  using MayClose = std::function<bool(CChildFrame& frame)>;

  CChildFrame(CQuirraDoc& document, MayClose mayClose, QWidget* parent = nullptr);
  ~CChildFrame() override;

  // Closes the window without asking, for a caller that has asked about its document already.
  void CloseWithoutAsking();

  CQuirraView* GetView() const { return m_view; }
  CQuirraDoc& GetDocument() const { return m_document; }

  // `global` is a screen point, or (-1, -1) for the keyboard.
  void OnContextMenu(QPoint global);
  // Shows the document's title, this window's number among the document's windows when there
  // are several, and "*" while the document is modified.
  void UpdateTitle(int number, int count);

 signals:
  void contextMenuRequested(CChildFrame* frame, QPoint global);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  CQuirraDoc& m_document;
  MayClose m_mayClose;
  CQuirraView* m_view;
};
