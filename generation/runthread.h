#pragma once

// A generation run on a thread of its own, so that the window that shows it
// keeps painting and answering: the thread does the run's steps one after
// another, as the command-line generator does, and copies what the window
// shows after each.

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "generation/generationrun.h"
#include "platform/stoprequest.h"

namespace folivant {

/// What a window shows of a run on its thread, as it was after its last step.
struct TRunState {
  TRunStep Step = TRunStep::PrepareRun;
  int Index = 0;
  TProgress Images;
  TProgress Pages;
  std::string ImageLabel = kPreparingPhotographsLabel;
  bool SkipEnabled = true;
  /// The photograph being prepared, from 1, and how many the album has; 0 outside the photographs step.
  int Photo = 0;
  int Photos = 0;
  /// The time the photographs not prepared yet will take at the pace so far;
  /// nothing before the first photograph rendered in this run.
  std::optional<int> SecondsLeft;
  /// The thread has ended: the run completed, failed or was stopped.
  bool Ended = false;
  /// The error that ended the run, if one did.
  std::exception_ptr Error;
};

/// Does the steps of `run` on a thread until it completes, fails or is
/// stopped. The run is borrowed; only this object touches it while the
/// thread lives, and after that (Ended, Stop) its owner may read it again.
class TRunThread {
 public:
  explicit TRunThread(TGenerationRun& run);
  /// Stops the thread (Stop).
  ~TRunThread();
  TRunThread(const TRunThread&) = delete;
  TRunThread& operator=(const TRunThread&) = delete;

  /// A copy of the run's state after its last step. Thread-safe.
  TRunState State() const;
  /// Asks the run to end its photographs step (TGenerationRun::Skip) before its next step.
  void Skip() noexcept { skip_.store(true); }
  /// Ends the run at its next stop point or step and waits for the thread;
  /// what it wrote stays. Does nothing once the thread is gone.
  void Stop();

 private:
  void Work();
  /// Copies the run's state for the window.
  void Publish(bool ended, std::exception_ptr error = nullptr);

  TGenerationRun& run_;
  TStopToken stop_;
  std::atomic<bool> skip_{false};
  std::chrono::steady_clock::time_point rendering_began_;
  mutable std::mutex mutex_;
  TRunState state_;
  std::thread thread_;  // last: starts when everything it uses is made
};

}  // namespace folivant
