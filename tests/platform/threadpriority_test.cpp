#include "platform/threadpriority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace folivant {
namespace {

int Nice() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())); }

TEST(ThreadPriority, LowersTheCallingThreadAndTheThreadsItStartsOnly) {
  const int before = Nice();
  int lowered = 0;
  int started = 0;
  std::thread([&] {
    LowerThreadPriority();
    lowered = Nice();
    std::thread([&] { started = Nice(); }).join();
  }).join();
  EXPECT_EQ(lowered, std::min(before + 5, 19));
  EXPECT_EQ(started, lowered);
  EXPECT_EQ(Nice(), before);
}

}  // namespace
}  // namespace folivant
