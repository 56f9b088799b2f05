#pragma once

// The share of the processors a thread asks for.

namespace folivant {

/// Lowers the calling thread's priority a little (its nice value by 5), so
/// that a window's thread of the same program gets the processor first; the
/// threads it starts afterwards inherit the lower priority. Does nothing
/// where that is not allowed.
void LowerThreadPriority() noexcept;

}  // namespace folivant
