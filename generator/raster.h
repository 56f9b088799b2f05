#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace folivant {

/// Alpha of every decoded pixel: decoding makes pixels opaque.
inline constexpr uint32_t kOpaqueAlpha = 0xFF000000;

/// Leaves the elements a vector adds unset where a vector would zero them, so
/// that a picture its maker fills whole is written once, not twice.
template <typename T>
struct TUnsetAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = TUnsetAllocator<U>;
  };
  TUnsetAllocator() = default;
  template <typename U>
  explicit TUnsetAllocator(const TUnsetAllocator<U>& /*other*/) {}
  template <typename U>
  void construct(U* place) {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Arguments>
  void construct(U* place, Arguments&&... arguments) {
    ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
  }
};

/// The pixel words of a raster.
using TPixels = std::vector<uint32_t, TUnsetAllocator<uint32_t>>;

/// A picture between decoding and encoding: rows from the top, pixels from the
/// left, no padding; each word is 0xAARRGGBB. Width or height 0 is empty.
struct TRaster {
  int32_t Width = 0;
  int32_t Height = 0;
  TPixels Pixels;

  TRaster() = default;
  /// A raster of the given size with every word 0.
  TRaster(int32_t width, int32_t height) : TRaster(width, height, 0) {}

  /// A raster of the given size whose words are left unset, for a maker that
  /// writes every pixel.
  static TRaster Unset(int32_t width, int32_t height) {
    TRaster raster;
    raster.Width = width;
    raster.Height = height;
    raster.Pixels.resize(Count(width, height));
    return raster;
  }

  bool Empty() const { return Width == 0 || Height == 0; }
  uint32_t* Row(int32_t y) { return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width); }
  const uint32_t* Row(int32_t y) const {
    return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width);
  }
  uint32_t& At(int32_t x, int32_t y) { return Row(y)[x]; }
  uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }

 private:
  TRaster(int32_t width, int32_t height, uint32_t word)
      : Width(width), Height(height), Pixels(Count(width, height), word) {}
  static std::size_t Count(int32_t width, int32_t height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
};

}  // namespace folivant
