#include "wizard/renderahead.h"

namespace folivant {

TRenderAhead::TRenderAhead(std::function<TRenderedImages(int index)> render, int first, int count, int threads,
                           int window)
    : render_(std::move(render)),
      count_(count),
      window_(window < 1 ? 1 : window),
      slots_(static_cast<size_t>(count)),
      next_(first),
      taken_(first) {
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

TRenderAhead::~TRenderAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::optional<int> TRenderAhead::NextIndex() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopping_ || next_ >= count_ || next_ < taken_ + window_; });
  if (stopping_ || next_ >= count_) return std::nullopt;
  return next_++;
}

void TRenderAhead::Work() {
  while (const std::optional<int> index = NextIndex()) {
    TSlot slot;
    try {
      slot.rendered = render_(*index);
    } catch (...) {
      slot.error = std::current_exception();
    }
    slot.done = true;
    {
      std::lock_guard lock(mutex_);
      slots_[static_cast<size_t>(*index)] = std::move(slot);
    }
    changed_.notify_all();
  }
}

TRenderedImages TRenderAhead::Take(int index) {
  std::unique_lock lock(mutex_);
  TSlot& slot = slots_.at(static_cast<size_t>(index));
  changed_.wait(lock, [&slot] { return slot.done; });
  TSlot taken = std::move(slot);
  slot = TSlot{};
  taken_ = index + 1;
  lock.unlock();
  changed_.notify_all();
  if (taken.error) std::rethrow_exception(taken.error);
  return std::move(taken.rendered);
}

}  // namespace folivant
