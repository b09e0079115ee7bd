#pragma once

#include <cstdio>
#include <optional>

#include <QStringList>

// The command-line modes that work without a display and show no window:
//   quirra --info FILE           the document as one line of JSON on standard output
//   quirra --export FILE OUT.qrf  FILE loaded and saved to OUT
//   quirra --export FILE OUT.png|OUT.svg [--zoom N]   the picture of FILE at N per cent
//   quirra --help                 the usage line
// Returns the exit status (0 done, 1 a file could not be read or written, 2 wrong arguments),
// or nothing when `args` (without the program name) asks for the editor's windows instead.
std::optional<int> RunHeadlessCommand(const QStringList& args, std::FILE* out, std::FILE* err);
