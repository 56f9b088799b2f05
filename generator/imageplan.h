#pragma once

// Which image files a photograph gets in each page style, and their sizes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/albumclasses.h"

namespace folivant {

/// A picture's size in pixels.
struct TPictureSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TPictureSize&) const = default;
};

/// What follows the web name in the name of each image file: the photograph
/// and its thumbnail in every style. "@" and "-" never occur in a web name, so
/// no name of one photograph meets a name of another.
inline constexpr std::string_view kPhotoEnding = ".jpg";
inline constexpr std::string_view kThumbnailEnding = "_small.jpg";
/// Modern thumbnails at twice and three times their height, for sharp screens.
inline constexpr std::string_view kThumbnailDoubleEnding = "_small@2x.jpg";
inline constexpr std::string_view kThumbnailTripleEnding = "_small@3x.jpg";
/// The copy of the photograph's own file that modern pages offer for download.
inline constexpr std::string_view kOriginalEnding = "-original.jpg";

/// One width of the modern photographs' ladder and the ending of its file.
struct TLadderStep {
  int32_t Width;
  std::string_view Ending;
};

/// The widths a modern photograph is also published at, narrower than its
/// largest image, so that each screen loads the smallest that is sharp there.
/// Each is at most kLadderStepFactor times the one below it. The widths are
/// chosen so that from each size the wizard offers (1280, 1920, 2560) the
/// steps stay near 1.6: smaller steps cost more pictures to make and encode
/// and serve no screen better.
inline constexpr TLadderStep kPhotoLadder[] = {{480, "@480w.jpg"},   {625, "@625w.jpg"},   {800, "@800w.jpg"},
                                               {1000, "@1000w.jpg"}, {1200, "@1200w.jpg"}, {1600, "@1600w.jpg"},
                                               {2560, "@2560w.jpg"}, {4096, "@4096w.jpg"}, {6400, "@6400w.jpg"}};
/// The largest ratio between two neighbouring widths a photograph is offered
/// at: a screen then never loads more than 1.7 times the pixels it shows.
inline constexpr double kLadderStepFactor = 1.7;
/// The narrowest a photograph is laid out across a screen (a small phone's
/// width, at one device pixel a CSS pixel): a photograph offered at most
/// kLadderStepFactor times as wide as this needs no narrower width.
inline constexpr int32_t kNarrowestPhotoSlot = 375;
/// Modern index rows are this many times the album's thumbnail height.
inline constexpr int32_t kModernRowFactor = 2;
/// A modern thumbnail is at most this many times as wide as it is high
/// (panoramas beyond are made lower instead).
inline constexpr int32_t kModernThumbnailMaxAspect = 8;

/// The JPEG qualities of a photograph's images and of its thumbnails.
inline constexpr int kPhotoQuality = 85;
inline constexpr int kThumbnailQuality = 65;

/// Every image file a photograph may get in `style`, by its ending: the
/// photograph and its thumbnail, in the modern style also every width of the
/// ladder, the thumbnail's larger copies and the original.
std::vector<std::string_view> ImageFileEndings(TPageStyle style);

/// The JPEG quality the file with `ending` is written with.
int ImageFileQuality(std::string_view ending);

/// Whether a photograph's own file is published beside its images, under
/// kOriginalEnding: modern albums that offer the originals for download.
bool PublishesOriginal(const TAlbumSettings& settings);

/// The largest photograph file a run copies for download.
inline constexpr size_t kMaxOriginalBytes = size_t{1} << 30;

/// One image file of a photograph: its ending, its size, and its bytes once rendered.
struct TImageFile {
  std::string_view Ending;
  TPictureSize Size;
  std::string Bytes;
};

/// The image files of a photograph whose turned picture is `turned`, in the
/// album's page style, the photograph's own image first and its thumbnail
/// second; bytes stay empty.
/// Classic: the photograph at the photo width (enlarged when it is smaller)
/// and the thumbnail fitted into the thumbnail size.
/// Modern: never an enlargement. The photograph fitted into the photo size
/// (or at its own size for Original), then each width of kPhotoLadder that
/// keeps the steps from the largest down within kLadderStepFactor; the
/// thumbnail kModernRowFactor times the thumbnail height high (lower for a
/// picture that is not as high, or wider than kModernThumbnailMaxAspect), and
/// its copies at twice and three times that where the picture holds them.
/// Throws TPictureError when an image would be larger than a JPEG file holds.
std::vector<TImageFile> PlanImageFiles(const TAlbumSettings& settings, TPictureSize turned);

}  // namespace folivant
