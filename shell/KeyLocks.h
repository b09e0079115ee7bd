#pragma once

#include <optional>

// Whether Caps Lock, Num Lock and Scroll Lock are on, for the status bar. Known only where the
// window system tells (X11); elsewhere nothing.
struct KeyLocks {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

std::optional<KeyLocks> QueryKeyLocks();
