#pragma once

#include <cstdint>

#include "generator/raster.h"
#include "model/albumclasses.h"

namespace folivant {

/// How a turn maps the source's axes onto the turned picture: with SwapsAxes the
/// source's rows become the turned picture's columns; a mirrored source axis
/// runs backwards in the turned picture.
struct TTurnAxes {
  bool SwapsAxes = false;
  bool MirrorsSourceX = false;
  bool MirrorsSourceY = false;
};

TTurnAxes TurnAxes(TRotation rotation);

/// Width and height of a width x height picture after the turn.
void TurnedSize(TRotation rotation, int32_t width, int32_t height, int32_t* turned_width, int32_t* turned_height);

/// Writes source row `y` of a source_width x source_height picture into its
/// place in `turned`, which has the turned size.
void PlaceTurnedRow(TRotation rotation, int32_t source_width, int32_t source_height, int32_t y, const uint32_t* row,
                    TRaster& turned);

/// The raster turned by the rotation: Left a quarter turn anticlockwise,
/// Right clockwise, UpsideDown a half turn.
TRaster Turn(const TRaster& source, TRotation rotation);

}  // namespace folivant
