#pragma once

// The memory a generation run may spend on decoding and rendering photographs.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

namespace folivant {

/// What all photographs being decoded and rendered at one moment may hold
/// together: 1 GiB. A photograph that alone needs more is refused.
inline constexpr int64_t kRunMemoryBudget = int64_t{1} << 30;

/// The text of a refusal: "The picture needs 1145 MB of memory to decode,
/// more than the 1024 MB allowed" (`work` is "to decode" or "to decode and render").
std::string TooMuchMemoryMessage(const char* work, int64_t need, int64_t limit);

/// Shares a number of bytes among threads: each reserves what its photograph
/// needs before decoding and releases it after, waiting while the others hold
/// too much. Requests are served in the order they come, so a large one is
/// never starved by smaller ones, and one request alone is always served.
class TMemoryBudget {
 public:
  explicit TMemoryBudget(int64_t total = kRunMemoryBudget) : total_(total) {}
  TMemoryBudget(const TMemoryBudget&) = delete;
  TMemoryBudget& operator=(const TMemoryBudget&) = delete;

  int64_t Total() const { return total_; }
  /// How many Reserve calls are waiting for their share now.
  int Waiting();

  /// Holds its bytes of the budget until it is destroyed.
  class TReservation {
   public:
    TReservation(TReservation&& other) noexcept : budget_(other.budget_), bytes_(other.bytes_) {
      other.budget_ = nullptr;
    }
    TReservation(const TReservation&) = delete;
    TReservation& operator=(const TReservation&) = delete;
    TReservation& operator=(TReservation&&) = delete;
    ~TReservation() {
      if (budget_) budget_->Release(bytes_);
    }

   private:
    friend class TMemoryBudget;
    TReservation(TMemoryBudget* budget, int64_t bytes) : budget_(budget), bytes_(bytes) {}
    TMemoryBudget* budget_;
    int64_t bytes_;
  };

  /// Waits until `bytes` fit beside what the others hold. Throws TPictureError
  /// (TooMuchMemoryMessage, `work`) at once when they exceed the whole budget.
  TReservation Reserve(int64_t bytes, const char* work);

 private:
  void Release(int64_t bytes);

  const int64_t total_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int64_t held_ = 0;
  uint64_t next_ticket_ = 0;
  uint64_t serving_ = 0;
};

}  // namespace folivant
