#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "editor/stylesheetfile.h"
#include "generation/generationrun.h"
#include "generator/utilities.h"
#include "model/globalsettings.h"
#include "platform/desktop.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "platform/stoprequest.h"

namespace folivant::cli {

namespace {

TAlbum OpenAlbum(const std::string& path) { return std::move(*TAlbum::LoadFromFile(path)); }

// The template of the album's style the application would use, or the one given on the command line.
TLineList StylesheetTemplate(const TOptions& options, TPageStyle style) {
  if (options.Stylesheet) return ReadStylesheetFile(*options.Stylesheet);
  TSettingsStore store;
  TGlobalSettings settings(ProgramFolder(), store);
  if (const std::string warning = store.TakeWarning(); !warning.empty())
    std::cerr << "folivant-cli: " << warning << "\n";
  return settings.StylesheetTemplate(style);
}

// The folder field of the wizard holds absolute paths; a relative --output is
// taken from the current folder so that the album copy records where it lies.
std::string FolderField(const TOptions& options) {
  if (!options.Output) return "";
  return std::filesystem::absolute(*options.Output).string();
}

bool AskAtTerminal(const std::string& question) {
  if (!::isatty(STDIN_FILENO) || !::isatty(STDERR_FILENO)) return false;
  std::cerr << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) {
    StopPoint();  // Ctrl+C at the question
    return false;
  }
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

class TProgressLine {
 public:
  TProgressLine() : enabled_(::isatty(STDERR_FILENO) == 1) {}
  ~TProgressLine() { Clear(); }

  void Show(const TGenerationRun& run) {
    if (!enabled_) return;
    const TProgress& images = run.ImageProgress();
    const TProgress& pages = run.PageProgress();
    std::fprintf(stderr, "\rImages %d/%d  Pages %d/%d ", images.Position, images.Maximum, pages.Position,
                 pages.Maximum);
    std::fflush(stderr);
  }
  void Clear() {
    if (enabled_) std::fprintf(stderr, "\r\033[K");
    enabled_ = false;
  }

 private:
  bool enabled_;
};

// Exit status of an album written with some photographs left without images.
constexpr int kExitPhotographsLeftOut = 3;

// The summary on standard output; the exit status: 0 when every photograph got
// its images, kExitPhotographsLeftOut when some did not.
int PrintSummary(TAlbum& album, const TGenerationRun& run, bool pruned, double seconds) {
  const int photographs = album.Photographs.Count();
  const int index_pages = run.PageProgress().Maximum - photographs;
  const size_t without_images = run.PhotographsWithoutImages().size();
  std::printf("Album folder: %s\n", album.Settings.OutputDirectory.c_str());
  std::printf("Photographs:  %d", photographs);
  if (without_images > 0) std::printf(" (%zu without images)", without_images);
  std::printf("\nImages:       %d rendered, %d up to date\n", run.RenderedCount(), run.UpToDateCount());
  if (pruned) std::printf("Removed:      %d files of earlier runs\n", run.PrunedCount());
  if (run.RemovedTemporariesCount() > 0)
    std::printf("Unfinished:   %d files of an interrupted run removed\n", run.RemovedTemporariesCount());
  std::printf("Pages:        %d (%d photo, %d index)\n", photographs + index_pages, photographs, index_pages);
  std::printf("Seconds:      %.2f\n", seconds);
  for (const TPhotographWithoutImages& left_out : run.PhotographsWithoutImages()) {
    std::printf("No images:    %s (%s)\n", album.Photographs[left_out.Index].FileName.c_str(), left_out.Reason.c_str());
  }
  return without_images > 0 ? kExitPhotographsLeftOut : 0;
}

}  // namespace

int Generate(const TOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  TAlbum album = OpenAlbum(options.Album);
  // Only the run and the album's copy in the output folder take them; the album file stays as it is.
  if (options.Style) album.Settings.PageStyle = *options.Style;
  if (options.CameraData) album.Settings.ShowCameraData = true;
  if (options.NoAlbumCopy) album.Settings.AlbumCopy = false;
  TLineList stylesheet_template = StylesheetTemplate(options, album.Settings.PageStyle);
  const auto ask = [&options](const std::string& question) { return options.Force || AskAtTerminal(question); };
  switch (CheckFinish(album, FolderField(options), DesktopFolder(), ask)) {
    case TFinishCheck::NoPhotographs: throw TError(kNoPhotographsMessage);
    case TFinishCheck::FolderRefused:
      throw TError("The output folder '" + album.Settings.OutputDirectory +
                   "' already exists; nothing was written. Use --force to write into it anyway.");
    case TFinishCheck::Ready: break;
  }
  TGenerationRun run(album, std::move(stylesheet_template),
                     {.Jobs = options.Jobs, .Full = options.Full, .Prune = options.Prune});
  TProgressLine progress;
  for (;;) {
    StopPoint();  // a step may end sooner, at a stop point of its own
    if (!run.RunTick()) break;
    progress.Show(run);
  }
  progress.Clear();
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
  const int status = PrintSummary(album, run, options.Prune, seconds.count());
  if (!run.Notice().empty()) std::printf("Note:         %s\n", run.Notice().c_str());
  return status;
}

}  // namespace folivant::cli
