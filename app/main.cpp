#include <cstdio>

#include <QStringList>

#include "app/HeadlessCommand.h"

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (const auto status = RunHeadlessCommand(args, stdout, stderr)) return *status;

  std::fputs("quirra: this build has the command-line modes only; the drawing windows are not part of it yet\n",
             stderr);
  return RunHeadlessCommand({QStringLiteral("--usage")}, stdout, stderr).value_or(2);
}
