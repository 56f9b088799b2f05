#include "generator/memorybudget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "generator/jpegcodec.h"
#include "testutil.h"

namespace folivant {
namespace {

constexpr int64_t kMegabyte = 1 << 20;

// The most reservations of `bytes` that `threads` threads held at once.
int MostHeldAtOnce(TMemoryBudget& budget, int64_t bytes, int threads) {
  std::atomic<int> holding = 0;
  std::atomic<int> most = 0;
  std::vector<std::thread> workers;
  workers.reserve(static_cast<size_t>(threads));
  for (int i = 0; i < threads; ++i) {
    workers.emplace_back([&] {
      const TMemoryBudget::TReservation reservation = budget.Reserve(bytes, "to decode");
      const int now = ++holding;
      int seen = most;
      while (now > seen && !most.compare_exchange_weak(seen, now)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      --holding;
    });
  }
  for (std::thread& worker : workers) worker.join();
  return most;
}

TEST(MemoryBudget, HoldsNoMoreThanItsTotal) {
  TMemoryBudget budget(100 * kMegabyte);
  EXPECT_EQ(MostHeldAtOnce(budget, 60 * kMegabyte, 6), 1) << "two never fit, one alone always does";
  EXPECT_LE(MostHeldAtOnce(budget, 30 * kMegabyte, 8), 3);
  EXPECT_THROW_MSG(budget.Reserve(100 * kMegabyte + 1, "to decode and render"),
                   "The picture needs 101 MB of memory to decode and render, more than the 100 MB allowed");
  EXPECT_THROW(budget.Reserve(101 * kMegabyte, "to decode"), TPictureError);
}

// Spins until `count` requests wait.
void AwaitWaiting(TMemoryBudget& budget, int count) {
  while (budget.Waiting() != count) std::this_thread::yield();
}

TEST(MemoryBudget, ALargeRequestIsNotOvertakenBySmallOnes) {
  TMemoryBudget budget(100 * kMegabyte);
  std::optional<TMemoryBudget::TReservation> first(budget.Reserve(90 * kMegabyte, "to decode"));
  // The large one fits only alone, so the small one can follow it only once it is done.
  std::atomic<bool> large_served = false;
  std::thread large([&] {
    const TMemoryBudget::TReservation reservation = budget.Reserve(96 * kMegabyte, "to decode");
    large_served = true;
  });
  AwaitWaiting(budget, 1);
  std::thread small([&] {
    const TMemoryBudget::TReservation reservation = budget.Reserve(5 * kMegabyte, "to decode");
    EXPECT_TRUE(large_served) << "the small one would have fitted beside the first, but came later";
  });
  AwaitWaiting(budget, 2);
  EXPECT_FALSE(large_served);
  first.reset();
  large.join();
  small.join();
  EXPECT_EQ(budget.Waiting(), 0);
}

}  // namespace
}  // namespace folivant
