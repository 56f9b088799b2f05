#pragma once

// The one JPEG writer of the sample photographs, the test fixtures and the
// benchmarks: libjpeg with its defaults but for what TJpegOptions sets. The
// program itself writes its images with generator/jpegcodec.h.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace folivant::samples {

/// The samples handed to WriteJpeg: 3 bytes a pixel (RGB), 1 (greyscale), or
/// 4 (CMYK in Adobe's inverted form, written as CMYK or as YCCK).
enum class TJpegSpace : uint8_t { Rgb, Greyscale, Cmyk, Ycck };

struct TJpegOptions {
  TJpegSpace Space = TJpegSpace::Rgb;
  /// libjpeg's quality scale, 1 to 100; 75 is its default.
  int Quality = 75;
  bool Progressive = false;
  /// Segments written right after the JFIF header, in order: the marker
  /// (0xE1 for APP1, ...) and the payload.
  std::vector<std::pair<uint8_t, std::string>> Segments;
};

/// The bytes of a JPEG file of width x height pixels, `samples` row after row
/// as TJpegSpace says. Throws std::runtime_error when libjpeg fails.
std::string WriteJpeg(const uint8_t* samples, int width, int height, const TJpegOptions& options = {});

}  // namespace folivant::samples
