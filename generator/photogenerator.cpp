#include "generator/photogenerator.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "generator/colorprofile.h"
#include "generator/jpegcodec.h"
#include "generator/limits.h"
#include "generator/raster.h"
#include "generator/resampler.h"
#include "generator/rotation.h"
#include "platform/error.h"

namespace folivant {

namespace {

// Decoded rows handed on at once: enough to keep libjpeg's calls few, few
// enough to stay in the cache while the resamplers read them.
constexpr int32_t kDecodeBatch = 8;

using TSize = TPictureSize;

// Sizes below 1 come only from a hand-edited album file.
void CheckSetting(const char* name, int32_t value) {
  if (value < 1) {
    throw TError(std::string("The album's ") + name + " must be at least 1 pixel, not " + std::to_string(value));
  }
}

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
TSize PhotoTarget(const TAlbumSettings& settings, int32_t width, int32_t height) {
  if (settings.PhotoSize == TPhotoSize::Original) return {width, height};
  const int64_t photo_width = settings.PhotoWidth;
  return CheckedTarget("photo", photo_width, photo_width * height / width);
}

// A portrait fits the thumbnail height, a landscape or square the thumbnail width.
TSize ThumbnailTarget(const TAlbumSettings& settings, int32_t width, int32_t height) {
  const int64_t thumb_width = settings.ThumbWidth;
  const int64_t thumb_height = settings.ThumbHeight;
  if (height > width) return CheckedTarget("thumbnail", thumb_height * width / height, thumb_height);
  return CheckedTarget("thumbnail", thumb_width, thumb_width * height / width);
}

// Bytes per source row and column that a tent filter keeps in its tables and sums.
constexpr int64_t kTentBytesPerSourceLine = 256;

// What rendering holds besides the decoder: the decoded rows, every target
// raster and its encoded file, the tables and sums of each tent filter, and
// the whole turned picture when a target is a copy or an enlargement.
int64_t RenderMemory(int32_t width, int32_t height, TSize turned, const std::vector<TSize>& targets) {
  int64_t bytes = int64_t{width} * kDecodeBatch * 4;
  bool needs_turned = false;
  for (const TSize& target : targets) {
    bytes += int64_t{target.Width} * target.Height * 5;
    if (StretchMethod(turned.Width, turned.Height, target.Width, target.Height) == TStretchMethod::Tent)
      bytes += (int64_t{width} + height) * kTentBytesPerSourceLine;
    else
      needs_turned = true;
  }
  if (needs_turned) bytes += int64_t{width} * height * 4;
  return bytes;
}

// Decodes the picture once and makes every target from it. Tent-filtered
// targets take the decoded rows as they come, turned on the way, so the whole
// picture is held only when a target needs it (a copy or a bilinear enlargement).
void RenderTargets(TJpegReader& reader, TRotation rotation, const std::vector<TRaster*>& targets) {
  int32_t turned_width = 0;
  int32_t turned_height = 0;
  TurnedSize(rotation, reader.Width(), reader.Height(), &turned_width, &turned_height);
  std::vector<std::unique_ptr<TTentResampler>> resamplers;
  std::vector<TRaster*> from_turned;
  for (TRaster* target : targets) {
    if (StretchMethod(turned_width, turned_height, target->Width, target->Height) == TStretchMethod::Tent) {
      resamplers.push_back(std::make_unique<TTentResampler>(reader.Width(), reader.Height(), rotation, *target));
    } else {
      from_turned.push_back(target);
    }
  }
  TRaster turned = from_turned.empty() ? TRaster() : TRaster(turned_width, turned_height);

  std::vector<uint32_t> rows(static_cast<size_t>(reader.Width()) * kDecodeBatch);
  int32_t y = 0;
  while (const int32_t read = reader.ReadRows(rows.data(), kDecodeBatch)) {
    for (int32_t r = 0; r < read; ++r, ++y) {
      const uint32_t* row = rows.data() + static_cast<size_t>(r) * static_cast<size_t>(reader.Width());
      for (const auto& resampler : resamplers) resampler->AddRow(row);
      if (!from_turned.empty()) PlaceTurnedRow(rotation, reader.Width(), reader.Height(), y, row, turned);
    }
  }
  // Targets of the turned picture's own size go last; the final one takes the picture itself.
  std::stable_partition(from_turned.begin(), from_turned.end(), [&](const TRaster* target) {
    return target->Width != turned_width || target->Height != turned_height;
  });
  TRaster* taker = nullptr;
  if (!from_turned.empty() && from_turned.back()->Width == turned_width &&
      from_turned.back()->Height == turned_height) {
    taker = from_turned.back();
    from_turned.pop_back();
  }
  for (TRaster* target : from_turned) *target = Stretch(turned, target->Width, target->Height);
  if (taker) *taker = std::move(turned);
}

// The double of a photograph that is not Original, when the picture holds it.
std::optional<TSize> PhotoDouble(const TAlbumSettings& settings, TSize turned) {
  if (settings.PhotoSize == TPhotoSize::Original) return std::nullopt;
  const int64_t width = int64_t{settings.PhotoWidth} * 2;
  const int64_t height = width * turned.Height / turned.Width;
  if (width > turned.Width || height > turned.Height || width > kMaxPictureSide || height > kMaxPictureSide ||
      width * height > kMaxPicturePixels)
    return std::nullopt;
  return TSize{static_cast<int32_t>(width), static_cast<int32_t>(std::max<int64_t>(height, 1))};
}

std::optional<TSize> ThumbnailDouble(const TAlbumSettings& settings, TSize turned) {
  TAlbumSettings doubled = settings;
  doubled.ThumbWidth = static_cast<int32_t>(std::min<int64_t>(int64_t{settings.ThumbWidth} * 2, kMaxPictureSide + 1));
  doubled.ThumbHeight = static_cast<int32_t>(std::min<int64_t>(int64_t{settings.ThumbHeight} * 2, kMaxPictureSide + 1));
  try {
    const TSize size = ThumbnailTarget(doubled, turned.Width, turned.Height);
    if (size.Width > turned.Width || size.Height > turned.Height) return std::nullopt;
    return size;
  } catch (const TPictureError&) {
    return std::nullopt;
  }
}

int Quality(std::string_view ending) {
  return ending == kThumbnailEnding || ending == kThumbnailDoubleEnding ? kThumbnailQuality : kPhotoQuality;
}

}  // namespace

std::vector<std::string_view> ImageFileEndings(TPageStyle style) {
  if (style == TPageStyle::Modern) return {kPhotoEnding, kThumbnailEnding, kPhotoDoubleEnding, kThumbnailDoubleEnding};
  return {kPhotoEnding, kThumbnailEnding};
}

std::vector<TImageFile> PlanImageFiles(const TAlbumSettings& settings, TPictureSize turned) {
  std::vector<TImageFile> files{{kPhotoEnding, PhotoTarget(settings, turned.Width, turned.Height), {}},
                                {kThumbnailEnding, ThumbnailTarget(settings, turned.Width, turned.Height), {}}};
  if (settings.PageStyle != TPageStyle::Modern) return files;
  if (const std::optional<TSize> size = PhotoDouble(settings, turned)) files.push_back({kPhotoDoubleEnding, *size, {}});
  if (const std::optional<TSize> size = ThumbnailDouble(settings, turned))
    files.push_back({kThumbnailDoubleEnding, *size, {}});
  return files;
}

TAlbumPhotoGenerator::TAlbumPhotoGenerator(const TAlbum& album) : album_(album) {}

void TAlbumPhotoGenerator::Render(const TPhotograph& photograph, TMemoryBudget* budget,
                                  const std::function<std::vector<TImageFile>(TPictureSize turned)>& plan,
                                  std::vector<TImageFile>& files, TFileContent* source) const {
  CheckPictureExtension(photograph.FileName);
  TJpegReader reader(photograph.FileName);
  TSize turned{};
  TurnedSize(photograph.Rotation, reader.Width(), reader.Height(), &turned.Width, &turned.Height);
  files = plan(turned);
  std::vector<TSize> sizes;
  sizes.reserve(files.size());
  for (const TImageFile& file : files) sizes.push_back(file.Size);
  TMemoryBudget alone;
  const TMemoryBudget::TReservation reservation =
      (budget ? *budget : alone)
          .Reserve(reader.DecodeMemory() + RenderMemory(reader.Width(), reader.Height(), turned, sizes),
                   "to decode and render");

  std::vector<TRaster> rasters;
  rasters.reserve(sizes.size());
  for (const TSize& size : sizes) rasters.emplace_back(size.Width, size.Height);
  std::vector<TRaster*> targets;
  targets.reserve(rasters.size());
  for (TRaster& raster : rasters) targets.push_back(&raster);
  RenderTargets(reader, photograph.Rotation, targets);
  if (source) *source = reader.ReadToEnd();
  // After resampling, so that only the pixels written are converted.
  const TSrgbConversion colours(reader.IccProfile());
  for (size_t i = 0; i < files.size(); ++i) {
    colours.Apply(rasters[i]);
    files[i].Bytes = EncodeJpeg(rasters[i], Quality(files[i].Ending));
  }
}

std::optional<TEncodedImage> TAlbumPhotoGenerator::RenderPhoto(int index, TEncodedImage* thumbnail,
                                                               TMemoryBudget* budget) const {
  const TPhotograph& photograph = album_.Photographs[index];
  if (photograph.Missing()) return std::nullopt;
  const TAlbumSettings& settings = album_.Settings;
  if (settings.PhotoSize != TPhotoSize::Original) CheckSetting("photo width", settings.PhotoWidth);
  if (thumbnail) {
    CheckSetting("thumbnail width", settings.ThumbWidth);
    CheckSetting("thumbnail height", settings.ThumbHeight);
  }
  std::vector<TImageFile> files;
  Render(
      photograph, budget,
      [&](TSize turned) {
        std::vector<TImageFile> plan{{kPhotoEnding, PhotoTarget(settings, turned.Width, turned.Height), {}}};
        if (thumbnail) plan.push_back({kThumbnailEnding, ThumbnailTarget(settings, turned.Width, turned.Height), {}});
        return plan;
      },
      files, nullptr);
  if (thumbnail) thumbnail->Bytes = std::move(files[1].Bytes);
  return TEncodedImage{std::move(files[0].Bytes)};
}

std::vector<TImageFile> TAlbumPhotoGenerator::RenderImageFiles(int index, TMemoryBudget* budget,
                                                               TFileContent* source) const {
  const TPhotograph& photograph = album_.Photographs[index];
  if (photograph.Missing()) return {};
  const TAlbumSettings& settings = album_.Settings;
  if (settings.PhotoSize != TPhotoSize::Original) CheckSetting("photo width", settings.PhotoWidth);
  CheckSetting("thumbnail width", settings.ThumbWidth);
  CheckSetting("thumbnail height", settings.ThumbHeight);
  std::vector<TImageFile> files;
  Render(
      photograph, budget, [&](TSize turned) { return PlanImageFiles(settings, turned); }, files, source);
  return files;
}

}  // namespace folivant
