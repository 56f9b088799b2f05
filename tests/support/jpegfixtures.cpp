#include "jpegfixtures.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include "jpegwriter.h"

namespace folivant::test {

std::string WriteFixtureJpeg(TFixtureSpace space, int width, int height, const std::vector<uint8_t>& samples,
                             int quality) {
  samples::TJpegOptions options;
  options.Space = space == TFixtureSpace::Greyscale ? samples::TJpegSpace::Greyscale
                  : space == TFixtureSpace::Cmyk    ? samples::TJpegSpace::Cmyk
                                                    : samples::TJpegSpace::Ycck;
  options.Quality = quality;
  return samples::WriteJpeg(samples.data(), width, height, options);
}

std::string WriteProgressiveJpeg(int width, int height) {
  const std::vector<uint8_t> grey(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 128);
  samples::TJpegOptions options;
  options.Progressive = true;
  return samples::WriteJpeg(grey.data(), width, height, options);
}

std::vector<uint8_t> DecodeGreyLevels(const std::string& jpeg) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  std::vector<uint8_t> levels(static_cast<size_t>(cinfo.output_width) * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &levels[cinfo.output_scanline * cinfo.output_width];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return levels;
}

}  // namespace folivant::test
