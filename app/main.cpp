#include <csignal>
#include <cstdio>

#include <QApplication>
#include <QStringList>

#include "app/CommandLine.h"
#include "app/HeadlessCommand.h"
#include "desktop/InstanceChannel.h"
#include "platform/qt/ArchiveFile.h"
#include "shell/CQuirraApp.h"

#if defined(__SANITIZE_ADDRESS__)
// A drawing too large for the memory is a message in this build too, not an abort.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

int main(int argc, char** argv) {
  // Past a file-size limit a write should fail and be reported like a full disk, not end the
  // editor and every unsaved drawing with it.
  std::signal(SIGXFSZ, SIG_IGN);
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const CommandLine info = ParseCommandLine(args);
  if (info.mode != CommandLine::editor) return RunHeadlessCommand(info, stdout, stderr);

  // The desktop's open command: a running editor takes the files, or this one starts with them.
  // The desktop shows no message from a program that hands its files on and ends, so what can be
  // found wrong here is said on standard error and in the exit status, and only the rest goes on.
  QStringList refused;
  if (info.shellOpen) {
    QStringList sendable;
    for (const QString& file : info.files) {
      const QString why = WhyNotReadable(file);
      if (why.isEmpty()) {
        sendable << file;
      } else {
        std::fprintf(stderr, "quirra: %s: %s\n", file.toLocal8Bit().constData(), why.toLocal8Bit().constData());
        refused << file;
      }
    }
    if (!info.files.isEmpty() && sendable.isEmpty()) return 1;
    if (!sendable.isEmpty() && InstanceChannel::SendToRunning(sendable)) return refused.isEmpty() ? 0 : 1;
  }

  QApplication application(argc, argv);
  CQuirraApp app;
  QStringList files = info.files;
  for (const QString& file : refused) files.removeOne(file);
  if (!app.InitInstance(files, info.automated)) return 1;
  const int status = application.exec();
  return refused.isEmpty() ? status : 1;
}
