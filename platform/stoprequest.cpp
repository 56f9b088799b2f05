#include "platform/stoprequest.h"

#include <atomic>

namespace folivant {

namespace {

// A signal handler may only touch a lock-free atomic.
std::atomic<bool> stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

TStopped::TStopped() : TError("Stopped; the files written so far remain.") {}

void RequestStop() noexcept { stop_requested.store(true, std::memory_order_relaxed); }

bool StopRequested() noexcept { return stop_requested.load(std::memory_order_relaxed); }

void StopPoint() {
  if (StopRequested()) throw TStopped();
}

}  // namespace folivant
