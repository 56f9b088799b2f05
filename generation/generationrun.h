#pragma once

// The generation run without any window, as a chain of short steps after the
// checks of Finish (runchecks.h, included here for the run's callers). The
// command-line generator, the wizard's run thread (runthread.h) and the tests
// call RunTick in a loop.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generation/earlierruns.h"
#include "generation/runchecks.h"
#include "generation/runrecord.h"
#include "generator/memorybudget.h"
#include "generator/pagegenerator.h"
#include "generator/photogenerator.h"
#include "generator/utilities.h"
#include "model/albumclasses.h"

namespace folivant {

class TRenderAhead;
struct TRenderedImages;

inline constexpr char kPreparingPhotographsLabel[] = "Preparing Photographs...";
inline constexpr char kSkippedSuffix[] = " (Skipped)";

/// The image bar's label of a run that found `up_to_date` photographs'
/// images already in the folder: kPreparingPhotographsLabel, then how many.
std::string PreparingPhotographsLabel(int up_to_date);

/// The run's states, one after another; a step spends one tick per unit of work.
enum class TRunStep : uint8_t {
  PrepareRun,
  RenderPhotographs,
  ClosePhotographs,
  WritePhotoPages,
  OpenIndexPages,
  WriteIndexPages,
  ClosePages,
  Finished
};

/// A photograph the run left without images, and why ("file not found",
/// "not a .jpg or .jpeg file", or the decoder's message).
struct TPhotographWithoutImages {
  int Index = 0;
  std::string Reason;
};

/// A progress bar's state; the minimum is always 0.
struct TProgress {
  int Position = 0;
  int Maximum = 0;
};

/// How a run goes about its work and what earlier runs left in the folder.
struct TRunOptions {
  /// With more than 1, photographs are rendered ahead on that many threads and
  /// still written in album order by RunTick; the files are the same.
  int Jobs = 1;
  /// Renders every photograph, also those whose images are up to date.
  bool Full = false;
  /// Removes the files that the record says an earlier run wrote, that this
  /// run does not write and that are unchanged since.
  bool Prune = false;
  /// Where the record of the runs is kept; empty: no record, so every
  /// photograph is rendered and nothing is pruned.
  std::string RecordFolder = DefaultRunRecordFolder();
};

/// One generation run into the album's OutputDirectory, which CheckFinish has
/// settled and created, in the album's page style: `stylesheet_template` is
/// the template of that style (TGlobalSettings::StylesheetTemplate(PageStyle)).
/// Borrows the album for its whole life and assigns its web names; the album's
/// FileName and Saved stay as they are. A photograph is rendered only when the
/// record of earlier runs into the same folder does not show its image files
/// there, unchanged and made of the same ImageInputsKey; pages, "main.css" and
/// the album copy are always written.
class TGenerationRun {
 public:
  TGenerationRun(TAlbum& album, TLineList stylesheet_template, TRunOptions options = {});
  /// Stops rendering ahead; what was written stays.
  ~TGenerationRun();
  TGenerationRun(const TGenerationRun&) = delete;
  TGenerationRun& operator=(const TGenerationRun&) = delete;

  /// Performs one unit of work of the current step. False once the run has
  /// nothing more to do (after the Finished step, or after a failure), so the
  /// caller's timer stays off. Throws TError with the failure's message; the
  /// run then stops where it is and later ticks do nothing.
  bool RunTick();
  /// Ends the photographs step early; does nothing outside it.
  void Skip();
  /// Waits at most `timeout` until the next RunTick can do its step without
  /// waiting for a photograph rendered ahead; true when it can. So a caller
  /// may look at other things (a Skip, a Cancel) while photographs render.
  bool WaitForNextStep(std::chrono::milliseconds timeout);

