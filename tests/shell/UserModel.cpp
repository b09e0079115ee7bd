#include "tests/shell/UserModel.h"

#include <QFileInfo>

#include "model/CTavlo.h"
#include "tests/shell/ShapesHash.h"

namespace shelltest {

QByteArray UserModel::NewDrawing() { return ShapesHash(CTavlo()); }

void UserModel::Saved(const CQuirraDoc* doc, const QString& path) {
  ExpectedDocument& d = documents.at(doc);
  d.path = QFileInfo(path).absoluteFilePath();
  d.title = QFileInfo(path).fileName();
  d.file = d.shapes;
  files[d.path] = d.shapes;
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
