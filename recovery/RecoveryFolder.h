#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QDateTime>
#include <QString>

class QLockFile;

// What the record beside a recovery copy says of its document.
struct RecoveryRecord {
  QString pathName;  // the document's file; empty for an untitled document
  QString title;     // "TavloN" for an untitled one
  QDateTime changed;
  qint64 shapes = 0;
};

// A copy left by an editor that is gone, read to tell what it holds.
struct OrphanCopy {
  QString copy;    // the drawing, a .qrf file
  QString record;  // the record beside it
  RecoveryRecord about;
  QString damage;  // why it cannot be recovered; empty when it can
};

// The recovery copies of every editor of this user, under $XDG_STATE_HOME/quirra/recovery (or
// ~/.local/state/quirra/recovery). Each running editor has a session folder of its own there,
// owned through a lock file beside it that names its process: a session whose owner is gone is
// an orphan, and only one editor at a time can take it. The lock is taken before the folder is
// made, so a folder without a live owner is always an orphan.
//
// Nothing here shows anything; Error() says why no copies can be kept, for the shell to tell.
class RecoveryFolder {
 public:
  explicit RecoveryFolder(QString root = DefaultRoot());
  // Gives up the orphans taken and not emptied (see ReleaseOrphans), then this session: its lock
  // and, when its copies are gone, its folder.
  ~RecoveryFolder();

  static QString DefaultRoot();
  QString Error() const { return m_error; }
  bool IsUsable() const { return m_error.isEmpty(); }
  // Where a new copy goes in this session, without its suffix: BASE.qrf, and BASE.json beside it.
  QString NewCopyBase();

  // The copies of every session whose owner is gone. Their sessions stay this editor's until
  // ReleaseOrphans, so that no other editor offers them meanwhile.
  std::vector<OrphanCopy> TakeOrphans();
  void Discard(const OrphanCopy& orphan);
  // Makes an orphan's files the copy at `base` of this session (a rename: there is no moment
  // without a copy on the disk). False when they could not be moved.
  bool MoveInto(const OrphanCopy& orphan, const QString& base);
  // Orphan sessions that still hold copies are left for a later start; empty ones go.
  void ReleaseOrphans();

  static QString CopyPath(const QString& base) { return base + QStringLiteral(".qrf"); }
  static QString RecordPath(const QString& base) { return base + QStringLiteral(".json"); }
  // The record as it is written beside a copy, and read back; a record that cannot be read gives
  // what the copy itself tells (its file name and time).
  static QByteArray RecordBytes(const RecoveryRecord& record);
  static RecoveryRecord ReadRecord(const QString& recordPath, const QString& copyPath);

 private:
  QString m_root;
  QString m_session;
  QString m_error;
  std::unique_ptr<QLockFile> m_lock;
  std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> m_orphans;  // session folder, its lock
  int m_nextCopy = 0;
};
