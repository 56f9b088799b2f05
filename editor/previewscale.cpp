#include "editor/previewscale.h"

#include <algorithm>

namespace folivant {

int PreviewScaleDenom(int32_t width, int32_t height, TRotation rotation, int32_t area_width, int32_t area_height) {
  if (width <= 0 || height <= 0 || area_width <= 0 || area_height <= 0) return 1;
  const bool quarter_turn = rotation == TRotation::Left || rotation == TRotation::Right;
  const double turned_width = quarter_turn ? height : width;
  const double turned_height = quarter_turn ? width : height;
  // The photograph is shown `fit` times its full size.
  const double fit = std::min(area_width / turned_width, area_height / turned_height);
  int denom = 1;
  // libjpeg rounds a reduced size up, so w / denom pixels always suffice.
  while (denom < 8 && fit * (denom * 2) <= 1.0) denom *= 2;
  return denom;
}

}  // namespace folivant
