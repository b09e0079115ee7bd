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
  OnBaseline(Baseline::newDocument);
  return true;
}

bool CDocument::OnOpenDocument(const QString& path, const FileProgress& progress) {
  DeleteContents();
  m_lastError = LoadFileThroughArchive(
      path, [this](CArchive& ar) { Serialize(ar); }, progress);
  if (!m_lastError.isEmpty()) {
    DeleteContents();
    return false;
  }
  m_stamp = FileStamp::Of(path);
  OnBaseline(Baseline::read);
  return true;
}

bool CDocument::OnRecoverDocument(const QString& copy, const QString& pathName, const QString& title) {
  DeleteContents();
  m_lastError = LoadFileThroughArchive(copy, [this](CArchive& ar) { Serialize(ar); });
  if (!m_lastError.isEmpty()) {
    DeleteContents();
    return false;
  }
  // The file was not read, so there is no stamp to compare it against when saving.
  m_stamp.reset();
  if (pathName.isEmpty())
    SetTitle(title);
  else
    SetPathName(pathName);
  OnBaseline(Baseline::recovered);
  return true;
}

bool CDocument::OnSaveDocument(const QString& path, const FileProgress& progress) {
  m_lastError = SaveFileThroughArchive(
      path, [this](CArchive& ar) { Serialize(ar); }, progress);
  if (!m_lastError.isEmpty()) return false;
  m_stamp = FileStamp::Of(path);
  OnBaseline(Baseline::written);
  return true;
}

bool CDocument::ChangedOnDisk() const {
  const std::optional<FileStamp> now = FileStamp::Of(m_pathName);
  return m_stamp && now && !(*now == *m_stamp);
}

void CDocument::OnCloseDocument() { DeleteContents(); }
