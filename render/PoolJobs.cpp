#include "render/PoolJobs.h"

#include <algorithm>
#include <atomic>

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

namespace pool_jobs {

int Runners() { return std::max(1, QThreadPool::globalInstance()->maxThreadCount()); }

void Run(int count, const std::function<void(int job, int runner)>& job) {
  std::atomic<int> next{0};
  auto work = [&](int runner) {
    for (int i = next++; i < count; i = next++) job(i, runner);
  };
  QThreadPool* pool = QThreadPool::globalInstance();
  QSemaphore done;
  int started = 0;
  if (!pool->contains(QThread::currentThread()))
    for (const int most = std::min(count, Runners()); started < most; ++started) {
      const int runner = started;
      if (!pool->tryStart([&work, &done, runner] {
            work(runner);
            done.release();
          }))
        break;
    }
  if (started == 0) work(0);
  done.acquire(started);
}

}  // namespace pool_jobs
