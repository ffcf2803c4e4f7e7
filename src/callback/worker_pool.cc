#include "callback/worker_pool.h"

namespace qf {

WorkerPool::WorkerPool(size_t maxWorkers) : maxWorkers_(maxWorkers == 0 ? 1 : maxWorkers) {}

WorkerPool::~WorkerPool() {
  {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    drained_.wait(lock, [this] { return queue_.empty() && running_ == 0; });
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

void WorkerPool::Submit(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    queue_.push_back(std::move(job));
    if (idle_ == 0 && threads_.size() < maxWorkers_) threads_.emplace_back([this] { Run(); });
  }
  wake_.notify_one();
}

bool WorkerPool::RunHereIfFree(const std::function<void()>& job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || !queue_.empty() || running_ >= maxWorkers_) return false;
    ++running_;
  }
  job();
  std::lock_guard lock(mutex_);
  --running_;
  if (!queue_.empty()) wake_.notify_one();  // a queued job may have waited for this slot
  if (queue_.empty() && running_ == 0) drained_.notify_all();
  return true;
}

void WorkerPool::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    // A slot may be taken by a job running on a caller's thread: wait for one to be free.
    wake_.wait(lock, [this] {
      return (!queue_.empty() && running_ < maxWorkers_) || (stopping_ && queue_.empty());
    });
    --idle_;
    if (queue_.empty()) return;  // stopping, nothing left
    std::function<void()> job = std::move(queue_.front());
    queue_.pop_front();
    ++running_;
    lock.unlock();
    job();
    lock.lock();
    --running_;
    if (queue_.empty() && running_ == 0) drained_.notify_all();
  }
}

bool WorkerPool::Shutdown(std::chrono::milliseconds grace) {
  std::unique_lock lock(mutex_);
  stopping_ = true;
  wake_.notify_all();
  const bool finished =
      drained_.wait_for(lock, grace, [this] { return queue_.empty() && running_ == 0; });
  if (!finished) {
    for (std::thread& thread : threads_) thread.detach();
    threads_.clear();
    return false;
  }
  std::vector<std::thread> threads = std::move(threads_);
  threads_.clear();
  lock.unlock();
  for (std::thread& thread : threads) thread.join();
  return true;
}

}  // namespace qf
