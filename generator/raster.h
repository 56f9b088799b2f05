#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folivant {

/// Alpha of every decoded pixel: decoding makes pixels opaque.
inline constexpr uint32_t kOpaqueAlpha = 0xFF000000;

/// A picture between decoding and encoding: rows from the top, pixels from the
/// left, no padding; each word is 0xAARRGGBB. Width or height 0 is empty.
struct TRaster {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;

  TRaster() = default;
  /// A raster of the given size with every word 0.
  TRaster(int32_t width, int32_t height)
      : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

  bool Empty() const { return Width == 0 || Height == 0; }
  uint32_t* Row(int32_t y) { return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width); }
  const uint32_t* Row(int32_t y) const {
    return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width);
  }
  uint32_t& At(int32_t x, int32_t y) { return Row(y)[x]; }
  uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }
};

}  // namespace folivant
