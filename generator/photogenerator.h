#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/memorybudget.h"
#include "model/albumclasses.h"
#include "platform/fileidentity.h"

namespace folivant {

/// The JPEG qualities of a photograph's image and of its thumbnail.
inline constexpr int kPhotoQuality = 85;
inline constexpr int kThumbnailQuality = 65;

/// The bytes of one JPEG file, written to disk unchanged.
struct TEncodedImage {
  std::string Bytes;
};

/// A picture's size in pixels.
struct TPictureSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TPictureSize&) const = default;
};

/// What follows the web name in the name of each image file: the photograph,
/// its thumbnail, and the copies at twice their size that modern pages offer
/// to sharp screens. "@" never occurs in a web name, so no name meets another.
inline constexpr std::string_view kPhotoEnding = ".jpg";
inline constexpr std::string_view kThumbnailEnding = "_small.jpg";
inline constexpr std::string_view kPhotoDoubleEnding = "@2x.jpg";
inline constexpr std::string_view kThumbnailDoubleEnding = "_small@2x.jpg";

/// Every image file a photograph may get in `style`, by its ending: the
/// photograph and its thumbnail, in the modern style also their double copies.
std::vector<std::string_view> ImageFileEndings(TPageStyle style);

/// One image file of a photograph: its ending, its size, and its bytes once rendered.
struct TImageFile {
  std::string_view Ending;
  TPictureSize Size;
  std::string Bytes;
};

/// The image files of a photograph whose turned picture is `turned`, in the
/// album's page style: the photograph and its thumbnail, and for modern pages
/// each also at twice its size when the picture is big enough for that (a
/// double copy is never an enlargement, and never beyond what a JPEG file
/// holds). Bytes stay empty. Throws TPictureError when the photograph or its
/// thumbnail would be too large.
std::vector<TImageFile> PlanImageFiles(const TAlbumSettings& settings, TPictureSize turned);

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
  /// them, decoded once; empty for a missing photograph. When `source` is
  /// given it receives the content of the file as it was read for decoding,
  /// its fingerprint included, so the file is read once. Throws as RenderPhoto.
  std::vector<TImageFile> RenderImageFiles(int index, TMemoryBudget* budget = nullptr,
                                           TFileContent* source = nullptr) const;

 private:
  /// Decodes the photograph once and renders a raster of each size that
  /// `plan` gives it (the decoder's size for the reader), then encodes each;
  /// reads the rest of the file into `source` when given.
  void Render(const TPhotograph& photograph, TMemoryBudget* budget,
              const std::function<std::vector<TImageFile>(TPictureSize turned)>& plan, std::vector<TImageFile>& files,
              TFileContent* source) const;

  const TAlbum& album_;
};

}  // namespace folivant
