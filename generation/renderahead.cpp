#include "generation/renderahead.h"

#include <algorithm>
#include <stdexcept>

namespace folivant {

TRenderAhead::TRenderAhead(std::function<TRenderedImages(int index)> render, std::vector<int> indices, int threads,
                           int window)
    : render_(std::move(render)),
      indices_(std::move(indices)),
      window_(static_cast<size_t>(std::max(window, 1))),
      slots_(indices_.size()) {
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

TRenderAhead::~TRenderAhead() {
  stop_.Request();
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::optional<size_t> TRenderAhead::NextPosition() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopping_ || next_ >= indices_.size() || next_ < taken_ + window_; });
  if (stopping_ || next_ >= indices_.size()) return std::nullopt;
  return next_++;
}

void TRenderAhead::Work() {
  const TStopScope scope(stop_);
  while (const std::optional<size_t> position = NextPosition()) {
    TSlot slot;
    try {
      slot.rendered = render_(indices_[*position]);
    } catch (...) {
      slot.error = std::current_exception();
    }
    slot.done = true;
    {
      std::lock_guard lock(mutex_);
      slots_[*position] = std::move(slot);
    }
    changed_.notify_all();
  }
}

size_t TRenderAhead::PositionOf(int index) const {
  const auto found = std::lower_bound(indices_.begin(), indices_.end(), index);
  if (found == indices_.end() || *found != index) throw std::out_of_range("not a photograph rendered ahead");
  return static_cast<size_t>(found - indices_.begin());
}

bool TRenderAhead::WaitUntilReady(int index, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  const TSlot& slot = slots_[PositionOf(index)];
  return changed_.wait_for(lock, timeout, [&slot] { return slot.done; });
}

TRenderedImages TRenderAhead::Take(int index) {
  std::unique_lock lock(mutex_);
  const size_t position = PositionOf(index);
  TSlot& slot = slots_[position];
  changed_.wait(lock, [&slot] { return slot.done; });
  TSlot taken = std::move(slot);
  slot = TSlot{};
  taken_ = position + 1;
  lock.unlock();
  changed_.notify_all();
  if (taken.error) std::rethrow_exception(taken.error);
  return std::move(taken.rendered);
}

}  // namespace folivant
