#include "platform/threadpriority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace folivant {

namespace {

constexpr int kLowerBy = 5;

}  // namespace

void LowerThreadPriority() noexcept {
  // On Linux the nice value belongs to each thread, and new threads take their creator's.
  const auto thread = static_cast<id_t>(::gettid());
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, thread);
  if (errno != 0) return;
  ::setpriority(PRIO_PROCESS, thread, nice + kLowerBy);
}

}  // namespace folivant
