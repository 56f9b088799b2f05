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
#include "platform/filesystem.h"

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

// How much larger, each way, an image must be for a smaller one to be made
// from it rather than from the largest: enough that its own filtering adds
// no blur one would see.
constexpr int32_t kIntermediateFactor = 2;

int64_t Area(const TRaster& raster) { return int64_t{raster.Width} * raster.Height; }

// Makes each raster at `indices` (of their sizes, each within the first
// raster) from the smallest raster already made at least kIntermediateFactor
// times as large each way, else from the first: largest first, so that
// every one has its larger ones to draw on.
void MakeSmaller(std::vector<TRaster>& rasters, std::vector<size_t> indices) {
  std::vector<TSize> sizes(rasters.size());
  for (const size_t i : indices) sizes[i] = {rasters[i].Width, rasters[i].Height};
  std::sort(indices.begin(), indices.end(), [&](size_t a, size_t b) {
    return int64_t{sizes[a].Width} * sizes[a].Height > int64_t{sizes[b].Width} * sizes[b].Height;
  });
  std::vector<size_t> made{0};
  for (const size_t i : indices) {
    size_t from = 0;
    for (const size_t candidate : made)
      if (rasters[candidate].Width >= kIntermediateFactor * sizes[i].Width &&
          rasters[candidate].Height >= kIntermediateFactor * sizes[i].Height &&
          Area(rasters[candidate]) < Area(rasters[from]))
        from = candidate;
    rasters[i] = Stretch(rasters[from], sizes[i].Width, sizes[i].Height);
    made.push_back(i);
  }
}

}  // namespace

TAlbumPhotoGenerator::TAlbumPhotoGenerator(const TAlbum& album) : album_(album) {}

void TAlbumPhotoGenerator::Render(const TPhotograph& photograph, TMemoryBudget* budget,
                                  const std::function<std::vector<TImageFile>(TPictureSize turned)>& plan,
                                  bool from_first, std::vector<TImageFile>& files, TFileContent* source) const {
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

  // Resampling the large decoded picture is the dearest step, so with
  // from_first it is done once: the images that fit within the first are
  // made from that one.
  const auto made_from_first = [&](size_t i) {
    return from_first && i > 0 && sizes[i].Width <= sizes[0].Width && sizes[i].Height <= sizes[0].Height;
  };
  std::vector<TRaster> rasters(sizes.size());
  std::vector<TRaster*> targets;
  for (size_t i = 0; i < rasters.size(); ++i) {
    if (made_from_first(i)) {
      rasters[i].Width = sizes[i].Width;
      rasters[i].Height = sizes[i].Height;
      continue;
    }
    rasters[i] = TRaster(sizes[i].Width, sizes[i].Height);
    targets.push_back(&rasters[i]);
  }
  RenderTargets(reader, photograph.Rotation, targets);
  std::vector<size_t> smaller;
  for (size_t i = 0; i < rasters.size(); ++i)
    if (made_from_first(i)) smaller.push_back(i);
  MakeSmaller(rasters, smaller);
  if (source) *source = reader.ReadToEnd();
  // After resampling, so that only the pixels written are converted.
  const TSrgbConversion colours(reader.IccProfile());
  for (size_t i = 0; i < files.size(); ++i) {
    colours.Apply(rasters[i]);
    files[i].Bytes = EncodeJpeg(rasters[i], ImageFileQuality(files[i].Ending));
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
  // The classic pages' two images, whatever the album's style.
  TAlbumSettings classic = settings;
  classic.PageStyle = TPageStyle::Classic;
  std::vector<TImageFile> files;
  Render(
      photograph, budget,
      [&](TSize turned) {
        std::vector<TImageFile> plan = PlanImageFiles(classic, turned);
        if (!thumbnail) plan.pop_back();
        return plan;
      },
      false, files, nullptr);
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
  const bool modern = settings.PageStyle == TPageStyle::Modern;
  if (modern && settings.PhotoSize != TPhotoSize::Original) CheckSetting("photo height", settings.PhotoHeight);
  std::vector<TImageFile> files;
  Render(
      photograph, budget, [&](TSize turned) { return PlanImageFiles(settings, turned); }, modern, files, source);
  // Read again after the decode, which reads only as far as the picture goes.
  if (PublishesOriginal(settings)) {
    try {
      files.push_back({kOriginalEnding, {}, ReadFileBytes(photograph.FileName, kMaxOriginalBytes)});
    } catch (const TError& error) {
      throw TPictureError(error.what());  // this photograph's trouble, not the run's
    }
  }
  return files;
}

}  // namespace folivant
