#include "rasterreference.h"

#include <vector>

#include "generator/resampler.h"

namespace folivant::test {

namespace {

int64_t Channel(uint32_t pixel, int c) { return (pixel >> (8 * c)) & 0xFF; }

uint32_t Pack(const int64_t channels[4]) {
  uint32_t pixel = 0;
  for (int c = 0; c < 4; ++c) pixel |= static_cast<uint32_t>(channels[c] & 0xFF) << (8 * c);
  return pixel;
}

void ReferenceBilinear(const TRaster& source, TRaster& destination) {
  const std::vector<TTap> columns = BilinearTable(source.Width, destination.Width);
  const std::vector<TTap> rows = BilinearTable(source.Height, destination.Height);
  for (int32_t j = 0; j < destination.Height; ++j) {
    const auto [py, wy] = rows[static_cast<size_t>(j)];
    const int32_t py2 = source.Height == 1 ? 0 : py + 1;
    for (int32_t i = 0; i < destination.Width; ++i) {
      const auto [px, wx] = columns[static_cast<size_t>(i)];
      const int32_t px2 = source.Width == 1 ? 0 : px + 1;
      int64_t result[4];
      for (int c = 0; c < 4; ++c) {
        const int64_t a = (wy * Channel(source.At(px, py), c) + (256 - wy) * Channel(source.At(px, py2), c)) / 256;
        const int64_t b = (wy * Channel(source.At(px2, py), c) + (256 - wy) * Channel(source.At(px2, py2), c)) / 256;
        result[c] = (wx * a + (256 - wx) * b) / 256;
      }
      destination.At(i, j) = Pack(result);
    }
  }
}

void ReferenceTent(const TRaster& source, TRaster& destination) {
  const TTapTable columns = TentTaps(source.Width, destination.Width);
  const TTapTable rows = TentTaps(source.Height, destination.Height);
  const int32_t lo = columns.front().front().Position;
  const int32_t hi = columns.back().back().Position;
  std::vector<int64_t> vertical(static_cast<size_t>(source.Width) * 4);
  for (int32_t r = 0; r < destination.Height; ++r) {
    for (int32_t x = lo; x <= hi; ++x) {
      for (int c = 0; c < 4; ++c) {
        int64_t sum = 0;
        for (const TTap& tap : rows[static_cast<size_t>(r)]) sum += tap.Weight * Channel(source.At(x, tap.Position), c);
        vertical[static_cast<size_t>(x) * 4 + static_cast<size_t>(c)] = sum;
      }
    }
    for (int32_t q = 0; q < destination.Width; ++q) {
      int64_t result[4];
      for (int c = 0; c < 4; ++c) {
        int64_t sum = 0;
        for (const TTap& tap : columns[static_cast<size_t>(q)]) {
          sum += tap.Weight * vertical[static_cast<size_t>(tap.Position) * 4 + static_cast<size_t>(c)];
        }
        result[c] = sum / 65536;
      }
      destination.At(q, r) = Pack(result);
    }
  }
}

}  // namespace

TRaster ReferenceTurn(const TRaster& source, TRotation rotation) {
  const int32_t w = source.Width;
  const int32_t h = source.Height;
  const bool quarter = rotation == TRotation::Left || rotation == TRotation::Right;
  TRaster turned(quarter ? h : w, quarter ? w : h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t pixel = source.At(x, y);
      switch (rotation) {
        case TRotation::None: turned.At(x, y) = pixel; break;
        case TRotation::Left: turned.At(y, w - 1 - x) = pixel; break;
        case TRotation::Right: turned.At(h - 1 - y, x) = pixel; break;
        case TRotation::UpsideDown: turned.At(w - 1 - x, h - 1 - y) = pixel; break;
      }
    }
  }
  return turned;
}

TRaster ReferenceStretch(const TRaster& source, int32_t width, int32_t height) {
  TRaster destination(width, height);
  if (source.Empty() || destination.Empty()) return destination;
  if (width == source.Width && height == source.Height) {
    destination.Pixels = source.Pixels;
  } else if (width > source.Width && height > source.Height) {
    ReferenceBilinear(source, destination);
  } else {
    ReferenceTent(source, destination);
  }
  return destination;
}

TRaster RandomRaster(int32_t width, int32_t height, std::mt19937& random) {
  TRaster raster(width, height);
  for (uint32_t& pixel : raster.Pixels) pixel = static_cast<uint32_t>(random());
  return raster;
}

TRaster SolidRaster(int32_t width, int32_t height, uint32_t color) {
  TRaster raster(width, height);
  for (uint32_t& pixel : raster.Pixels) pixel = color;
  return raster;
}

}  // namespace folivant::test
