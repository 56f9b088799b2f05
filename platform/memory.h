#pragma once

// How the program keeps the memory it frees between the pictures of a run.

namespace folivant {

/// Makes the C library keep the memory the program frees, in blocks of up to
/// 32 MiB, for its next allocations rather than hand it back to the system at
/// once. A run allocates and frees pictures of tens of megabytes for every
/// photograph, and every page the system hands out afresh costs a fault on
/// its first touch. Call once, before any thread starts.
void KeepFreedMemoryForReuse();

/// Hands back to the system the memory freed and kept so far (after a run).
void ReleaseKeptMemory();

}  // namespace folivant
