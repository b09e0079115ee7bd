#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The start-up picture: a borderless 400x190 window in the middle of the screen, closed after
// 2500 ms or by the first key or mouse press anywhere in the program, which does nothing else.
class CSplashWnd : public QWidget {
  Q_OBJECT

 public:
  // Whether the splash may show at all: off for -Embedding and -Automation.
  static void EnableSplashScreen(bool enable) { showSplash = enable; }
  static void ShowSplashScreen(QWidget* parent);
  static CSplashWnd* Current() { return splashWnd; }
  // An application-wide filter: true when `event` closed the splash and must go no further. A
  // modal window shown meanwhile closes it too, and goes on.
  static bool PreTranslateAppMessage(QObject* watched, QEvent* event);

  void HideSplashScreen();
  ~CSplashWnd() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  explicit CSplashWnd(QWidget* parent);
  bool Create();

  QPixmap bitmap;
  static inline bool showSplash = false;
  static inline CSplashWnd* splashWnd = nullptr;
};
