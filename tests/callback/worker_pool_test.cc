#include "callback/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace qf {
namespace {

using namespace std::chrono_literals;

// Jobs that hold their slot until the test opens the gate, counting how many run at once.
class Gate {
 public:
  void Pass() {
    const int now = ++active_;
    int seen = peak_.load();
    while (now > seen && !peak_.compare_exchange_weak(seen, now)) {
    }
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
    --active_;
  }
  void Open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }
  // Waits (bounded) until exactly `n` jobs are inside.
  bool WaitForActive(int n) {
    for (int i = 0; i < 500 && active_ != n; ++i) std::this_thread::sleep_for(2ms);
    return active_ == n;
  }
  int active() const { return active_; }
  int peak() const { return peak_; }

 private:
  std::atomic<int> active_{0};
  std::atomic<int> peak_{0};
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

TEST(WorkerPool, RunsAtMostNAtOnceAndDropsNothing) {
  WorkerPool pool(3);
  Gate gate;
  std::atomic<int> finished{0};
  for (int i = 0; i < 20; ++i) {
    pool.Submit([&] {
      gate.Pass();
      ++finished;
    });
  }
  ASSERT_TRUE(gate.WaitForActive(3));
  std::this_thread::sleep_for(50ms);  // a fourth would have started by now
  EXPECT_EQ(gate.active(), 3);
  gate.Open();
  EXPECT_TRUE(pool.Shutdown(5s));
  EXPECT_EQ(finished, 20);
  EXPECT_EQ(gate.peak(), 3);
}

TEST(WorkerPool, WaitingJobsRunInArrivalOrder) {
  WorkerPool pool(1);
  std::mutex mutex;
  std::vector<int> order;
  for (int i = 0; i < 50; ++i) {
    pool.Submit([&, i] {
      std::lock_guard lock(mutex);
      order.push_back(i);
    });
  }
  ASSERT_TRUE(pool.Shutdown(5s));
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
}

TEST(WorkerPool, RunHereIfFreeTakesASlotOnlyWhenNobodyWaits) {
  WorkerPool pool(1);
  const auto caller = std::this_thread::get_id();
  std::thread::id ranOn;
  EXPECT_TRUE(pool.RunHereIfFree([&] { ranOn = std::this_thread::get_id(); }));
  EXPECT_EQ(ranOn, caller);

  // The only slot is taken by a pool job: the caller's job is refused, not run.
  Gate gate;
  pool.Submit([&] { gate.Pass(); });
  ASSERT_TRUE(gate.WaitForActive(1));
  bool ran = false;
  EXPECT_FALSE(pool.RunHereIfFree([&] { ran = true; }));
  EXPECT_FALSE(ran);
  gate.Open();
  EXPECT_TRUE(pool.Shutdown(5s));
}

TEST(WorkerPool, AJobRunningHereCountsAgainstTheBound) {
  WorkerPool pool(1);
  Gate gate;
  std::atomic<bool> queuedRan{false};
  std::thread caller([&] { pool.RunHereIfFree([&] { gate.Pass(); }); });
  ASSERT_TRUE(gate.WaitForActive(1));
  pool.Submit([&] { queuedRan = true; });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(queuedRan);  // waits for the slot the caller holds
  gate.Open();
  caller.join();
  EXPECT_TRUE(pool.Shutdown(5s));
  EXPECT_TRUE(queuedRan);
}

TEST(WorkerPool, ShutdownReportsJobsThatOutliveTheGrace) {
  // A pool given up on is left to its threads, as the program does when the grace runs out: kept
  // reachable here so that neither it nor the gate goes away under them.
  static Gate gate;
  static WorkerPool* pool = new WorkerPool(1);
  pool->Submit([] { gate.Pass(); });
  ASSERT_TRUE(gate.WaitForActive(1));
  EXPECT_FALSE(pool->Shutdown(20ms));
  static std::atomic<bool> late{false};
  pool->Submit([] { late = true; });  // refused after shutdown
  gate.Open();
  ASSERT_TRUE(gate.WaitForActive(0));
  EXPECT_FALSE(late);
}

}  // namespace
}  // namespace qf
