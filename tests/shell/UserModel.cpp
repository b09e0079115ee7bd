#include "tests/shell/UserModel.h"

#include <QDir>
#include <QFileInfo>

#include "document/CQuirraDoc.h"
#include "model/DocumentFileContent.h"
#include "platform/qt/ArchiveFile.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryFolder.h"
#include "tests/shell/ShapesHash.h"

namespace shelltest {
namespace {

std::string Text(const QString& s) { return s.toStdString(); }

// The shapes in a drawing file; empty, with the reason in `error`, when it cannot be read.
QByteArray ShapesIn(const QString& path, QString& error) {
  DocumentFileContent content;
  error = LoadFileThroughArchive(path, [&content](CArchive& ar) { content.Serialize(ar); });
  return error.isEmpty() ? ShapesHash(content.drawing) : QByteArray();
}

}  // namespace

QByteArray UserModel::NewDrawing() { return ShapesHash(CTavlo()); }

void UserModel::Saved(const CQuirraDoc* doc, const QString& path) {
  ExpectedDocument& d = documents.at(doc);
  d.path = QFileInfo(path).absoluteFilePath();
  d.title = QFileInfo(path).fileName();
  d.file = d.shapes;
  files[d.path] = d.shapes;
}

std::string UserModel::CopiesDiffer(const QStringList& there) const {
  QStringList wanted;
  for (const auto& [doc, expected] : documents) {
    const std::string name = Text(expected.title);
    auto* copy = doc->findChild<RecoveryCopy*>();
    if (!copy) return name + " keeps no copy";
    if (!expected.Modified()) continue;
    const QString qrf = RecoveryFolder::CopyPath(copy->Base());
    wanted << QFileInfo(qrf).absoluteFilePath();
    if (!QFileInfo::exists(qrf)) return name + " is modified and has no copy";
    QString error;
    if (ShapesIn(qrf, error) != expected.shapes)
      return name + ": its copy holds other shapes" + (error.isEmpty() ? "" : " (" + Text(error) + ")");
    const QString json = RecoveryFolder::RecordPath(copy->Base());
    if (!QFileInfo::exists(json)) return name + ": its copy has no record";
    const RecoveryRecord record = RecoveryFolder::ReadRecord(json, qrf);
    if (record.pathName != expected.path || record.title != expected.title)
      return name + ": its copy's record names " + Text(record.title) + " " + Text(record.pathName);
  }
  QStringList found;
  for (const QString& path : there) found << QFileInfo(path).absoluteFilePath();
  wanted.sort();
  found.sort();
  if (found != wanted)
    return "the folder holds " + Text(found.join(' ')) + " where the modified drawings' are " + Text(wanted.join(' '));
  return {};
}

std::string UserModel::FilesDiffer(const QString& folder) const {
  QStringList names;
  for (const auto& [path, shapes] : files) {
    names << QFileInfo(path).fileName();
    QString error;
    if (ShapesIn(path, error) != shapes)
      return Text(path) + " holds other shapes than were saved in it" + (error.isEmpty() ? "" : ": " + Text(error));
  }
  QStringList there = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  names.sort();
  there.sort();
  if (there != names)
    return "the folder holds " + Text(there.join(' ')) + " where the user saved " + Text(names.join(' '));
  return {};
}

bool UserModel::Replay::Expect(const QString& asked, QString& answer) {
  if (!m_mismatch.empty()) return false;
  if (m_next >= m_seen.size()) {
    m_mismatch = "expected \"" + asked.toStdString() + "\", but no more dialogs were shown";
    return false;
  }
  const DialogSeen& seen = m_seen[m_next++];
  if (seen.asked != asked) {
    m_mismatch = "expected \"" + asked.toStdString() + "\", but was asked \"" + seen.asked.toStdString() + "\"";
    return false;
  }
  answer = seen.answer;
  return true;
}

bool UserModel::Replay::SaveModified(const CQuirraDoc* doc) {
  const ExpectedDocument& d = m_model.documents.at(doc);
  if (!d.Modified()) return true;
  QString answer;
  if (!Expect(QStringLiteral("Save changes to %1?").arg(d.title), answer) || answer == QLatin1String("Cancel"))
    return false;
  return answer == QLatin1String("No") || Save(doc, false);
}

bool UserModel::Replay::Save(const CQuirraDoc* doc, bool saveAs) {
  const ExpectedDocument& d = m_model.documents.at(doc);
  QString path = d.path;
  if (saveAs || path.isEmpty()) {
    if (!Expect(QStringLiteral("Save As"), path) || path.isEmpty()) return false;
  }
  m_model.Saved(doc, path);
  return true;
}

std::string UserModel::Replay::Mismatch() const {
  if (!m_mismatch.empty()) return m_mismatch;
  if (m_next < m_seen.size()) return "was asked \"" + m_seen[m_next].asked.toStdString() + "\", which was not expected";
  return {};
}

}  // namespace shelltest
