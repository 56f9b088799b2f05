#include "platform/stoprequest.h"

#include <atomic>

namespace folivant {

namespace {

// A signal handler may only touch a lock-free atomic.
std::atomic<bool> stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// The token of the work this thread does, if any.
thread_local const TStopToken* thread_token = nullptr;

}  // namespace

TStopped::TStopped() : TError("Stopped; the files written so far remain.") {}

void RequestStop() noexcept { stop_requested.store(true, std::memory_order_relaxed); }

bool StopRequested() noexcept { return stop_requested.load(std::memory_order_relaxed); }

TStopScope::TStopScope(const TStopToken& token) noexcept : outer_(thread_token) { thread_token = &token; }

TStopScope::~TStopScope() { thread_token = outer_; }

void StopPoint() {
  if (StopRequested() || (thread_token && thread_token->Requested())) throw TStopped();
}

}  // namespace folivant
