#pragma once

// JPEG decoding and encoding; the only part of the program that sees libjpeg.

#include <cstdint>
#include <memory>
#include <string>

#include "generator/raster.h"

namespace folivant {

/// Pictures with more pixels than this are refused before anything large is allocated.
inline constexpr int64_t kMaxPicturePixels = 400'000'000;

/// Decodes a JPEG file row by row with the library's defaults (accurate integer
/// transform, smooth upsampling). Greyscale pictures keep all 256 levels; CMYK
/// and YCCK pictures are converted to RGB.
class TJpegReader {
 public:
  /// Opens `path` and reads its header; `scale_denom` 1, 2, 4 or 8 decodes that
  /// many times smaller (fast previews). Throws TError with the platform's
  /// message, "JPEG error #%d" or a message on a picture that is too large.
  explicit TJpegReader(const std::string& path, int scale_denom = 1);
  ~TJpegReader();
  TJpegReader(const TJpegReader&) = delete;
  TJpegReader& operator=(const TJpegReader&) = delete;

  /// Size of the decoded picture in pixels.
  int32_t Width() const;
  int32_t Height() const;

  /// Decodes up to `count` next rows into `rows` (Width() words a row,
  /// 0xAARRGGBB with alpha 255); returns how many, 0 at the end. Throws TError
  /// "JPEG error #%d" on damaged data, including a file that ends early.
  int32_t ReadRows(uint32_t* rows, int32_t count);

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

/// Throws TError "Unknown picture file extension (.%s)" unless the file name
/// ends in ".jpg" or ".jpeg", in any case.
void CheckPictureExtension(const std::string& path);

/// The whole picture at `path` as a raster, checked by its extension first.
/// Throws as CheckPictureExtension and TJpegReader do.
TRaster LoadPicture(const std::string& path, int scale_denom = 1);

/// The raster as a baseline JFIF file at `quality` (1 to 100), alpha dropped;
/// no bytes for an empty raster. Throws TError "JPEG error #%d".
std::string EncodeJpeg(const TRaster& raster, int quality);

}  // namespace folivant
