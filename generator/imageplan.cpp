#include "generator/imageplan.h"

#include <algorithm>
#include <optional>

#include "generator/jpegcodec.h"
#include "generator/limits.h"

namespace folivant {

namespace {

using TSize = TPictureSize;

// A side that rounds to 0 (an extremely elongated picture) becomes 1 pixel, so
// that a real picture is always written.
TSize CheckedTarget(const char* what, int64_t width, int64_t height) {
  width = std::max<int64_t>(width, 1);
  height = std::max<int64_t>(height, 1);
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    throw TPictureError(std::string("The ") + what + " would be " + std::to_string(width) + " x " +
                        std::to_string(height) + " pixels; the largest possible is " + std::to_string(kMaxPictureSide) +
                        " pixels a side and " + MaxPicturePixelsText());
  }
  return {static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

// The sizes multiply in 64 bits, so no setting overflows them.
TSize PhotoTarget(const TAlbumSettings& settings, TSize turned) {
  if (settings.PhotoSize == TPhotoSize::Original) return turned;
  const int64_t photo_width = settings.PhotoWidth;
  return CheckedTarget("photo", photo_width, photo_width * turned.Height / turned.Width);
}

// A portrait fits the thumbnail height, a landscape or square the thumbnail width.
TSize ThumbnailTarget(const TAlbumSettings& settings, TSize turned) {
  const int64_t thumb_width = settings.ThumbWidth;
  const int64_t thumb_height = settings.ThumbHeight;
  if (turned.Height > turned.Width)
    return CheckedTarget("thumbnail", thumb_height * turned.Width / turned.Height, thumb_height);
  return CheckedTarget("thumbnail", thumb_width, thumb_width * turned.Height / turned.Width);
}

// The picture scaled to fit a box of width x height, whatever its own size.
TSize Fitted(const char* what, TSize picture, int64_t width, int64_t height) {
  if (int64_t{picture.Width} * height >= int64_t{picture.Height} * width)
    return CheckedTarget(what, width, width * picture.Height / picture.Width);
  return CheckedTarget(what, height * picture.Width / picture.Height, height);
}

bool Holds(TSize picture, TSize size) { return size.Width <= picture.Width && size.Height <= picture.Height; }

// Fitted into the box, but never larger than the picture itself.
TSize FittedWithin(const char* what, TSize picture, int64_t width, int64_t height) {
  if (picture.Width <= width && picture.Height <= height) return picture;
  return Fitted(what, picture, width, height);
}

TSize ModernPhoto(const TAlbumSettings& settings, TSize turned) {
  if (settings.PhotoSize == TPhotoSize::Original) return CheckedTarget("photo", turned.Width, turned.Height);
  return FittedWithin("photo", turned, settings.PhotoWidth, settings.PhotoHeight);
}

// The thumbnail at `times` its height, when the picture holds that much.
std::optional<TSize> ModernThumbnail(const TAlbumSettings& settings, TSize turned, int32_t times) {
  const int64_t height = int64_t{settings.ThumbHeight} * kModernRowFactor * times;
  const int64_t width = height * kModernThumbnailMaxAspect;
  if (times == 1) return FittedWithin("thumbnail", turned, width, height);
  try {
    const TSize size = Fitted("thumbnail", turned, width, height);
    if (Holds(turned, size)) return size;
  } catch (const TPictureError&) {
  }
  return std::nullopt;
}

// From the largest width down, each next width the smallest of the ladder
// within the step factor (or, beyond the ladder's reach, its largest below),
// until the narrowest slot is served within the factor.
std::vector<TLadderStep> LadderBelow(int32_t largest) {
  std::vector<TLadderStep> steps;
  int32_t current = largest;
  while (current > kNarrowestPhotoSlot * kLadderStepFactor) {
    const TLadderStep* next = nullptr;
    for (const TLadderStep& step : kPhotoLadder) {
      if (step.Width >= current) break;
      next = &step;
      if (step.Width * kLadderStepFactor >= current) break;
    }
    if (!next) break;
    steps.insert(steps.begin(), *next);
    current = next->Width;
  }
  return steps;
}

void PlanModernImages(const TAlbumSettings& settings, TSize turned, std::vector<TImageFile>& files) {
  const TSize photo = files.front().Size;
  for (const TLadderStep& step : LadderBelow(photo.Width)) {
    const int64_t height = std::max<int64_t>(int64_t{step.Width} * photo.Height / photo.Width, 1);
    files.push_back({step.Ending, {step.Width, static_cast<int32_t>(height)}, {}});
  }
  if (const std::optional<TSize> size = ModernThumbnail(settings, turned, 2))
    files.push_back({kThumbnailDoubleEnding, *size, {}});
  else
    return;
  if (const std::optional<TSize> size = ModernThumbnail(settings, turned, 3))
    files.push_back({kThumbnailTripleEnding, *size, {}});
}

}  // namespace

std::vector<std::string_view> ImageFileEndings(TPageStyle style) {
  std::vector<std::string_view> endings{kPhotoEnding, kThumbnailEnding};
  if (style != TPageStyle::Modern) return endings;
  for (const TLadderStep& step : kPhotoLadder) endings.push_back(step.Ending);
  endings.push_back(kThumbnailDoubleEnding);
  endings.push_back(kThumbnailTripleEnding);
  endings.push_back(kOriginalEnding);
  return endings;
}

bool PublishesOriginal(const TAlbumSettings& settings) {
  return settings.PageStyle == TPageStyle::Modern && settings.OriginalDownloads;
}

int ImageFileQuality(std::string_view ending) {
  const bool thumbnail =
      ending == kThumbnailEnding || ending == kThumbnailDoubleEnding || ending == kThumbnailTripleEnding;
  return thumbnail ? kThumbnailQuality : kPhotoQuality;
}

std::vector<TImageFile> PlanImageFiles(const TAlbumSettings& settings, TPictureSize turned) {
  if (settings.PageStyle != TPageStyle::Modern)
    return {{kPhotoEnding, PhotoTarget(settings, turned), {}},
            {kThumbnailEnding, ThumbnailTarget(settings, turned), {}}};
  std::vector<TImageFile> files{{kPhotoEnding, ModernPhoto(settings, turned), {}},
                                {kThumbnailEnding, *ModernThumbnail(settings, turned, 1), {}}};
  PlanModernImages(settings, turned, files);
  return files;
}

}  // namespace folivant
