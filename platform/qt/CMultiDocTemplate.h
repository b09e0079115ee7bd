#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>

#include "platform/qt/ArchiveFile.h"

class CDocument;

// Makes and keeps the open documents of one kind: new ones titled with the document name and a
// number ("Tavlo1", "Tavlo2", ...), and ones opened from files. A file that is already open is not
// loaded again. A file that cannot be opened is reported to the user once, naming the file and
// the reason, and no document is added: the open ones stay exactly as they were.
class CMultiDocTemplate : public QObject {
  Q_OBJECT

 public:
  using Factory = std::function<std::unique_ptr<CDocument>()>;
  // Shows a failure to the user; by default a warning message box.
  using Reporter = std::function<void(const QString& text)>;

  CMultiDocTemplate(Factory factory, QString docName, QObject* parent = nullptr);
  ~CMultiDocTemplate() override;

  CDocument* OpenNewDocument();
  CDocument* OpenDocumentFile(const QString& path);
  // A document read from a recovery copy (see CDocument::OnRecoverDocument); an untitled one keeps
  // its title, and later new documents are numbered past it. A copy that cannot be read is
  // reported as a file that cannot be opened.
  CDocument* OpenRecoveredDocument(const QString& copy, const QString& pathName, const QString& title);
  // Saves to `path`; on failure reports it and returns false, the document staying modified.
  bool SaveDocument(CDocument* doc, const QString& path);
  void CloseDocument(CDocument* doc);

  std::vector<CDocument*> GetDocuments() const;
  CDocument* FindDocument(const QString& path) const;
  void SetReporter(Reporter reporter) { m_reporter = std::move(reporter); }
  // Told how every load and save of a document goes, with the file's path, and asked whether to
  // go on (see LoadFileThroughArchive). A transfer it stops is not reported: the user asked for
  // it. A stopped load opens nothing; a stopped save leaves the old file and the document modified.
  using Progress = std::function<bool(const QString& path, qint64 done, qint64 total)>;
  void SetFileProgress(Progress progress) { m_progress = std::move(progress); }

 signals:
  void documentAdded(CDocument* doc);

 private:
  CDocument* Adopt(std::unique_ptr<CDocument> doc);

  Factory m_factory;
  QString m_docName;
  FileProgress ProgressFor(const QString& path) const;

  Reporter m_reporter;
  Progress m_progress;
  int m_untitled = 0;
  std::vector<std::unique_ptr<CDocument>> m_documents;
};
