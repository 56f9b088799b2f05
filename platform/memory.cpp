#include "platform/memory.h"

#include <malloc.h>

namespace folivant {

namespace {

// The largest block the C library serves from its pools rather than from the
// system each time (its own upper bound), and how much freed memory at the
// top of a pool it keeps before handing it back.
constexpr int kLargestPooledBlock = 32 << 20;
constexpr int kKeptAtTop = 256 << 20;

}  // namespace

void KeepFreedMemoryForReuse() {
  // Setting both also turns off the library's own adjustment of them, which
  // makes whether a picture's memory is reused depend on what came before.
  mallopt(M_MMAP_THRESHOLD, kLargestPooledBlock);
  mallopt(M_TRIM_THRESHOLD, kKeptAtTop);
}

void ReleaseKeptMemory() { malloc_trim(0); }

}  // namespace folivant
