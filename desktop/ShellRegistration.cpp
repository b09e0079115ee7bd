#include "desktop/ShellRegistration.h"

#include <algorithm>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/qt/AtomicSave.h"

namespace {

QString DataHome() {
  // A relative path is no data folder: the desktop ignores it, and so does the editor.
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  return QDir::isAbsolutePath(env) ? env : QDir::homePath() + QStringLiteral("/.local/share");
}

void WriteIfChanged(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile existing(path);
  if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return;
  existing.close();
  // A registration that cannot be written leaves the desktop as it was; the editor works without.
  static_cast<void>(SaveFileAtomically(path, [&content](QIODevice& device) { return WriteBytes(device, content); }));
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

// The program the Exec line of the desktop entry (or thumbnailer) at `path` runs, found on the
// path when it names no folder; empty when there is no such file or line.
QString ProgramOf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  for (const QByteArray& raw : file.readAll().split('\n')) {
    if (!raw.startsWith("Exec=")) continue;
    const QString line = QString::fromUtf8(raw.mid(5)).trimmed();
    QString program;
    if (line.startsWith(QLatin1Char('"'))) {
      // Undoes QuoteExec.
      for (qsizetype i = 1; i < line.size() && line[i] != QLatin1Char('"'); ++i) {
        if (line[i] == QLatin1Char('\\') && i + 1 < line.size()) ++i;
        program += line[i];
      }
      program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    } else {
      program = line.section(QLatin1Char(' '), 0, 0);
    }
    return program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
  }
  return {};
}

bool SameProgram(const QString& a, const QString& b) {
  const QString ca = QFileInfo(a).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Whether a desktop entry in the system's data folders runs `executable`, or the installed entry
// (the one that runs "quirra" from the path) in the user's own: `cmake --install` to ~/.local.
bool Installed(const QString& home, const QString& executable) {
  const QString own = home + QStringLiteral("/applications/quirra.desktop");
  QFile entry(own);
  if (entry.open(QIODevice::ReadOnly) && entry.readAll().contains("\nExec=quirra ") &&
      SameProgram(ProgramOf(own), executable))
    return true;
  QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
  if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
  for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
    if (SameProgram(ProgramOf(dir + QStringLiteral("/applications/quirra.desktop")), executable)) return true;
  return false;
}

struct Registered {
  QString path;
  QByteArray content;
  bool runsProgram = false;  // names the program in its Exec line
};

// What the registration writes under `home` for `executable`: the file type, the desktop entry and
// the thumbnailer (both running `executable`), and the icons.
std::vector<Registered> Registration(const QString& home, const QString& executable) {
  // The installed entry runs "quirra" from the path; this one runs the editor that registers it.
  QByteArray entry = Resource(QStringLiteral(":/desktop/quirra.desktop"));
  entry.replace("Exec=quirra ", "Exec=" + QuoteExec(executable).toUtf8() + ' ');
  // File managers make their pictures of drawings with the same editor.
  QByteArray thumbnailer = Resource(QStringLiteral(":/desktop/quirra.thumbnailer"));
  thumbnailer.replace("TryExec=quirra", "TryExec=" + executable.toUtf8());
  thumbnailer.replace("Exec=quirra ", "Exec=" + QuoteExec(executable).toUtf8() + ' ');
  std::vector<Registered> files = {
      {home + QStringLiteral("/mime/packages/quirra.xml"), Resource(QStringLiteral(":/desktop/quirra-mime.xml"))},
      {home + QStringLiteral("/applications/quirra.desktop"), entry, true},
      {home + QStringLiteral("/thumbnailers/quirra.thumbnailer"), thumbnailer, true}};
  for (const char* size : {"48", "128"}) {
    const QString dir = home + QStringLiteral("/icons/hicolor/%1x%1/").arg(QLatin1String(size));
    files.push_back({dir + QStringLiteral("apps/quirra.png"),
                     Resource(QStringLiteral(":/icons/quirra-%1.png").arg(QLatin1String(size)))});
    files.push_back({dir + QStringLiteral("mimetypes/application-x-quirra-document.png"),
                     Resource(QStringLiteral(":/icons/document-%1.png").arg(QLatin1String(size)))});
  }
  return files;
}

void RefreshDatabases(const QString& home) {
  Refresh(QStringLiteral("update-mime-database"), home + QStringLiteral("/mime"));
  Refresh(QStringLiteral("update-desktop-database"), home + QStringLiteral("/applications"));
}

// Takes the user's registration away when its entry runs a program that no longer exists.
void ForgetVanished(const QString& home) {
  const QString entry = home + QStringLiteral("/applications/quirra.desktop");
  if (!QFile::exists(entry)) return;
  const QString program = ProgramOf(entry);
  if (!program.isEmpty() && QFileInfo::exists(program)) return;
  for (const Registered& file : Registration(home, program)) QFile::remove(file.path);
  RefreshDatabases(home);
}

}  // namespace

QString RegisterShellFileTypes(const QString& executable) {
  const QString home = DataHome();
  if (Installed(home, executable)) {
    ForgetVanished(home);
    return {};
  }
  // A line break or another control character in the program's path would end the Exec line and
  // start keys of its own; such a path gets no entry and no thumbnailer.
  const bool plainPath =
      std::none_of(executable.begin(), executable.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
  for (const Registered& file : Registration(home, executable))
    if (plainPath || !file.runsProgram) WriteIfChanged(file.path, file.content);
  RefreshDatabases(home);
  return home;
}
