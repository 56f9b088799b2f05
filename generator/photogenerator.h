#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/imageplan.h"
#include "generator/memorybudget.h"
#include "model/albumclasses.h"
#include "platform/fileidentity.h"

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
  /// (and `thumbnail` untouched) for a missing photograph. The memory it needs
  /// is reserved from `budget` (shared with other threads; waits while they
  /// hold too much), or checked against kRunMemoryBudget when there is none.
  /// Throws TPictureError when the photograph's file cannot be read, decoded or
  /// fitted into memory, TError on settings below 1 pixel.
  std::optional<TEncodedImage> RenderPhoto(int index, TEncodedImage* thumbnail, TMemoryBudget* budget = nullptr) const;
  /// Every image file of the photograph at `index` as PlanImageFiles names
  /// them, decoded once, and a copy of its file when PublishesOriginal (its
  /// size left 0 x 0); empty for a missing photograph. When `source` is
  /// given it receives the content of the file as it was read for decoding,
  /// its fingerprint included, so the file is read once. Throws as RenderPhoto.
  std::vector<TImageFile> RenderImageFiles(int index, TMemoryBudget* budget = nullptr,
                                           TFileContent* source = nullptr) const;

 private:
  /// Decodes the photograph once and renders a raster of each size that
  /// `plan` gives it (the decoder's size for the reader), then encodes each;
  /// with `from_first` the images that fit within the first are made from the
  /// first rather than from the decoded picture. Reads the rest of the file
  /// into `source` when given.
  void Render(const TPhotograph& photograph, TMemoryBudget* budget,
              const std::function<std::vector<TImageFile>(TPictureSize turned)>& plan, bool from_first,
              std::vector<TImageFile>& files, TFileContent* source) const;

  const TAlbum& album_;
};

}  // namespace folivant
