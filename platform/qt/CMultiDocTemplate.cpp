#include "platform/qt/CMultiDocTemplate.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include "platform/qt/CDocument.h"
#include "platform/qt/FileStamp.h"
#include "platform/qt/ModalFrame.h"

namespace {

// What the user reads when a file cannot be opened or saved: the file, then the reason.
QString Failure(const char* what, const QString& path, const QString& reason) {
  return QStringLiteral("Cannot %1 \"%2\":\n%3.").arg(QLatin1String(what), QDir::toNativeSeparators(path), reason);
}

}  // namespace

CMultiDocTemplate::CMultiDocTemplate(Factory factory, QString docName, QObject* parent)
    : QObject(parent), m_factory(std::move(factory)), m_docName(std::move(docName)) {
  m_reporter = [](const QString& text) { ShowMessageBox(QApplication::activeWindow(), QMessageBox::Warning, text); };
}

CMultiDocTemplate::~CMultiDocTemplate() = default;

FileProgress CMultiDocTemplate::ProgressFor(const QString& path) const {
  if (!m_progress) return {};
  return [this, path](qint64 done, qint64 total) { return m_progress(path, done, total); };
}

CDocument* CMultiDocTemplate::Adopt(std::unique_ptr<CDocument> doc) {
  m_documents.push_back(std::move(doc));
  CDocument* added = m_documents.back().get();
  emit documentAdded(added);
  return added;
}

CDocument* CMultiDocTemplate::OpenNewDocument() {
  std::unique_ptr<CDocument> doc = m_factory();
  if (!doc->OnNewDocument()) return nullptr;
  doc->SetTitle(m_docName + QString::number(++m_untitled));
  return Adopt(std::move(doc));
}

CDocument* CMultiDocTemplate::OpenRecoveredDocument(const QString& copy, const QString& pathName,
                                                    const QString& title) {
  std::unique_ptr<CDocument> doc = m_factory();
  if (!doc->OnRecoverDocument(copy, pathName, title)) {
    m_reporter(Failure("open", copy, doc->GetLastError()));
    return nullptr;
  }
  bool numbered = false;
  const int number = title.startsWith(m_docName) ? title.mid(m_docName.size()).toInt(&numbered) : 0;
  if (pathName.isEmpty() && numbered) m_untitled = std::max(m_untitled, number);
  return Adopt(std::move(doc));
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const QString& path) {
  if (CDocument* open = FindDocument(path)) return open;
  std::unique_ptr<CDocument> doc = m_factory();
  if (!doc->OnOpenDocument(path, ProgressFor(path))) {
    if (doc->GetLastError() == CancelledReason()) return nullptr;
    m_reporter(Failure("open", path, doc->GetLastError()));
    return nullptr;
  }
  doc->SetPathName(path);
  return Adopt(std::move(doc));
}

bool CMultiDocTemplate::SaveDocument(CDocument* doc, const QString& path) {
  // The other document's next save would silently drop what this one wrote.
  if (const CDocument* other = FindDocument(path); other && other != doc) {
    m_reporter(Failure("save", path, QStringLiteral("it is open in another window")));
    return false;
  }
  if (!doc->OnSaveDocument(path, ProgressFor(path))) {
    if (doc->GetLastError() == CancelledReason()) return false;
    m_reporter(Failure("save", path, doc->GetLastError()));
    return false;
  }
  doc->SetPathName(path);
  return true;
}

void CMultiDocTemplate::CloseDocument(CDocument* doc) {
  const auto it = std::find_if(m_documents.begin(), m_documents.end(), [doc](const auto& d) { return d.get() == doc; });
  if (it == m_documents.end()) return;
  doc->OnCloseDocument();
  m_documents.erase(it);
}

std::vector<CDocument*> CMultiDocTemplate::GetDocuments() const {
  std::vector<CDocument*> docs;
  for (const auto& d : m_documents) docs.push_back(d.get());
  return docs;
}

CDocument* CMultiDocTemplate::FindDocument(const QString& path) const {
  // The same file may be reached through a symbolic or a hard link: compare the files themselves.
  const QString wanted = QFileInfo(path).absoluteFilePath();
  const std::optional<FileStamp> file = FileStamp::Of(path);
  for (const auto& d : m_documents) {
    if (d->GetPathName().isEmpty()) continue;
    if (d->GetPathName() == wanted) return d.get();
    const std::optional<FileStamp> other = FileStamp::Of(d->GetPathName());
    if (file && other && file->SameFile(*other)) return d.get();
  }
  return nullptr;
}
