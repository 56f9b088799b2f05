#pragma once

// The renderer's arithmetic written the plain way, pixel by pixel over whole
// rasters, to hold the fast streaming code to the same bytes.

#include <cstdint>
#include <random>

#include "generator/raster.h"
#include "model/albumclasses.h"

namespace folivant::test {

/// Every pixel moved by the turn's own formula.
TRaster ReferenceTurn(const TRaster& source, TRotation rotation);

/// Whole source onto a new width x height raster: copy, bilinear enlargement or
/// the tent filter, each channel separately with 64-bit sums.
TRaster ReferenceStretch(const TRaster& source, int32_t width, int32_t height);

/// A raster of random words, alpha included.
TRaster RandomRaster(int32_t width, int32_t height, std::mt19937& random);

/// A raster of one colour.
TRaster SolidRaster(int32_t width, int32_t height, uint32_t color);

}  // namespace folivant::test
