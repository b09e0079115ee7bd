// Qt paints only inside a GUI application: the painting fuzzers start one, without a display.
#pragma once

#include <QGuiApplication>

inline void StartOffscreenGui(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
}
