#pragma once

#include <optional>

#include <QObject>
#include <QString>

#include "platform/qt/ArchiveFile.h"
#include "platform/qt/CCmdTarget.h"
#include "platform/qt/FileStamp.h"

class CArchive;

// A document: what one drawing window (or several) shows, with its title, its file and whether it
// has changed since it was last saved or opened.
//
// Loading and saving run Serialize through a CArchive over the file. A load that fails leaves the
// document as DeleteContents made it; a save that fails leaves the old file as it was and the
// document modified. Neither shows anything: GetLastError() says why, for the shell to show.
class CDocument : public QObject, public CCmdTarget {
  Q_OBJECT

 public:
  using Base = CCmdTarget;

  CDocument();
  ~CDocument() override;

  QString GetTitle() const { return m_title; }
  void SetTitle(const QString& title);
  QString GetPathName() const { return m_pathName; }
  // Also makes the file's name the title.
  void SetPathName(const QString& path);

  // Whether Save would write something other than what the document's file holds (untitled:
  // other than a new document). Subclasses keep it by that one rule through SetModifiedFlag.
  bool IsModified() const { return m_modified; }

  virtual bool OnNewDocument();
  // `progress` is told how a long load or save goes and may stop it (see LoadFileThroughArchive).
  virtual bool OnOpenDocument(const QString& path, const FileProgress& progress = {});
  virtual bool OnSaveDocument(const QString& path, const FileProgress& progress = {});
  // Reads the document from a copy kept elsewhere (a recovery copy) as a changed document: its
  // file is `pathName` when there is one, otherwise it is titled `title`. Nothing is read from
  // or written to `pathName`, and the document counts as modified.
  bool OnRecoverDocument(const QString& copy, const QString& pathName, const QString& title);
  virtual void OnCloseDocument();
  virtual void DeleteContents() {}
  virtual void Serialize(CArchive& ar) = 0;

  // Every view of the document shows it again: what one view changed, the others show at once.
  void UpdateAllViews() { emit viewsOutdated(); }

  QString GetLastError() const { return m_lastError; }
  // True when another program has changed or replaced the document's file since this document
  // last opened or saved it. A file that has gone since counts as unchanged: nothing would be lost.
  bool ChangedOnDisk() const;

 signals:
  void modifiedChanged(bool modified);
  void titleChanged(const QString& title);
  void viewsOutdated();

 protected:
  // What the document's file holds has just become known: the document is new (its file holds
  // nothing yet), was read from its file or written to it, or was read from a copy kept elsewhere
  // (its file, if any, was not read). This default counts only the recovered document as modified.
  enum class Baseline { newDocument, read, written, recovered };
  virtual void OnBaseline(Baseline baseline) { SetModifiedFlag(baseline == Baseline::recovered); }
  void SetModifiedFlag(bool modified);

 private:
  QString m_title;
  QString m_pathName;
  QString m_lastError;
  std::optional<FileStamp> m_stamp;  // of the file as last opened or saved
  bool m_modified = false;
};
