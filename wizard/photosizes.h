#pragma once

// The photo sizes the wizard's photo page offers, by page style.

#include <cstdint>
#include <vector>

#include "model/albumclasses.h"

namespace folivant {

/// One entry of the photo size list: the kind and the pixel box it sets.
struct TPhotoSizeChoice {
  TPhotoSize Size;
  int32_t Width;
  int32_t Height;
  bool operator==(const TPhotoSizeChoice&) const = default;
};

/// The list's entries in the album's page style, in order. Classic: Small,
/// Medium, Large, Custom and Original at their standard sizes. Modern: a box
/// of each of kModernPhotoSides and Original, then the album's own size when
/// it is none of them, so that the list shows what the album holds.
std::vector<TPhotoSizeChoice> PhotoSizeChoices(const TAlbumSettings& settings);

/// The entry of PhotoSizeChoices that the album holds (in the classic list by
/// kind alone, as album files may hold any custom size), or -1.
int PhotoSizeChoiceIndex(const TAlbumSettings& settings);

/// Sets the entry's size: a classic kind (and Original) at its standard size,
/// any other entry at its own box.
void ApplyPhotoSizeChoice(TAlbumSettings& settings, const TPhotoSizeChoice& choice);

}  // namespace folivant
