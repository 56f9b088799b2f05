#pragma once

// A request from outside (the command-line generator's SIGINT and SIGTERM) to
// end the long work of the process soon, or one to end one piece of work (the
// wizard's Skip and Cancel). Work that may take long looks at them at its stop
// points and unwinds with TStopped, so that files being written are finished
// or removed and nothing half-written stays.

#include <atomic>

#include "platform/error.h"

namespace folivant {

/// What a stop point throws once a stop has been requested.
class TStopped : public TError {
 public:
  TStopped();
};

/// Asks every stop point of the process to throw from now on. Safe to call
/// from a signal handler.
void RequestStop() noexcept;
bool StopRequested() noexcept;

/// A request to stop one piece of work, heeded by the stop points of the
/// threads that work for it under a TStopScope. Thread-safe.
class TStopToken {
 public:
  void Request() noexcept { requested_.store(true, std::memory_order_relaxed); }
  bool Requested() const noexcept { return requested_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
};

/// While it lives, the stop points of the thread that made it also heed
/// `token`, which must outlive it. Scopes nest; the innermost token counts.
class TStopScope {
 public:
  explicit TStopScope(const TStopToken& token) noexcept;
  ~TStopScope();
  TStopScope(const TStopScope&) = delete;
  TStopScope& operator=(const TStopScope&) = delete;

 private:
  const TStopToken* outer_;
};

/// Throws TStopped once a stop has been requested, of the process or of the
/// thread's work (TStopScope). Long loops call it often enough that a request
/// takes effect within a few milliseconds.
void StopPoint();

}  // namespace folivant
