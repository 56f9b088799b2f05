// Measures RenderPhoto against a bare libjpeg decode of the same files, in one
// run: see bench/README.md.

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/baredecode.h"
#include "generator/jpegcodec.h"
#include "generator/photogenerator.h"
#include "model/albumclasses.h"

namespace {

using namespace folivant;

std::unique_ptr<TAlbum> AlbumOf(const std::string& path) {
  auto album = std::make_unique<TAlbum>();
  auto photograph = std::make_unique<TPhotograph>();
  photograph->SetFileName(path);
  album->Photographs.Add(std::move(photograph));
  return album;  // default settings: 640 wide, 100 x 75 thumbnails
}

size_t Render(const TAlbum& album, TRotation rotation) {
  album.Photographs[0].Rotation = rotation;
  TEncodedImage thumbnail;
  const auto photo = TAlbumPhotoGenerator(album).RenderPhoto(0, &thumbnail);
  return photo->Bytes.size() + thumbnail.Bytes.size();
}

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// CPU time rather than wall time: other work on the machine disturbs it less.
template <typename F>
double Seconds(F&& work) {
  const double start = CpuSeconds();
  volatile size_t sink = work();
  (void)sink;
  return CpuSeconds() - start;
}

long MaxRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Child mode: one RenderPhoto, then the growth of the peak resident size.
int PeakMemory(const std::string& path, TRotation rotation) {
  const std::unique_ptr<TAlbum> album = AlbumOf(path);
  const long before = MaxRssKb();
  Render(*album, rotation);
  std::cout << (MaxRssKb() - before) << "\n";
  return 0;
}

// Runs this program again in peak-memory mode, so that the measurement starts
// from a small process and not from the timing runs' high-water mark.
double PeakMemoryMb(const std::string& path, const char* rotation) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string command = "'" + self + "' --peak-memory '" + path + "' " + rotation;
  FILE* child = popen(command.c_str(), "r");
  long kb = -1;
  if (!child || std::fscanf(child, "%ld", &kb) != 1) kb = -1;
  if (child) pclose(child);
  return static_cast<double>(kb) / 1024.0;
}

// The colour profile of the tagged copies: Adobe RGB as cameras embed it.
constexpr char kProfile[] = "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A copy of the photograph at `path` that embeds `profile` in an APP2 segment
// right after the start of image, in `folder`.
std::string TaggedCopy(const std::string& path, const std::string& profile, const std::filesystem::path& folder) {
  const std::string bytes = ReadAll(path);
  const size_t length = 2 + 14 + profile.size();
  const std::string segment = std::string{'\xFF', '\xE2', static_cast<char>(length >> 8), static_cast<char>(length)} +
                              std::string("ICC_PROFILE\0\1\1", 14) + profile;
  const std::string copy = (folder / std::filesystem::path(path).filename()).string();
  std::ofstream(copy, std::ios::binary) << bytes.substr(0, 2) << segment << bytes.substr(2);
  return copy;
}

struct TTotals {
  int Files = 0;
  double Megapixels = 0;
  double Bare = 0;
  double None = 0;
  double Left = 0;
  double Tagged = 0;
  std::string Example;
  int Width = 0;
  int Height = 0;
};

void Report(const std::string& name, const TTotals& t) {
  const double n = t.Files;
  std::printf(
      "%-4s %2d files %dx%d | decode %7.1f ms | None %7.1f ms  x%.3f  %6.1f MP/s | Left %7.1f ms  x%.3f  %6.1f MP/s"
      " | Tagged %7.1f ms  x%.3f of None\n",
      name.c_str(), t.Files, t.Width, t.Height, 1000 * t.Bare / n, 1000 * t.None / n, t.None / t.Bare,
      t.Megapixels / t.None, 1000 * t.Left / n, t.Left / t.Bare, t.Megapixels / t.Left, 1000 * t.Tagged / n,
      t.Tagged / t.None);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--peak-memory") {
    return PeakMemory(argv[2], std::string(argv[3]) == "left" ? TRotation::Left : TRotation::None);
  }
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: folivant-renderbench CORPUS_DIR [ROUNDS]\n";
    return 2;
  }
  const int rounds = argc == 3 ? std::max(1, std::atoi(argv[2])) : 3;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[1])) {
    if (entry.is_regular_file() && entry.path().extension() == ".jpg") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::cerr << "no .jpg files in " << argv[1] << "\n";
    return 2;
  }

  const std::string profile = ReadAll(kProfile);
  if (profile.empty()) {
    std::cerr << "cannot read the colour profile " << kProfile << " (icc-profiles-free)\n";
    return 2;
  }
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("folivant-renderbench-" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  std::printf(
      "CPU time, best of %d rounds after one warm-up; ratios are to the bare decode of the same files, Tagged (a\n"
      "copy that embeds Adobe RGB, converted to sRGB) to None\n",
      rounds);
  std::map<std::string, TTotals> classes;
  for (const std::string& path : files) {
    const std::unique_ptr<TAlbum> album = AlbumOf(path);
    const std::unique_ptr<TAlbum> tagged = AlbumOf(TaggedCopy(path, profile, scratch));
    std::vector<JSAMPLE> pixels;
    BareDecode(path, pixels);
    double bare = 1e9, none = 1e9, left = 1e9, converted = 1e9;
    for (int round = 0; round <= rounds; ++round) {
      const double b = Seconds([&] { return BareDecode(path, pixels); });
      const double n = Seconds([&] { return Render(*album, TRotation::None); });
      const double l = Seconds([&] { return Render(*album, TRotation::Left); });
      const double c = Seconds([&] { return Render(*tagged, TRotation::None); });
      if (round == 0) continue;  // warm-up
      bare = std::min(bare, b), none = std::min(none, n), left = std::min(left, l), converted = std::min(converted, c);
    }
    TJpegReader reader(path);
    TTotals& t = classes[std::filesystem::path(path).parent_path().filename().string()];
    t.Files++;
    t.Width = reader.Width(), t.Height = reader.Height();
    t.Megapixels += reader.Width() * static_cast<double>(reader.Height()) / 1e6;
    t.Bare += bare, t.None += none, t.Left += left, t.Tagged += converted;
    if (t.Example.empty()) t.Example = path;
  }
  std::filesystem::remove_all(scratch);
  for (const auto& [name, t] : classes) Report(name, t);
  std::printf(
      "\npeak memory of one RenderPhoto (growth of the peak resident size; decoded raster = 4 bytes a pixel):\n");
  for (const auto& [name, t] : classes) {
    const double raster_mb = 4.0 * t.Width * t.Height / (1024.0 * 1024.0);
    for (const char* rotation : {"none", "left"}) {
      const double mb = PeakMemoryMb(t.Example, rotation);
      std::printf("%-4s %-4s %7.1f MB = %.2f x the decoded raster (%.1f MB)\n", name.c_str(), rotation, mb,
                  mb / raster_mb, raster_mb);
    }
  }
  return 0;
}
