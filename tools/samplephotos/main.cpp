// folivant-sample-photos FOLDER: writes the pictures of the sample album into FOLDER.
// folivant-sample-photos FILE WIDTH HEIGHT [HEADLINE [CAPTION]]: writes one
// picture of that size, for tests that need particular shapes.

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "samplephotos.h"

namespace {

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

int Side(const std::string& text) {
  int side = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  if (error != std::errc() || end != text.data() + text.size() || side < 1 || side > 20000)
    throw std::runtime_error("a side must be a whole number from 1 to 20000, not \"" + text + "\"");
  return side;
}

void WriteSampleAlbum(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const folivant::samples::TSamplePicture& picture : folivant::samples::SamplePictures())
    WriteFile(folder / picture.FileName,
              folivant::samples::MakeSamplePhoto(picture.Scene, picture.Width, picture.Height, picture.Metadata));
}

// The scene follows from the size, so that pictures of different shapes look different.
void WriteOnePicture(int argc, char** argv) {
  const int width = Side(argv[2]);
  const int height = Side(argv[3]);
  folivant::samples::TSampleMetadata metadata;
  if (argc > 4) metadata.Headline = argv[4];
  if (argc > 5) metadata.Caption = argv[5];
  WriteFile(argv[1], folivant::samples::MakeSamplePhoto((width + height) % 6, width, height, metadata));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && (argc < 4 || argc > 6)) {
    std::fprintf(stderr,
                 "usage: folivant-sample-photos FOLDER\n"
                 "       folivant-sample-photos FILE WIDTH HEIGHT [HEADLINE [CAPTION]]\n");
    return 2;
  }
  try {
    if (argc == 2)
      WriteSampleAlbum(argv[1]);
    else
      WriteOnePicture(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "folivant-sample-photos: %s\n", error.what());
    return 1;
  }
  return 0;
}
