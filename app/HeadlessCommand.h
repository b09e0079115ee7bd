#pragma once

#include <cstdio>

struct CommandLine;

// Carries out a command line whose mode shows no window (--info, --export, --help, or wrong
// arguments). Returns the exit status: 0 done, 1 a file could not be read or written, 2 wrong
// arguments.
int RunHeadlessCommand(const CommandLine& line, std::FILE* out, std::FILE* err);
