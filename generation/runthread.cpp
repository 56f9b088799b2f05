#include "generation/runthread.h"

#include <cmath>

namespace folivant {

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
  // Stop points of the steps done here (a photograph rendered on this thread) heed Stop.
  TStopScope scope(stop_);
  try {
    for (;;) {
      StopPoint();
      const TRunStep step = run_.RunStep();
      // A Skip asked for before the photographs step waits for it.
      if (step == TRunStep::RenderPhotographs && skip_.exchange(false)) run_.Skip();
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
