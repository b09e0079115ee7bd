#include "app/ShellRegistration.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/qt/AtomicSave.h"

namespace {

QString DataHome() {
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  return env.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : env;
}

void WriteIfChanged(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile existing(path);
  if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return;
  existing.close();
  SaveFileAtomically(path, [&content](QIODevice& device) { return WriteBytes(device, content); });
}

QByteArray Resource(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Desktop entry rules: an argument with spaces or specials is double-quoted, and inside quotes
// the characters " ` $ \ are escaped.
QString QuoteExec(const QString& path) {
  QString quoted = path;
  for (const QChar c : {QLatin1Char('\\'), QLatin1Char('"'), QLatin1Char('`'), QLatin1Char('$')})
    quoted.replace(c, QStringLiteral("\\") + c);
  return QStringLiteral("\"%1\"").arg(quoted).replace(QLatin1Char('%'), QStringLiteral("%%"));
}

void Refresh(const QString& tool, const QString& folder) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (!program.isEmpty()) QProcess::startDetached(program, {folder});
}

}  // namespace

QString RegisterShellFileTypes(const QString& executable) {
  const QString home = DataHome();
  WriteIfChanged(home + QStringLiteral("/mime/packages/quirra.xml"),
                 Resource(QStringLiteral(":/desktop/quirra-mime.xml")));
  // The installed entry runs "quirra" from the path; this one runs the editor that registers it.
  QByteArray entry = Resource(QStringLiteral(":/desktop/quirra.desktop"));
  entry.replace("Exec=quirra ", "Exec=" + QuoteExec(executable).toUtf8() + ' ');
  // A line break or another control character in the program's path would end the Exec line and
  // start keys of its own; such a path gets no entry.
  const bool plainPath =
      std::none_of(executable.begin(), executable.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
  if (plainPath) WriteIfChanged(home + QStringLiteral("/applications/quirra.desktop"), entry);
  // File managers make their pictures of drawings with the same editor.
  QByteArray thumbnailer = Resource(QStringLiteral(":/desktop/quirra.thumbnailer"));
  thumbnailer.replace("TryExec=quirra", "TryExec=" + executable.toUtf8());
  thumbnailer.replace("Exec=quirra ", "Exec=" + QuoteExec(executable).toUtf8() + ' ');
  if (plainPath) WriteIfChanged(home + QStringLiteral("/thumbnailers/quirra.thumbnailer"), thumbnailer);
  for (const char* size : {"48", "128"}) {
    const QString dir = home + QStringLiteral("/icons/hicolor/%1x%1/").arg(QLatin1String(size));
    WriteIfChanged(dir + QStringLiteral("apps/quirra.png"),
                   Resource(QStringLiteral(":/pictures/quirra-%1.png").arg(QLatin1String(size))));
    WriteIfChanged(dir + QStringLiteral("mimetypes/application-x-quirra-document.png"),
                   Resource(QStringLiteral(":/pictures/document-%1.png").arg(QLatin1String(size))));
  }
  Refresh(QStringLiteral("update-mime-database"), home + QStringLiteral("/mime"));
  Refresh(QStringLiteral("update-desktop-database"), home + QStringLiteral("/applications"));
  return home;
}
