#include "generator/rotation.h"

#include <algorithm>

namespace folivant {

// Pixel (x, y) of a W x H source goes to: Left (y, W-1-x), Right (H-1-y, x),
// UpsideDown (W-1-x, H-1-y).
TTurnAxes TurnAxes(TRotation rotation) {
  switch (rotation) {
    case TRotation::None: return {};
    case TRotation::Left: return {.SwapsAxes = true, .MirrorsSourceX = true, .MirrorsSourceY = false};
    case TRotation::Right: return {.SwapsAxes = true, .MirrorsSourceX = false, .MirrorsSourceY = true};
    case TRotation::UpsideDown: return {.SwapsAxes = false, .MirrorsSourceX = true, .MirrorsSourceY = true};
  }
  return {};
}

void TurnedSize(TRotation rotation, int32_t width, int32_t height, int32_t* turned_width, int32_t* turned_height) {
  const bool swaps = TurnAxes(rotation).SwapsAxes;
  *turned_width = swaps ? height : width;
  *turned_height = swaps ? width : height;
}

void PlaceTurnedRow(TRotation rotation, int32_t source_width, int32_t source_height, int32_t y, const uint32_t* row,
                    TRaster& turned) {
  const TTurnAxes axes = TurnAxes(rotation);
  const int32_t mapped_y = axes.MirrorsSourceY ? source_height - 1 - y : y;
  if (!axes.SwapsAxes) {
    uint32_t* target = turned.Row(mapped_y);
    if (axes.MirrorsSourceX) {
      std::reverse_copy(row, row + source_width, target);
    } else {
      std::copy(row, row + source_width, target);
    }
    return;
  }
  // The source row becomes a column of the turned picture.
  for (int32_t x = 0; x < source_width; ++x) {
    const int32_t turned_row = axes.MirrorsSourceX ? source_width - 1 - x : x;
    turned.At(mapped_y, turned_row) = row[x];
  }
}

TRaster Turn(const TRaster& source, TRotation rotation) {
  int32_t width = 0;
  int32_t height = 0;
  TurnedSize(rotation, source.Width, source.Height, &width, &height);
  TRaster turned(width, height);
  for (int32_t y = 0; y < source.Height; ++y) {
    PlaceTurnedRow(rotation, source.Width, source.Height, y, source.Row(y), turned);
  }
  return turned;
}

}  // namespace folivant
