#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "generator/photogenerator.h"
#include "platform/stoprequest.h"

namespace folivant {

/// What RenderImageFiles made of one photograph and the content of its source
/// as it was decoded; no files, and the reason, for a photograph that gets no images.
struct TRenderedImages {
  std::vector<TImageFile> Files;
  std::string Reason;
  TFileContent Source{};
};

/// Renders some photographs of an album on worker threads, ahead of the caller
/// who takes them one by one in album order and writes them. Rendering never
/// runs more than `window` photographs ahead of the last one taken, so memory
/// stays bounded.
class TRenderAhead {
 public:
  /// Renders the photographs at `indices` (increasing) with `render`, which is
  /// called on several threads at once and must not outlive what it borrows.
  TRenderAhead(std::function<TRenderedImages(int index)> render, std::vector<int> indices, int threads, int window);
  /// Stops the workers; a render in progress ends at its next stop point and is dropped.
  ~TRenderAhead();
  TRenderAhead(const TRenderAhead&) = delete;
  TRenderAhead& operator=(const TRenderAhead&) = delete;

  /// Waits for the photograph at `index`, one of the indices given, taken in
  /// their order, and hands it over; rethrows the error its rendering raised.
  TRenderedImages Take(int index);
  /// Waits at most `timeout` for the photograph at `index`, as Take would;
  /// true when Take would hand it over at once.
  bool WaitUntilReady(int index, std::chrono::milliseconds timeout);

 private:
  struct TSlot {
    bool done = false;
    TRenderedImages rendered;
    std::exception_ptr error;
  };

  void Work();
  /// The position of `index` in `indices_`; throws std::out_of_range for another index.
  size_t PositionOf(int index) const;
  /// The next position in `indices_` a worker may render, or nothing when it should stop.
  std::optional<size_t> NextPosition();

  const std::function<TRenderedImages(int index)> render_;
  const std::vector<int> indices_;
  const size_t window_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TSlot> slots_;  // one per position in indices_
  size_t next_ = 0;
  size_t taken_ = 0;
  bool stopping_ = false;
  TStopToken stop_;  // heeded by the renders of the workers
  std::vector<std::thread> workers_;
};

}  // namespace folivant
