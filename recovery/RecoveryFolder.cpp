#include "recovery/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include "model/DocumentFileContent.h"
#include "platform/qt/ArchiveFile.h"

namespace {

const QString kSessionPrefix = QStringLiteral("session-");

QString LockPathOf(const QString& session) { return session + QStringLiteral(".lock"); }

std::unique_ptr<QLockFile> LockOf(const QString& session) {
  auto lock = std::make_unique<QLockFile>(LockPathOf(session));
  // Only a lock whose process is gone is stale, however old it is: an editor may run for weeks.
  lock->setStaleLockTime(0);
  return lock;
}

// The drawings of a session folder, by their copies.
QStringList CopiesIn(const QString& session) {
  QStringList copies;
  for (const QString& name : QDir(session).entryList({QStringLiteral("*.qrf")}, QDir::Files, QDir::Name))
    copies << QDir(session).filePath(name);
  return copies;
}

void RemoveIfEmpty(const QString& session) { QDir().rmdir(session); }

}  // namespace

QString RecoveryFolder::DefaultRoot() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  // A relative XDG_STATE_HOME is no valid setting; desktops ignore it, and so does the editor.
  if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/quirra/recovery");
}

RecoveryFolder::RecoveryFolder(QString root) : m_root(std::move(root)) {
  if (!QDir().mkpath(m_root)) {
    m_error = QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(m_root));
    return;
  }
  QFile::setPermissions(m_root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  m_session = QDir(m_root).filePath(kSessionPrefix + QString::number(QCoreApplication::applicationPid()) +
                                    QLatin1Char('-') + QString::number(QDateTime::currentMSecsSinceEpoch()));
  m_lock = LockOf(m_session);
  if (!m_lock->tryLock(0) || !QDir().mkpath(m_session)) {
    m_error = QStringLiteral("the folder %1 cannot be used").arg(QDir::toNativeSeparators(m_session));
    m_lock.reset();
  }
}

RecoveryFolder::~RecoveryFolder() {
  ReleaseOrphans();
  if (!m_lock) return;
  RemoveIfEmpty(m_session);
  m_lock->unlock();
}

QString RecoveryFolder::NewCopyBase() { return QDir(m_session).filePath(QString::number(++m_nextCopy)); }

std::vector<OrphanCopy> RecoveryFolder::TakeOrphans() {
  std::vector<OrphanCopy> orphans;
  if (!IsUsable()) return orphans;
  const QDir root(m_root);
  for (const QString& name : root.entryList({kSessionPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString session = root.filePath(name);
    if (session == m_session) continue;
    std::unique_ptr<QLockFile> lock = LockOf(session);
    if (!lock->tryLock(0)) continue;  // its editor runs, or another editor has taken it
    for (const QString& copy : CopiesIn(session)) {
      OrphanCopy orphan;
      orphan.copy = copy;
      orphan.record = RecordPath(copy.chopped(4));
      orphan.about = ReadRecord(orphan.record, copy);
      DocumentFileContent content;
      orphan.damage = LoadFileThroughArchive(copy, [&content](CArchive& ar) { content.Serialize(ar); });
      orphan.about.shapes = content.drawing.GetUpperBound() + 1;
      orphans.push_back(orphan);
    }
    m_orphans.emplace_back(session, std::move(lock));
  }
  return orphans;
}

void RecoveryFolder::Discard(const OrphanCopy& orphan) {
  QFile::remove(orphan.copy);
  QFile::remove(orphan.record);
}

bool RecoveryFolder::MoveInto(const OrphanCopy& orphan, const QString& base) {
  QFile::remove(RecordPath(base));
  if (!QFile::rename(orphan.copy, CopyPath(base))) return false;
  QFile::rename(orphan.record, RecordPath(base));
  return true;
}

void RecoveryFolder::ReleaseOrphans() {
  for (auto& [session, lock] : m_orphans) {
    // Whatever else a session holds (a temporary file of a write cut short) goes with it once
    // it has no copy left.
    if (CopiesIn(session).isEmpty()) QDir(session).removeRecursively();
    lock->unlock();
  }
  m_orphans.clear();
}

QByteArray RecoveryFolder::RecordBytes(const RecoveryRecord& record) {
  QJsonObject json;
  json[QStringLiteral("path")] = record.pathName;
  json[QStringLiteral("title")] = record.title;
  json[QStringLiteral("changed")] = record.changed.toString(Qt::ISODateWithMs);
  json[QStringLiteral("shapes")] = record.shapes;
  return QJsonDocument(json).toJson();
}

RecoveryRecord RecoveryFolder::ReadRecord(const QString& recordPath, const QString& copyPath) {
  RecoveryRecord record;
  record.title = QFileInfo(copyPath).fileName();
  record.changed = QFileInfo(copyPath).lastModified();
  QFile file(recordPath);
  if (!file.open(QIODevice::ReadOnly)) return record;
  const QJsonObject json = QJsonDocument::fromJson(file.read(64 * 1024)).object();
  if (json.isEmpty()) return record;
  record.pathName = json.value(QStringLiteral("path")).toString();
  record.title = json.value(QStringLiteral("title")).toString(record.title);
  record.shapes = json.value(QStringLiteral("shapes")).toInteger();
  const QDateTime changed = QDateTime::fromString(json.value(QStringLiteral("changed")).toString(), Qt::ISODateWithMs);
  if (changed.isValid()) record.changed = changed;
  return record;
}
