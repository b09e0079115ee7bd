#include "tests/shell/RecoveryFixture.h"

#include <utility>
#include <vector>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>

#include "shell/RecoveryDialog.h"

namespace shelltest {

QString RecoveryFixture::Root() const { return QDir(state.path()).filePath("quirra/recovery"); }

QStringList RecoveryFixture::Left() const {
  QStringList left;
  QDir root(Root());
  for (const QString& e : root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
    left << e;
    for (const QString& f : QDir(root.filePath(e)).entryList(QDir::Files | QDir::Hidden)) left << e + "/" + f;
  }
  return left;
}

void RecoveryFixture::StopAsKilled() {
  std::vector<std::pair<QString, QByteArray>> kept;
  for (QDirIterator it(Root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
    const QString path = it.next();
    if (path.endsWith(".lock")) continue;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      // A copy being written was renamed over its old one meanwhile: what is there now is kept.
      ASSERT_FALSE(file.exists()) << path.toStdString();
      continue;
    }
    kept.emplace_back(path, file.readAll());
  }
  Stop();
  for (const auto& [path, bytes] : kept) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
  }
}

void RecoveryFixture::Orphan(const QString& name, const QByteArray& copy, const RecoveryRecord& record) {
  const QString session = QDir(Root()).filePath("session-1-1");
  ASSERT_TRUE(QDir().mkpath(session));
  QFile qrf(QDir(session).filePath(name + ".qrf")), json(QDir(session).filePath(name + ".json"));
  ASSERT_TRUE(qrf.open(QIODevice::WriteOnly) && json.open(QIODevice::WriteOnly));
  qrf.write(copy);
  json.write(RecoveryFolder::RecordBytes(record));
}

int RecoveryFixture::StartAndAnswer(const QString& answer, const std::function<void(QTreeWidget&)>& check,
                                    const QStringList& arguments) {
  ModalHandler handler([&](QWidget* w) {
    auto* dialog = qobject_cast<RecoveryDialog*>(w);
    if (!dialog) {
      w->close();
      return;
    }
    if (check) check(*dialog->findChild<QTreeWidget*>());
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->text() == answer) {
        b->click();
        return;
      }
    dialog->close();
  });
  EXPECT_TRUE(Start(arguments));
  return handler.Seen();
}

CQuirraDoc* RecoveryFixture::DocTitled(const QString& title) const {
  for (CDocument* d : app->GetTemplate().GetDocuments())
    if (d->GetTitle() == title) return static_cast<CQuirraDoc*>(d);
  return nullptr;
}

}  // namespace shelltest
