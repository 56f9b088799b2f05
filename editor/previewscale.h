#pragma once

#include <cstdint>

#include "model/albumclasses.h"

namespace folivant {

/// The largest decoding reduction (1, 2, 4 or 8 times smaller) at which a
/// width x height photograph, turned by `rotation`, still has at least as many
/// pixels as it gets when fitted into an area_width x area_height preview. A
/// photograph that is enlarged to fit, or an empty area, gives 1.
int PreviewScaleDenom(int32_t width, int32_t height, TRotation rotation, int32_t area_width, int32_t area_height);

}  // namespace folivant
