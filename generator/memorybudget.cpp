#include "generator/memorybudget.h"

#include "generator/jpegcodec.h"

namespace folivant {

namespace {

constexpr int64_t kMegabyte = int64_t{1} << 20;

int64_t MegabytesRoundedUp(int64_t bytes) { return (bytes + kMegabyte - 1) / kMegabyte; }

}  // namespace

std::string TooMuchMemoryMessage(const char* work, int64_t need, int64_t limit) {
  return "The picture needs " + std::to_string(MegabytesRoundedUp(need)) + " MB of memory " + work +
         ", more than the " + std::to_string(limit / kMegabyte) + " MB allowed";
}

TMemoryBudget::TReservation TMemoryBudget::Reserve(int64_t bytes, const char* work) {
  if (bytes > total_) throw TPictureError(TooMuchMemoryMessage(work, bytes, total_));
  std::unique_lock lock(mutex_);
  const uint64_t ticket = next_ticket_++;
  changed_.wait(lock, [&] { return serving_ == ticket && held_ + bytes <= total_; });
  held_ += bytes;
  ++serving_;
  lock.unlock();
  // The next in line may fit beside this one.
  changed_.notify_all();
  return TReservation(this, bytes);
}

int TMemoryBudget::Waiting() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(next_ticket_ - serving_);
}

void TMemoryBudget::Release(int64_t bytes) {
  {
    std::lock_guard lock(mutex_);
    held_ -= bytes;
  }
  changed_.notify_all();
}

}  // namespace folivant
