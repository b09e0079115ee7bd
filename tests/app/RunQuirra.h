// Runs the real quirra executable as a script would: no display, no platform chosen for it.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct Outcome {
  int status;  // the exit code, or -1 when the program did not end normally
  QByteArray out;
  QByteArray err;
};

// `limitKiB` > 0 runs it under a limit of that many KiB, as `ulimit -f` sets one on the size of a
// file, or another option of ulimit on something else (`v` the address space).
inline Outcome Quirra(const QStringList& args, int limitKiB = 0, char limit = 'f') {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(var));
  p.setProcessEnvironment(env);
  if (limitKiB > 0)
    p.start(QStringLiteral("bash"),
            QStringList{"-c", QStringLiteral("ulimit -%1 %2; exec \"$0\" \"$@\"").arg(QLatin1Char(limit)).arg(limitKiB),
                        QStringLiteral(QUIRRA_BINARY)} +
                args);
  else
    p.start(QStringLiteral(QUIRRA_BINARY), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}
