#pragma once

// A request from outside (the command-line generator's SIGINT and SIGTERM) to
// end the long work of the process soon. Work that may take long looks at it
// at its stop points and unwinds with TStopped, so that files being written
// are finished or removed and nothing half-written stays.

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

/// Throws TStopped once a stop has been requested. Long loops call it often
/// enough that a request takes effect within a few milliseconds.
void StopPoint();

}  // namespace folivant