  TRunStep RunStep() const { return step_; }
  int RunIndex() const { return index_; }
  const TProgress& ImageProgress() const { return image_progress_; }
  const TProgress& PageProgress() const { return page_progress_; }
  /// "Preparing Photographs...", followed by " (Skipped)" after Skip.
  const std::string& ImageLabel() const { return image_label_; }
  bool SkipEnabled() const { return skip_enabled_; }
  /// The Finished step has been performed.
  bool Completed() const { return completed_; }
  bool Failed() const { return failed_; }
  /// The photographs that got no image files, in album order, each with the
  /// reason: missing ones, those of a file type the renderer does not read
  /// (".jpe"), and those that cannot be read, decoded or fitted into the
  /// memory budget. Their pages still refer to those files.
  const std::vector<TPhotographWithoutImages>& PhotographsWithoutImages() const { return without_images_; }
  /// Photographs whose images were rendered and written by this run.
  int RenderedCount() const { return rendered_count_; }
  /// Photographs whose images an earlier run wrote and that were kept.
  int UpToDateCount() const { return up_to_date_count_; }
  /// Files of earlier runs removed by TRunOptions::Prune.
  int PrunedCount() const { return pruned_count_; }
  /// Temporary files that interrupted earlier runs left in the folder, removed
  /// at the start: regular files named exactly as the writer names the
  /// temporaries of a file this run writes or the record lists, older than the run.
  int RemovedTemporariesCount() const { return removed_temporaries_count_; }
  /// What the user should know about the run's files (the album's copy under
  /// another name); empty when there is nothing to tell.
  const std::string& Notice() const { return notice_; }

 private:
  void PrepareRun();
  /// Decides which photographs need rendering, from the record and their sources.
  void FindImagesUpToDate();
  /// Moves the image bar past the photographs that need no rendering.
  void PassImagesUpToDate();
  void WriteAlbumCopy();
  /// Called on the render-ahead threads too: reads only the album and the generator.
  TRenderedImages Render(int index) const;
  void RenderNextPhotograph();
  void WriteNextPhotoPage();
  void WriteNextIndexPage();
  std::string OutputFile(const std::string& name) const;
  /// Writes a file of the run and records it; the folder is flushed once, at the end.
  void WriteOutput(const std::string& name, std::string_view bytes, const std::string& inputs = "");
  void WriteLines(const TLineList& lines, const std::string& name);
  /// Adds a sentence to Notice, its full stop made sure of.
  void AddNotice(std::string_view sentence);
  /// Prunes, when asked, and keeps the record for the next run.
  void FinishRecord();
  /// Writes the zip of the photographs' largest images when the album offers
  /// one, unless the one an earlier run wrote holds the same files.
  void WriteAlbumZip();

  TAlbum& album_;
  const TRunOptions options_;
  TLineList stylesheet_;
  // What the pages know of each photograph's images: nothing yet (not
  // rendered in this run), no files, or the files written.
  TPublishedImageFiles image_files_;
  std::unique_ptr<TAlbumPageGenerator> page_generator_;
  std::unique_ptr<TAlbumPhotoGenerator> photo_generator_;
  // Shared by the photographs being rendered at one moment, on any thread;
  // declared before the workers, so it outlives them.
  mutable TMemoryBudget memory_budget_;
  std::unique_ptr<TRenderAhead> render_ahead_;
  TRunStep step_ = TRunStep::PrepareRun;
  int index_ = 0;
  int index_pages_ = 0;
  TProgress image_progress_;
  TProgress page_progress_;
  std::string image_label_ = kPreparingPhotographsLabel;
  bool skip_enabled_ = true;
  bool completed_ = false;
  bool failed_ = false;
  std::vector<TPhotographWithoutImages> without_images_;
  std::string notice_;
  TEarlierRuns earlier_runs_;
  std::vector<bool> up_to_date_;  // per photograph
  int rendered_count_ = 0;
  int up_to_date_count_ = 0;
  int pruned_count_ = 0;
  int removed_temporaries_count_ = 0;
};

}  // namespace folivant
