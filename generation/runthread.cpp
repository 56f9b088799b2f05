#include "generation/runthread.h"

#include <cmath>

#include "platform/memory.h"
#include "platform/threadpriority.h"

namespace folivant {

namespace {

// How long the thread waits for a photograph rendered ahead before it looks at Skip and Stop again.
constexpr std::chrono::milliseconds kLookAgain{10};

}  // namespace

TRunThread::TRunThread(TGenerationRun& run) : run_(run), thread_([this] { Work(); }) {}

TRunThread::~TRunThread() { Stop(); }

TRunState TRunThread::State() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void TRunThread::Stop() {
  stop_.Request();
  if (thread_.joinable()) thread_.join();
}

void TRunThread::Work() {
  // The window's thread comes first, so that it paints at once; the run's
  // workers, started from here, share the lower priority.
  LowerThreadPriority();
  // Stop points of the steps done here (a photograph rendered on this thread) heed Stop.
  TStopScope scope(stop_);
  try {
    for (;;) {
      StopPoint();
      // A Skip asked for before the photographs step waits for it.
      if (run_.RunStep() == TRunStep::RenderPhotographs && skip_.exchange(false)) run_.Skip();
      // While a photograph renders, Skip and Stop are looked at again every few milliseconds.
      if (!run_.WaitForNextStep(kLookAgain)) continue;
      const TRunStep step = run_.RunStep();
      const bool more = run_.RunTick();
      if (step == TRunStep::PrepareRun) rendering_began_ = std::chrono::steady_clock::now();
      if (!more) break;
      Publish(false);
    }
    Publish(true);
  } catch (const TStopped&) {
    Publish(true);  // stopped on request: nothing to tell
  } catch (...) {
    Publish(true, std::current_exception());
  }
  // The pictures' memory, kept for reuse during the run, is not needed until the next.
  ReleaseKeptMemory();
}

void TRunThread::Publish(bool ended, std::exception_ptr error) {
  TRunState state;
  state.Step = run_.RunStep();
  state.Index = run_.RunIndex();
  state.Images = run_.ImageProgress();
  state.Pages = run_.PageProgress();
  state.ImageLabel = run_.ImageLabel();
  state.SkipEnabled = run_.SkipEnabled();
  state.Ended = ended;
  state.Error = std::move(error);
  if (state.Step == TRunStep::RenderPhotographs) {
    state.Photos = state.Images.Maximum / 2;
    state.Photo = std::min(state.Images.Position / 2 + 1, state.Photos);
    const int to_render = state.Photos - run_.UpToDateCount();
    const int done = run_.RenderedCount() + static_cast<int>(run_.PhotographsWithoutImages().size());
    if (done > 0) {
      const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - rendering_began_;
      state.SecondsLeft = static_cast<int>(std::ceil(spent.count() / done * (to_render - done)));
    }
  }
  std::lock_guard lock(mutex_);
  state_ = std::move(state);
}

}  // namespace folivant
