#include "jpegwriter.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <csetjmp>
#include <cstdlib>
#include <stdexcept>

namespace folivant::samples {

namespace {

struct TErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->jump, 1); }

int Components(TJpegSpace space) {
  switch (space) {
    case TJpegSpace::Rgb: return 3;
    case TJpegSpace::Greyscale: return 1;
    case TJpegSpace::Cmyk:
    case TJpegSpace::Ycck: return 4;
  }
  return 3;
}

J_COLOR_SPACE InputSpace(TJpegSpace space) {
  switch (space) {
    case TJpegSpace::Rgb: return JCS_RGB;
    case TJpegSpace::Greyscale: return JCS_GRAYSCALE;
    case TJpegSpace::Cmyk:
    case TJpegSpace::Ycck: return JCS_CMYK;
  }
  return JCS_RGB;
}

// Holds only trivially destructible locals, so that the jump back skips no destructor.
bool Compress(const uint8_t* samples, int width, int height, const TJpegOptions& options, unsigned char** out,
              unsigned long* out_size) {
  jpeg_compress_struct info;
  TErrorManager error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOnError;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, out_size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = Components(options.Space);
  info.in_color_space = InputSpace(options.Space);
  jpeg_set_defaults(&info);
  if (options.Space == TJpegSpace::Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  jpeg_set_quality(&info, options.Quality, TRUE);
  if (options.Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  for (const auto& [marker, payload] : options.Segments)
    jpeg_write_marker(&info, marker, reinterpret_cast<const JOCTET*>(payload.data()),
                      static_cast<unsigned>(payload.size()));
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(info.input_components);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPROW>(samples + static_cast<size_t>(info.next_scanline) * stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::string WriteJpeg(const uint8_t* samples, int width, int height, const TJpegOptions& options) {
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  const bool compressed = Compress(samples, width, height, options, &out, &out_size);
  std::string bytes = compressed ? std::string(reinterpret_cast<const char*>(out), out_size) : "";
  std::free(out);
  if (!compressed) throw std::runtime_error("libjpeg could not compress a picture");
  return bytes;
}

}  // namespace folivant::samples
