#include "shell/CSplashWnd.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

CSplashWnd::CSplashWnd(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_DeleteOnClose);
}

CSplashWnd::~CSplashWnd() {
  if (splashWnd == this) splashWnd = nullptr;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent) {
  if (!showSplash || splashWnd) return;
  splashWnd = new CSplashWnd(parent);
  if (!splashWnd->Create()) {
    delete splashWnd;
    return;
  }
  splashWnd->repaint();
}

bool CSplashWnd::Create() {
  if (!bitmap.load(QStringLiteral(":/pictures/splash.png"))) return false;
  setFixedSize(bitmap.size());
  // In the middle of the screen: the main window is not shown yet.
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - rect().center());
  startTimer(2500);
  show();
  return true;
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent*) { HideSplashScreen(); }

void CSplashWnd::HideSplashScreen() {
  if (splashWnd == this) splashWnd = nullptr;
  close();
  if (QWidget* parent = parentWidget()) parent->repaint();
}

bool CSplashWnd::PreTranslateAppMessage(QObject* watched, QEvent* event) {
  if (!splashWnd) return false;
  switch (event->type()) {
    case QEvent::Show:
      // A question the user must answer (a file that would not open) steps in front: the
      // picture goes, so the box is neither hidden under it nor loses its first click to it.
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && w->isModal()) splashWnd->HideSplashScreen();
      return false;
    case QEvent::ShortcutOverride:
      // Claimed so that no command's key fires; the key press that follows closes the splash.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress: splashWnd->HideSplashScreen(); return true;
    default: return false;
  }
}
