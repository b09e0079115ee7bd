#include "desktop/OpenRequestQueue.h"

#include <QApplication>

namespace {
// How often to look again while a dialog is open; it may stay open for minutes.
constexpr int kRetryMs = 100;
}  // namespace

OpenRequestQueue::OpenRequestQueue(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler)) {
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, &OpenRequestQueue::Serve);
}

void OpenRequestQueue::Add(const QStringList& paths) {
  m_requests.push_back(paths);
  if (!m_timer.isActive() && !m_serving) m_timer.start(0);
}

void OpenRequestQueue::Serve() {
  if (m_serving) return;  // the request being served re-arms the timer when it is done
  if (QApplication::activeModalWidget()) {
    m_timer.start(kRetryMs);
    return;
  }
  if (m_requests.empty()) return;
  const QStringList paths = m_requests.front();
  m_requests.pop_front();
  m_serving = true;
  m_handler(paths);
  m_serving = false;
  // One request per turn of the main loop, so that the windows just opened get painted and the
  // user's input is not held up behind a long queue.
  if (!m_requests.empty()) m_timer.start(0);
}
