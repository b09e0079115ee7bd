#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for, read in one place:
//   quirra [-Embedding|-Automation] [--shell-open] [--] [FILE...]   the editor's windows
//   quirra --info FILE                                         the document as one line of JSON
//   quirra --export FILE OUT.qrf|OUT.json                      FILE loaded and saved to OUT
// (FILE may be a document file or its JSON, told apart by the suffix or else the content)
//   quirra --export FILE OUT.png|OUT.svg|OUT.pdf [--zoom N]    the picture of FILE at N per cent
//   quirra --thumbnail FILE OUT.png SIZE                       the picture fitted in SIZE x SIZE
//   quirra --version, quirra --help                            the version, every form above
// A first argument that starts with "--" (but --shell-open) picks a mode without windows. The
// editor's command line takes its own options and Qt's (-platform, -style, ...) before the files;
// an option after a file, or one that neither knows, is the usage. After "--" every argument is
// a file.
struct CommandLine {
  enum Mode { editor, info, exportFile, thumbnail, help, version, usage };
  Mode mode = editor;
  QStringList files;  // the editor's files, or the one file of --info and --export
  QString target;     // --export: where to
  int zoom = 100;     // --export of a picture: 1 to 1000
  int size = 0;       // --thumbnail: 1 to 4096 pixels
  // -Embedding or -Automation (also with "/", any case): started by another program, so no splash
  // and no question at start-up.
  bool automated = false;
  bool shellOpen = false;  // --shell-open: hand the files to a running editor if there is one
};

// `arguments` without the program's name.
CommandLine ParseCommandLine(const QStringList& arguments);
