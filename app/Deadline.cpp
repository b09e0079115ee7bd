#include "app/Deadline.h"

#include <cstdio>

#include <unistd.h>

Deadline::Deadline(std::chrono::milliseconds time, QString message) {
  m_watch = std::thread([this, time, text = message.toLocal8Bit()] {
    std::unique_lock lock(m_mutex);
    if (m_disarmed.wait_for(lock, time, [this] { return m_done; })) return;
    std::fputs(text.constData(), stderr);
    std::fflush(stderr);
    // Nothing of the work may run on: no destructor, no handler that would wait for it.
    _exit(1);
  });
}

Deadline::~Deadline() {
  {
    std::lock_guard lock(m_mutex);
    m_done = true;
  }
  m_disarmed.notify_one();
  m_watch.join();
}
