// Measures a whole generation run over a folder of photographs with one and
// with two jobs, against a bare libjpeg decode of the same files, in one
// process: see bench/README.md.

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
#include "generator/jpegcodec.h"
#include "generator/utilities.h"
#include "model/albumclasses.h"
#include "platform/resources.h"
#include "wizard/generationrun.h"

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

// One run, from the first tick to the last, into a fresh folder that is removed afterwards.
void GenerateAlbum(TAlbum& album, const std::string& scratch, int jobs) {
  const std::string folder = scratch + "/album-" + std::to_string(jobs);
  std::filesystem::remove_all(folder);
  if (CheckFinish(album, folder, "", [](const std::string&) { return true; }) != TFinishCheck::Ready)
    throw std::runtime_error("cannot prepare " + folder);
  TGenerationRun run(album, SplitLines(*FindResource("defaultstylesheet")), jobs);
  while (run.RunTick()) {
  }
  album.Settings.OutputDirectory.clear();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: folivant-generationbench PHOTO_FOLDER [ROUNDS]\n";
    return 2;
  }
  const int rounds = argc == 3 ? std::max(1, std::atoi(argv[2])) : 3;
  std::vector<std::string> files;
  FindFiles(argv[1], "*.jpg", false, files);
  if (files.empty()) {
    std::cerr << "no .jpg files in " << argv[1] << "\n";
    return 1;
  }
  TAlbum album;
  for (const std::string& path : files) album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
  std::string scratch = (std::filesystem::temp_directory_path() / "folivant-bench-XXXXXX").string();
  if (!::mkdtemp(scratch.data())) throw std::runtime_error("cannot create a scratch folder");

  std::vector<JSAMPLE> buffer;
  size_t pixels = 0;
  for (const std::string& path : files) {
    BareDecode(path, buffer);  // warms the file cache and the code
    const TJpegReader reader(path);
    pixels += static_cast<size_t>(reader.Width()) * static_cast<size_t>(reader.Height());
  }
  const TTiming decode = Best(rounds, [&files, &buffer] {
    for (const std::string& path : files) BareDecode(path, buffer);
  });
  GenerateAlbum(album, scratch, 1);  // warm-up
  const TTiming one = Best(rounds, [&] { GenerateAlbum(album, scratch, 1); });
  const TTiming two = Best(rounds, [&] { GenerateAlbum(album, scratch, 2); });
  std::filesystem::remove_all(scratch);

  const double megapixels = static_cast<double>(pixels) / 1e6;
  std::printf("whole generation run: %zu photographs, %.1f Mpixels, best of %d rounds, %u processors\n", files.size(),
              megapixels, rounds, std::thread::hardware_concurrency());
  std::printf("                           wall      cpu   Mpixels/s (wall)\n");
  std::printf("  bare full-scale decodes  %6.2f s %6.2f s %6.1f\n", decode.wall, decode.cpu, megapixels / decode.wall);
  std::printf("  run --jobs 1             %6.2f s %6.2f s %6.1f  ratio to decodes %.2f wall, %.2f cpu (goal <= 1.5)\n",
              one.wall, one.cpu, megapixels / one.wall, one.wall / decode.wall, one.cpu / decode.cpu);
  std::printf("  run --jobs 2             %6.2f s %6.2f s %6.1f  speedup %.2f wall (goal >= 1.85)\n", two.wall, two.cpu,
              megapixels / two.wall, one.wall / two.wall);
  return 0;
}
