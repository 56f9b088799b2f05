#include "generation/renderahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/stoprequest.h"

namespace folivant {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// A render that takes `length` unless a stop point ends it sooner.
TRenderedImages RenderFor(TClock::duration length) {
  const TClock::time_point end = TClock::now() + length;
  while (TClock::now() < end) {
    StopPoint();
    std::this_thread::sleep_for(1ms);
  }
  return {};
}

TEST(RenderAhead, WaitsBrieflyForARenderAndStopsRendersWhenDropped) {
  const TClock::time_point made = TClock::now();
  {
    TRenderAhead ahead([&](int index) { return RenderFor(index == 0 ? 0ms : 10s); }, {0, 1, 2}, 2, 4);
    EXPECT_TRUE(ahead.WaitUntilReady(0, 5s));
    ahead.Take(0);
    EXPECT_FALSE(ahead.WaitUntilReady(1, 20ms));  // still rendering: the caller may look at other things
  }                                               // two renders of 10 s in progress end at their next stop point
  EXPECT_LT(TClock::now() - made, 2s);
}

}  // namespace
}  // namespace folivant
