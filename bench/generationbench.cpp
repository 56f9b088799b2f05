// Measures a whole generation run over a folder of photographs with one and
// with two jobs, against a bare libjpeg decode of the same files, in one
// process: see bench/README.md.

#include <stdlib.h>

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
#include "generator/findfiles.h"
#include "generator/jpegcodec.h"
#include "generator/utilities.h"
#include "model/albumclasses.h"
#include "platform/resources.h"
#include "wizard/generationrun.h"

namespace {

using namespace folivant;

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of `rounds` timings: the least disturbed by other work on the machine.
double Best(int rounds, const std::function<void()>& work) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) best = std::min(best, Seconds(work));
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
  const double decode = Best(rounds, [&files, &buffer] {
    for (const std::string& path : files) BareDecode(path, buffer);
  });
  GenerateAlbum(album, scratch, 1);  // warm-up
  const double one = Best(rounds, [&] { GenerateAlbum(album, scratch, 1); });
  const double two = Best(rounds, [&] { GenerateAlbum(album, scratch, 2); });
  std::filesystem::remove_all(scratch);

  const double megapixels = static_cast<double>(pixels) / 1e6;
  std::printf("whole generation run: %zu photographs, %.1f Mpixels, best of %d rounds, %u processors\n", files.size(),
              megapixels, rounds, std::thread::hardware_concurrency());
  std::printf("  bare full-scale decodes  %7.2f s  %6.1f Mpixels/s\n", decode, megapixels / decode);
  std::printf("  run --jobs 1             %7.2f s  %6.1f Mpixels/s  ratio to decodes %.2f (goal <= 1.5)\n", one,
              megapixels / one, one / decode);
  std::printf("  run --jobs 2             %7.2f s  %6.1f Mpixels/s  speedup %.2f (goal >= 1.85)\n", two,
              megapixels / two, one / two);
  return 0;
}
