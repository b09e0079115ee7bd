// A number the person running the tests may set in the environment, for longer or replayed runs.
#pragma once

#include <QtGlobal>

inline int EnvInt(const char* name, int fallback) {
  bool ok = false;
  const int v = qEnvironmentVariableIntValue(name, &ok);
  return ok ? v : fallback;
}
