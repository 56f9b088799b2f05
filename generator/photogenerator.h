#pragma once

#include <optional>
#include <string>

#include "model/albumclasses.h"

namespace folivant {

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
  /// (and `thumbnail` untouched) for a missing photograph. Throws TError with
  /// the decoder's message.
  std::optional<TEncodedImage> RenderPhoto(int index, TEncodedImage* thumbnail) const;

 private:
  const TAlbum& album_;
};

}  // namespace folivant
