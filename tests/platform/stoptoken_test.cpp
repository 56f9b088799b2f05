#include <gtest/gtest.h>

#include <thread>

#include "platform/stoprequest.h"

namespace folivant {
namespace {

TEST(StopToken, StopsOnlyTheWorkDoneUnderItsScope) {
  TStopToken token;
  TStopScope scope(token);
  EXPECT_NO_THROW(StopPoint());
  token.Request();
  EXPECT_THROW(StopPoint(), TStopped);
  {
    TStopToken other;  // work within the work, not stopped
    TStopScope inner(other);
    EXPECT_NO_THROW(StopPoint());
  }
  EXPECT_THROW(StopPoint(), TStopped);
  std::thread([] { EXPECT_NO_THROW(StopPoint()); }).join();  // another thread works for no token
}

}  // namespace
}  // namespace folivant
