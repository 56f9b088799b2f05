#pragma once

// What a photograph's image files are called and what their bytes depend on.
// A page style that gives photographs more images adds their names and the
// settings they depend on here, and nowhere else.

#include <cstdint>
#include <string>
#include <vector>

#include "model/albumclasses.h"

namespace folivant {

/// Raise it with every change to the renderer that alters the bytes of any
/// image it writes, so that images an earlier version wrote are rendered again.
inline constexpr int kRendererVersion = 1;

/// The names of a photograph's image files in the output folder, in the order
/// a run writes them: its image for the photo page, then its thumbnail. Web
/// names must have been assigned.
std::vector<std::string> PhotographImageNames(const TAlbumSettings& settings, const TPhotograph& photograph);

/// Everything the bytes of a photograph's image files depend on, as one text:
/// the renderer's version and qualities, the photo width (or its own size) and
/// the thumbnail size, the rotation, and the source file's size and
/// ContentFingerprint. Files rendered under equal keys are equal, byte for byte.
std::string ImageInputsKey(const TAlbumSettings& settings, const TPhotograph& photograph, uint64_t source_size,
                           const std::string& source_fingerprint);

}  // namespace folivant
