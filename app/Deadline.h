#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QString>

// Ends the process with status 1, printing `message` on standard error, unless it is destroyed
// within `time`. For work that runs unattended and must end whatever its input: the check runs on
// a thread of its own, so no loop of the work needs to ask.
class Deadline {
 public:
  Deadline(std::chrono::milliseconds time, QString message);
  ~Deadline();
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

 private:
  std::mutex m_mutex;
  std::condition_variable m_disarmed;
  bool m_done = false;
  std::thread m_watch;
};
