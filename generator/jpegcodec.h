#pragma once

// JPEG decoding and encoding; the only part of the program that sees libjpeg.

#include <cstdint>
#include <memory>
#include <string>

#include "generator/memorybudget.h"
#include "generator/raster.h"
#include "platform/error.h"
#include "platform/fileidentity.h"

namespace folivant {

/// A picture file that cannot be read or decoded, or that is too large: the
/// photograph gets no images, and the others are not affected. what() is the
/// platform's or the decoder's own message.
class TPictureError : public TError {
 public:
  using TError::TError;
};

/// Decodes a JPEG file row by row with the library's defaults (accurate integer
/// transform, smooth upsampling). Greyscale pictures keep all 256 levels; CMYK
/// and YCCK pictures are converted to RGB. The file is read once, from its
/// start, through a TFileReader: a file that does not begin as a JPEG file
/// does is refused after its first bytes, and the bytes decoded also give the
/// file's fingerprint (ReadToEnd).
class TJpegReader {
 public:
  /// Opens `path` and reads its header; `scale_denom` 1, 2, 4 or 8 decodes that
  /// many times smaller (fast previews). The decoder never takes more than
  /// `memory_limit` bytes. Throws TPictureError with the platform's message
  /// (also "Cannot read "<path>": it is a named pipe, not a file": it never
  /// waits on one), the library's message ("Not a JPEG file: starts with 0x54
  /// 0x68"), or a message on a picture that is too large or needs more than
  /// `memory_limit`; TStopped once a stop is requested.
  explicit TJpegReader(const std::string& path, int scale_denom = 1, int64_t memory_limit = kRunMemoryBudget);
  ~TJpegReader();
  TJpegReader(const TJpegReader&) = delete;
  TJpegReader& operator=(const TJpegReader&) = delete;

  /// Size of the decoded picture in pixels.
  int32_t Width() const;
  int32_t Height() const;
  /// Bytes the decoder will hold, known from the header: progressive files
  /// keep all their coefficients (2 bytes each) until the last scan.
  int64_t DecodeMemory() const;
  /// The ICC colour profile the file embeds in its APP2 segments; empty when
  /// it has none, or a damaged or incomplete one. The rows keep the file's colours.
  const std::string& IccProfile() const;

  /// Decodes up to `count` next rows into `rows` (Width() words a row,
  /// 0xAARRGGBB with alpha 255); returns how many, 0 at the end. Throws
  /// TPictureError with the library's message on damaged data, including
  /// "Premature end of JPEG file"; TStopped once a stop is requested.
  int32_t ReadRows(uint32_t* rows, int32_t count);

  /// Reads what the decoder left of the file (call it after the last row): the
  /// stamp the file had when it was opened and the fingerprint of all its
  /// bytes. Throws TPictureError with the platform's message, TStopped.
  TFileContent ReadToEnd();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

/// Throws TPictureError "Unknown picture file extension (.%s)" unless the file
/// name ends in ".jpg" or ".jpeg", in any case.
void CheckPictureExtension(const std::string& path);

/// The whole picture at `path` as a raster in sRGB colours (TSrgbConversion),
/// checked by its extension first. Throws as CheckPictureExtension and
/// TJpegReader do, and TPictureError when decoding and the raster together
/// need more than the run's memory budget.
TRaster LoadPicture(const std::string& path, int scale_denom = 1);

/// The raster as a baseline JFIF file at `quality` (1 to 100), alpha dropped;
/// no bytes for an empty raster. Throws TError with the library's message,
/// TStopped once a stop is requested.
std::string EncodeJpeg(const TRaster& raster, int quality);

}  // namespace folivant
