#include "app/ShellRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kMimeType = QStringLiteral("application/x-quirra-document");

QString DataHome() {
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  return env.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : env;
}

void WriteIfChanged(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile existing(path);
  if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return;
  existing.close();
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(content);
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
                 QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                "  <mime-type type=\"%1\">\n"
                                "    <comment>Tavlo Document</comment>\n"
                                "    <icon name=\"application-x-quirra-document\"/>\n"
                                "    <glob pattern=\"*.qrf\"/>\n"
                                "  </mime-type>\n"
                                "</mime-info>\n")
                     .arg(kMimeType)
                     .toUtf8());
  WriteIfChanged(home + QStringLiteral("/applications/quirra.desktop"),
                 QStringLiteral("[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Quirra\n"
                                "GenericName=Drawing Editor\n"
                                "Comment=Draw lines, curves, ellipses and rectangles\n"
                                "Exec=%1 --shell-open %F\n"
                                "Icon=quirra\n"
                                "MimeType=%2;\n"
                                "Categories=Graphics;VectorGraphics;\n"
                                "Terminal=false\n")
                     .arg(QuoteExec(executable), kMimeType)
                     .toUtf8());
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
