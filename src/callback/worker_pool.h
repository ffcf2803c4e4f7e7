// At most N jobs run at once; further jobs wait their turn in arrival order, and none is dropped.
// Threads are started as the load needs them, up to N, and then kept.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qf {

class WorkerPool {
 public:
  explicit WorkerPool(size_t maxWorkers);
  ~WorkerPool();  // waits for every queued and running job
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Any thread. Jobs submitted after Shutdown are dropped.
  void Submit(std::function<void()> job);

  // Runs `job` on the calling thread, as one of the N, when it would not have to wait: nothing is
  // queued and fewer than N jobs run. False, without running it, otherwise. For work that never
  // blocks, this saves handing it to another thread and back.
  bool RunHereIfFree(const std::function<void()>& job);

  // Stops taking jobs and waits up to `grace` for the queued and running ones. True when all
  // finished; the threads are then joined. Otherwise they are left to finish on their own.
  bool Shutdown(std::chrono::milliseconds grace);

 private:
  void Run();

  const size_t maxWorkers_;
  std::mutex mutex_;
  std::condition_variable wake_;     // a job arrived, or shutting down
  std::condition_variable drained_;  // the last job finished
  // State below is guarded by mutex_.
  std::deque<std::function<void()>> queue_;
  std::vector<std::thread> threads_;
  size_t idle_ = 0;
  size_t running_ = 0;
  bool stopping_ = false;
};

}  // namespace qf
