#pragma once

// The wizard's choices that the pages of only one page style use.

#include "model/albumclasses.h"

namespace folivant {

/// A choice of the wizard that only one page style's pages use.
enum class TStyleChoice {
  NavigationPlace,  ///< the navigation links above or below the photograph
  CameraData,
  Downloads,  ///< the zip of the album and the photographs' own files
  WebAddress,
};

/// Whether the pages of `style` use `choice`. The wizard disables the
/// controls of a choice the album's style does not use and keeps their values
/// for the other style.
bool StyleUsesChoice(TPageStyle style, TStyleChoice choice);

}  // namespace folivant
