#pragma once

// The colours of photographs that embed an ICC colour profile.

#include <string_view>

#include "generator/raster.h"

namespace folivant {

/// Converts pictures from the colour profile a photograph embeds to sRGB, the
/// colours browsers give pictures without a profile (LittleCMS, relative
/// colorimetric). The profile is recognised as sRGB when converting to sRGB
/// moves no colour of a grid through the whole cube by more than one level:
/// then nothing is converted, so that such photographs keep their pixels.
class TSrgbConversion {
 public:
  /// `profile`: the profile's bytes, empty for a photograph without one. A
  /// profile that is damaged, of another colour space than RGB (greyscale,
  /// CMYK) or of a kind that cannot describe a picture converts nothing.
  explicit TSrgbConversion(std::string_view profile);
  ~TSrgbConversion();
  TSrgbConversion(const TSrgbConversion&) = delete;
  TSrgbConversion& operator=(const TSrgbConversion&) = delete;

  /// Whether Apply changes pixels.
  bool Converts() const { return transform_ != nullptr; }
  /// Converts every pixel of `raster` in place, alpha kept.
  void Apply(TRaster& raster) const;

 private:
  // LittleCMS's transform handle; the library stays out of this header.
  void* transform_ = nullptr;
};

}  // namespace folivant
