#include <csignal>
#include <cstdio>

#include <QApplication>
#include <QStringList>

#include "app/CQuirraApp.h"
#include "app/HeadlessCommand.h"
#include "app/InstanceChannel.h"

int main(int argc, char** argv) {
  // Past a file-size limit a write should fail and be reported like a full disk, not end the
  // editor and every unsaved drawing with it.
  std::signal(SIGXFSZ, SIG_IGN);
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (const auto status = RunHeadlessCommand(args, stdout, stderr)) return *status;

  // The desktop's open command: a running editor takes the files, or this one starts with them.
  const CommandLineInfo info = ParseCommandLine(args);
  if (info.shellOpen && !info.files.isEmpty() && InstanceChannel::SendToRunning(info.files)) return 0;

  QApplication application(argc, argv);
  CQuirraApp app;
  // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
  if (!app.InitInstance(QCoreApplication::arguments().mid(1))) return 1;
  return application.exec();
}
