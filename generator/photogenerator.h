#pragma once

#include <optional>
#include <string>

#include "generator/memorybudget.h"
#include "model/albumclasses.h"

namespace folivant {

/// The JPEG qualities of a photograph's image and of its thumbnail.
inline constexpr int kPhotoQuality = 85;
inline constexpr int kThumbnailQuality = 65;

/// The bytes of one JPEG file, written to disk unchanged.
struct TEncodedImage {
  std::string Bytes;
};

/// Turns one photograph into its web-size JPEG and its thumbnail. Reads only
/// the album, so several photographs may be rendered on several threads.
class TAlbumPhotoGenerator {
 public:
  explicit TAlbumPhotoGenerator(const TAlbum& album);

  /// The photograph at `index` decoded, turned by its rotation and scaled to the
  /// photo width; when `thumbnail` is given it receives the thumbnail. Nothing
  /// (and `thumbnail` untouched) for a missing photograph. The memory it needs
  /// is reserved from `budget` (shared with other threads; waits while they
  /// hold too much), or checked against kRunMemoryBudget when there is none.
  /// Throws TPictureError when the photograph's file cannot be read, decoded or
  /// fitted into memory, TError on settings below 1 pixel.
  std::optional<TEncodedImage> RenderPhoto(int index, TEncodedImage* thumbnail, TMemoryBudget* budget = nullptr) const;

 private:
  const TAlbum& album_;
};

}  // namespace folivant
