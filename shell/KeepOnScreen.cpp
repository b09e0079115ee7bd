#include "shell/KeepOnScreen.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QRect FitInside(QRect r, const QRect& area) {
  r.setSize(r.size().boundedTo(area.size()));
  r.moveLeft(std::clamp(r.left(), area.left(), area.left() + area.width() - r.width()));
  r.moveTop(std::clamp(r.top(), area.top(), area.top() + area.height() - r.height()));
  return r;
}

}  // namespace

void KeepOnScreen(QWidget& window) {
  // The window system fits these itself.
  if (window.isMaximized() || window.isFullScreen()) return;
  const QRect frame = window.frameGeometry();
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect fitted = FitInside(frame, screen->availableGeometry());
  if (fitted == frame) return;
  // The frame's edges keep their widths; only the client area is placed and sized.
  const QRect client = window.geometry();
  window.setGeometry(
      QRect(client.topLeft() + fitted.topLeft() - frame.topLeft(), client.size() - frame.size() + fitted.size()));
}
