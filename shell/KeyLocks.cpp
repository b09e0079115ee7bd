#include "shell/KeyLocks.h"

#include <QGuiApplication>

#if __has_include(<X11/XKBlib.h>) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#define QUIRRA_HAVE_XKB 1
#endif

std::optional<KeyLocks> QueryKeyLocks() {
#ifdef QUIRRA_HAVE_XKB
  const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  auto on = [display](const char* name) {
    Bool state = False;
    const Atom atom = XInternAtom(display, name, True);
    return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr) && state;
  };
  return KeyLocks{on("Caps Lock"), on("Num Lock"), on("Scroll Lock")};
#else
  return std::nullopt;
#endif
}
