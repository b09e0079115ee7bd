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
  if (mode == QLatin1String("--help") && args.size() == 1) {
    line.mode = CommandLine::help;
  } else if (mode == QLatin1String("--version") && args.size() == 1) {
    line.mode = CommandLine::version;
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

// Qt's own options, which QApplication takes out of the arguments: those followed by a value, and
// those without one. Either may start with "--" too.
bool IsQtOption(const QString& arg, bool& takesValue) {
  static const QStringList kWithValue = {
      "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
      "display",  "geometry",           "title",         "name",   "visual",          "style",       "stylesheet",
      "session"};
  static const QStringList kAlone = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
  QString word = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
  if (word.startsWith(QLatin1String("qmljsdebugger="))) return takesValue = false, true;
  takesValue = kWithValue.contains(word);
  return takesValue || kAlone.contains(word);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  const QString first = arguments.value(0);
  bool value = false;
  if (first.startsWith(QLatin1String("--")) && first != QLatin1String("--") && first != QLatin1String("--shell-open") &&
      !IsQtOption(first, value))
    return Headless(arguments);
  CommandLine line;
  bool filesOnly = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    const QString word = arg.mid(1).toLower();
    bool takesValue = false;
    if (filesOnly || !(arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1Char('/')))) {
      line.files << arg;
    } else if (word == QLatin1String("embedding") || word == QLatin1String("automation")) {
      line.automated = true;
    } else if (arg.startsWith(QLatin1Char('/'))) {
      line.files << arg;
    } else if (!line.files.isEmpty()) {
      line.mode = CommandLine::usage;  // an option after a file
    } else if (arg == QLatin1String("--")) {
      filesOnly = true;
    } else if (arg == QLatin1String("--shell-open")) {
      line.shellOpen = true;
    } else if (IsQtOption(arg, takesValue)) {
      i += takesValue ? 1 : 0;
    } else {
      line.mode = CommandLine::usage;
    }
  }
  return line;
}
