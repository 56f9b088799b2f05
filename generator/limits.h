#pragma once

// The limits of what the program writes and offers, in one place; every
// message that names one is built from its constant here.

#include <cstdint>
#include <string>

namespace folivant {

/// The largest side, in pixels, of a picture a JPEG file holds: the limit of
/// every photo and thumbnail a run writes, and of the sizes it accepts.
inline constexpr int32_t kMaxPictureSide = 65500;
/// Pictures with more pixels than this are refused before anything large is
/// allocated, and no image a run writes is larger.
inline constexpr int64_t kMaxPicturePixels = 400'000'000;
/// The most thumbnail rows, and columns, of an index page a run accepts (an
/// album file may ask for more than the wizard offers).
inline constexpr int32_t kRunMaxThumbnailGridSide = 100;
/// The most thumbnail rows, and columns, the wizard's up-down controls offer.
inline constexpr int32_t kWizardMaxThumbnailGridSide = 25;

/// kMaxPicturePixels in words: "400 megapixels".
inline std::string MaxPicturePixelsText() { return std::to_string(kMaxPicturePixels / 1'000'000) + " megapixels"; }

}  // namespace folivant
