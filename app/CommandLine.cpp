#include "app/CommandLine.h"

namespace {

// The --zoom value of a picture export: 1 to 1000, or 0 when it is no such number.
int ParseZoom(const QString& text) {
  bool ok = false;
  const int zoom = text.toInt(&ok);
  return ok && zoom >= 1 && zoom <= 1000 ? zoom : 0;
}

CommandLine Headless(const QStringList& args) {
  CommandLine line;
  const QString& mode = args.first();
  if (mode == QLatin1String("--help")) {
    line.mode = CommandLine::help;
  } else if (mode == QLatin1String("--info") && args.size() == 2) {
    line.mode = CommandLine::info;
    line.files = {args[1]};
  } else if (mode == QLatin1String("--export") && args.size() == 3) {
    line.mode = CommandLine::exportFile;
    line.files = {args[1]};
    line.target = args[2];
  } else if (mode == QLatin1String("--export") && args.size() == 5 && args[3] == QLatin1String("--zoom") &&
             !args[2].endsWith(QLatin1String(".qrf"), Qt::CaseInsensitive) &&
             !args[2].endsWith(QLatin1String(".json"), Qt::CaseInsensitive) && ParseZoom(args[4])) {
    line.mode = CommandLine::exportFile;
    line.files = {args[1]};
    line.target = args[2];
    line.zoom = ParseZoom(args[4]);
  } else if (mode == QLatin1String("--thumbnail") && args.size() == 4 && args[3].toInt() >= 1 &&
             args[3].toInt() <= 4096) {
    line.mode = CommandLine::thumbnail;
    line.files = {args[1]};
    line.target = args[2];
    line.size = args[3].toInt();
  } else {
    line.mode = CommandLine::usage;
  }
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  if (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--")) &&
      arguments.first() != QLatin1String("--shell-open"))
    return Headless(arguments);
  CommandLine line;
  for (const QString& arg : arguments) {
    const QString word = arg.mid(1).toLower();
    if ((arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1Char('/'))) &&
        (word == QLatin1String("embedding") || word == QLatin1String("automation"))) {
      line.automated = true;
    } else if (arg == QLatin1String("--shell-open")) {
      line.shellOpen = true;
    } else {
      line.files << arg;
    }
  }
  return line;
}
