#include "shell/CChildFrame.h"

#include <utility>

#include <QCloseEvent>

#include "document/CQuirraDoc.h"
#include "view/CQuirraView.h"

CChildFrame::CChildFrame(CQuirraDoc& document, MayClose mayClose, QWidget* parent)
    : QMdiSubWindow(parent), m_document(document), m_mayClose(std::move(mayClose)) {
  setAttribute(Qt::WA_DeleteOnClose);
  m_view = new CQuirraView(document, this);
  setWidget(m_view);
  connect(m_view, &CQuirraView::contextMenuRequested, this, &CChildFrame::OnContextMenu);
  setWindowIcon(QIcon(QStringLiteral(":/icons/document-48.png")));
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::UpdateTitle(int number, int count) {
  QString title = m_document.GetTitle();
  if (count > 1) title += QStringLiteral(":%1").arg(number);
  setWindowTitle(title + QStringLiteral("[*]"));
  setWindowModified(m_document.IsModified());
}

void CChildFrame::OnContextMenu(QPoint global) {
  if (global == QPoint(-1, -1)) global = m_view->mapToGlobal(QPoint(0, 0)) + QPoint(5, 5);
  emit contextMenuRequested(this, global);
}

void CChildFrame::CloseWithoutAsking() {
  MayClose mayClose = std::exchange(m_mayClose, nullptr);
  if (!close()) m_mayClose = std::move(mayClose);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (m_mayClose && !m_mayClose(*this)) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}
