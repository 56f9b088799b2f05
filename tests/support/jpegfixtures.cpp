#include "jpegfixtures.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <cstdlib>

namespace folivant::test {

// Fixtures are well-formed, so libjpeg's default error handler (which ends the
// program) never fires.
namespace {

// A compression into memory; the caller sets the picture up and writes its rows.
class TMemoryCompression {
 public:
  TMemoryCompression(int width, int height) {
    cinfo.err = jpeg_std_error(&error_);
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer_, &size_);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
  }
  ~TMemoryCompression() {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer_);
  }
  TMemoryCompression(const TMemoryCompression&) = delete;
  TMemoryCompression& operator=(const TMemoryCompression&) = delete;

  /// Finishes the file and returns its bytes.
  std::string Finish() {
    jpeg_finish_compress(&cinfo);
    return std::string(reinterpret_cast<const char*>(buffer_), size_);
  }

  jpeg_compress_struct cinfo{};

 private:
  jpeg_error_mgr error_{};
  unsigned char* buffer_ = nullptr;
  unsigned long size_ = 0;
};

}  // namespace

std::string WriteFixtureJpeg(TFixtureSpace space, int width, int height, const std::vector<uint8_t>& samples,
                             int quality) {
  TMemoryCompression compression(width, height);
  jpeg_compress_struct& cinfo = compression.cinfo;
  const bool grey = space == TFixtureSpace::Greyscale;
  cinfo.input_components = grey ? 1 : 4;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  if (space == TFixtureSpace::Ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPLE*>(&samples[cinfo.next_scanline * stride]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  return compression.Finish();
}

std::string WriteProgressiveJpeg(int width, int height) {
  TMemoryCompression compression(width, height);
  jpeg_compress_struct& cinfo = compression.cinfo;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3, 128);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  return compression.Finish();
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
