#pragma once

#include <functional>

// Runs job(0) to job(count - 1) on Qt's thread pool, as many at a time as it has threads, and
// returns when all are done. Each job is also told which of the runners (0 to Runners() - 1) does
// it: one runner does one job at a time, so it can own the scratch space its jobs use. Painting on
// a pool thread also keeps Qt from handing each large fill to the pool and waiting for it, which
// costs more than it saves. Called on a pool thread, the jobs run there, one after the other, so
// a job never waits on the pool it holds.
namespace pool_jobs {

int Runners();
void Run(int count, const std::function<void(int job, int runner)>& job);

}  // namespace pool_jobs
