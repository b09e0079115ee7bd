#include "platform/qt/CDocument.h"

#include <QFileInfo>

#include "platform/qt/ArchiveFile.h"

CDocument::CDocument() = default;
CDocument::~CDocument() = default;

void CDocument::SetTitle(const QString& title) {
  if (title == m_title) return;
  m_title = title;
  emit titleChanged(m_title);
}

void CDocument::SetPathName(const QString& path) {
  m_pathName = QFileInfo(path).absoluteFilePath();
  SetTitle(QFileInfo(path).fileName());
}

void CDocument::SetModifiedFlag(bool modified) {
  if (modified == m_modified) return;
  m_modified = modified;
  emit modifiedChanged(m_modified);
}

bool CDocument::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(false);
  return true;
}

bool CDocument::OnOpenDocument(const QString& path) {
  DeleteContents();
  m_lastError = LoadFileThroughArchive(path, [this](CArchive& ar) { Serialize(ar); });
  if (!m_lastError.isEmpty()) {
    DeleteContents();
    return false;
  }
  SetModifiedFlag(false);
  return true;
}

bool CDocument::OnSaveDocument(const QString& path) {
  m_lastError = SaveFileThroughArchive(path, [this](CArchive& ar) { Serialize(ar); });
  if (!m_lastError.isEmpty()) return false;
  SetModifiedFlag(false);
  return true;
}

void CDocument::OnCloseDocument() { DeleteContents(); }
