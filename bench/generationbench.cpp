// Measures a whole generation run over a folder of photographs with one and
// with two jobs, against a bare libjpeg decode of the same files, and runs
// again into the same folder after small edits, in one process: see
// bench/README.md.

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/baredecode.h"
#include "editor/findfiles.h"
#include "generation/generationrun.h"
#include "generator/jpegcodec.h"
#include "generator/utilities.h"
#include "model/albumclasses.h"
#include "platform/resources.h"

namespace {

using namespace folivant;

struct TTiming {
  double wall = 1e30;  // seconds on the clock
  double cpu = 1e30;   // seconds of processor time of the whole process
};

double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The best of `rounds` timings, each clock on its own: the least disturbed by
// other work on the machine.
TTiming Best(int rounds, const std::function<void()>& work) {
  TTiming best;
  for (int i = 0; i < rounds; ++i) {
    const auto wall_start = std::chrono::steady_clock::now();
    const double cpu_start = CpuSeconds();
    work();
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu_start);
    best.wall =
        std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count());
  }
  return best;
}

// One run, from the first tick to the last, into `folder`.
void RunInto(TAlbum& album, const std::string& folder, const TRunOptions& options) {
  if (CheckFinish(album, folder, "", [](const std::string&) { return true; }) != TFinishCheck::Ready)
    throw std::runtime_error("cannot prepare " + folder);
  TGenerationRun run(album, SplitLines(*FindResource("defaultstylesheet")), options);
  while (run.RunTick()) {
  }
  album.Settings.OutputDirectory.clear();
}

// One run into a fresh folder, without a record of earlier runs.
void GenerateAlbum(TAlbum& album, const std::string& scratch, int jobs) {
  const std::string folder = scratch + "/album-" + std::to_string(jobs);
  std::filesystem::remove_all(folder);
  RunInto(album, folder, {.Jobs = jobs, .RecordFolder = ""});
}

// A run into an empty folder, then runs again into it after each edit, the
// record kept in the scratch folder. Each edit is undone before the next, so
// every re-run changes one thing against the run before.
struct TReRunTimings {
  TTiming fresh, nothing, caption, rotation, thumbnail;
};

TReRunTimings TimeReRuns(TAlbum& album, const std::string& scratch, int jobs, int rounds) {
  const std::string folder = scratch + "/again";
  const TRunOptions options{.Jobs = jobs, .RecordFolder = scratch + "/records"};
  const auto run = [&] { RunInto(album, folder, options); };
  TPhotograph& middle = album.Photographs[album.Photographs.Count() / 2];
  TReRunTimings best;
  for (int round = 0; round < rounds; ++round) {
    std::filesystem::remove_all(folder);
    const auto keep = [](TTiming& kept, const TTiming& timing) {
      kept.wall = std::min(kept.wall, timing.wall);
      kept.cpu = std::min(kept.cpu, timing.cpu);
    };
    keep(best.fresh, Best(1, run));
    keep(best.nothing, Best(1, run));
    middle.Caption += " again";
    keep(best.caption, Best(1, run));
    middle.Rotation = TRotation::Left;
    keep(best.rotation, Best(1, run));
    middle.Rotation = TRotation::None;
    run();  // back to the first images, untimed
    const int32_t thumb_width = album.Settings.ThumbWidth;
    album.Settings.ThumbWidth = thumb_width + 20;
    keep(best.thumbnail, Best(1, run));
    album.Settings.ThumbWidth = thumb_width;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::cerr << "usage: folivant-generationbench PHOTO_FOLDER [ROUNDS [PHOTOGRAPHS]]\n";
    return 2;
  }
  const int rounds = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 3;
  std::vector<std::string> files;
  FindFiles(argv[1], "*.jpg", false, files);
  if (files.empty()) {
    std::cerr << "no .jpg files in " << argv[1] << "\n";
    return 1;
  }
  // More photographs than files: the files again, in turn, each photograph with its own images.
  const size_t photographs = argc == 4 ? static_cast<size_t>(std::max(1, std::atoi(argv[3]))) : files.size();
  TAlbum album;
  for (size_t i = 0; i < photographs; ++i)
    album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(files[i % files.size()]);
  std::string scratch = (std::filesystem::temp_directory_path() / "folivant-bench-XXXXXX").string();
  if (!::mkdtemp(scratch.data())) throw std::runtime_error("cannot create a scratch folder");

  std::vector<JSAMPLE> buffer;
  size_t pixels = 0;
  for (size_t i = 0; i < photographs; ++i) {
    const std::string& path = files[i % files.size()];
    if (i < files.size()) BareDecode(path, buffer);  // warms the file cache and the code
    const TJpegReader reader(path);
    pixels += static_cast<size_t>(reader.Width()) * static_cast<size_t>(reader.Height());
  }
  const TTiming decode = Best(rounds, [&] {
    for (size_t i = 0; i < photographs; ++i) BareDecode(files[i % files.size()], buffer);
  });
  GenerateAlbum(album, scratch, 1);  // warm-up
  const TTiming one = Best(rounds, [&] { GenerateAlbum(album, scratch, 1); });
  const TTiming two = Best(rounds, [&] { GenerateAlbum(album, scratch, 2); });
  const TReRunTimings again = TimeReRuns(album, scratch, 2, rounds);
  std::filesystem::remove_all(scratch);

  const double megapixels = static_cast<double>(pixels) / 1e6;
  std::printf("whole generation run: %zu photographs (%zu files), %.1f Mpixels, best of %d rounds, %u processors\n",
              photographs, files.size(), megapixels, rounds, std::thread::hardware_concurrency());
  std::printf("                           wall      cpu   Mpixels/s (wall)\n");
  std::printf("  bare full-scale decodes  %6.2f s %6.2f s %6.1f\n", decode.wall, decode.cpu, megapixels / decode.wall);
  std::printf("  run --jobs 1             %6.2f s %6.2f s %6.1f  ratio to decodes %.2f wall, %.2f cpu (goal <= 1.5)\n",
              one.wall, one.cpu, megapixels / one.wall, one.wall / decode.wall, one.cpu / decode.cpu);
  std::printf("  run --jobs 2             %6.2f s %6.2f s %6.1f  speedup %.2f wall (goal >= 1.85)\n", two.wall, two.cpu,
              megapixels / two.wall, one.wall / two.wall);
  std::printf("runs again into the same folder, --jobs 2   wall      cpu   wall to the fresh run\n");
  const auto print = [&again](const char* what, const TTiming& timing, const char* goal) {
    std::printf("  %-40s %6.2f s %6.2f s %6.3f  %s\n", what, timing.wall, timing.cpu, timing.wall / again.fresh.wall,
                goal);
  };
  // One photograph's render: its share of the run with one job, since a single
  // photograph is rendered on one thread.
  const double one_photograph = one.wall / static_cast<double>(photographs);
  char rotation_goal[64];
  std::snprintf(rotation_goal, sizeof rotation_goal, "(goal <= %.3f: 0.03 + one photograph)",
                0.03 + one_photograph / again.fresh.wall);
  print("fresh, into an empty folder", again.fresh, "");
  print("nothing changed", again.nothing, "(goal <= 0.03)");
  print("one caption changed", again.caption, "(goal <= 0.03)");
  print("one photograph rotated", again.rotation, rotation_goal);
  print("thumbnail size changed", again.thumbnail, "(goal <= 1)");
  return 0;
}
