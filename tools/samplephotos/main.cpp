// folivant-sample-photos FOLDER: writes the pictures of the sample album into FOLDER.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "samplephotos.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: folivant-sample-photos FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const folivant::samples::TSamplePicture& picture : folivant::samples::SamplePictures()) {
      const std::string bytes =
          folivant::samples::MakeSamplePhoto(picture.Scene, picture.Width, picture.Height, picture.Metadata);
      std::ofstream out(folder / picture.FileName, std::ios::binary);
      out << bytes;
      if (!out.flush()) throw std::runtime_error("cannot write " + (folder / picture.FileName).string());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "folivant-sample-photos: %s\n", error.what());
    return 1;
  }
  return 0;
}
