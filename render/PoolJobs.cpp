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
  if (pool->contains(QThread::currentThread())) {
    work(0);
    return;
  }
  // Queued rather than tried: a pool thread may still be ending a task of Qt's own (it hands
  // large fills and conversions to the same pool), and trying would then leave every job to one
  // runner. Nothing else keeps the pool's threads for long.
  QSemaphore done;
  const int runners = std::min(count, Runners());
  for (int runner = 0; runner < runners; ++runner)
    pool->start([&work, &done, runner] {
      work(runner);
      done.release();
    });
  done.acquire(runners);
}

}  // namespace pool_jobs
