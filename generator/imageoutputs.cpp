#include "generator/imageoutputs.h"

#include "generator/jpegcodec.h"
#include "generator/rotation.h"

namespace folivant {

std::vector<TImageFile> ExpectedImageFiles(const TAlbumSettings& settings, const TPhotograph& photograph) {
  // Classic pages never name the sizes, so a re-run reads no classic photograph.
  if (settings.PageStyle == TPageStyle::Classic) {
    std::vector<TImageFile> files;
    for (const std::string_view ending : ImageFileEndings(settings.PageStyle)) files.push_back({ending, {}, {}});
    return files;
  }
  const TJpegReader reader(photograph.FileName);
  TPictureSize turned;
  TurnedSize(photograph.Rotation, reader.Width(), reader.Height(), &turned.Width, &turned.Height);
  std::vector<TImageFile> files = PlanImageFiles(settings, turned);
  if (PublishesOriginal(settings)) files.push_back({kOriginalEnding, {}, {}});
  return files;
}

std::string ImageInputsKey(const TAlbumSettings& settings, const TPhotograph& photograph, uint64_t source_size,
                           const std::string& source_fingerprint) {
  // Only what the renderer reads: "medium" and a custom width of the same
  // pixels give the same image. The fingerprint comes last, where
  // KeyFingerprint finds it.
  // Modern photographs fit the whole photo size, so its height counts there,
  // and the modern images have a version of their own, so that changing
  // them renders no classic album again.
  const bool modern = settings.PageStyle == TPageStyle::Modern;
  std::string photo = settings.PhotoSize == TPhotoSize::Original ? "original" : std::to_string(settings.PhotoWidth);
  if (modern && settings.PhotoSize != TPhotoSize::Original) photo += "x" + std::to_string(settings.PhotoHeight);
  std::string style = PageStyleToText(settings.PageStyle);
  if (modern) style += " " + std::to_string(kModernImagesVersion);
  // The original is written with the images, so that a re-run knows it there too.
  if (PublishesOriginal(settings)) style += " with original";
  return "renderer " + std::to_string(kRendererVersion) + "; quality " + std::to_string(kPhotoQuality) + "/" +
         std::to_string(kThumbnailQuality) + "; photo " + photo + "; thumbnail " + std::to_string(settings.ThumbWidth) +
         "x" + std::to_string(settings.ThumbHeight) + "; style " + style + "; rotation " +
         RotationToText(photograph.Rotation) + "; source " + std::to_string(source_size) + " bytes " +
         source_fingerprint;
}

std::string KeyFingerprint(const std::string& key) { return key.substr(key.rfind(' ') + 1); }

}  // namespace folivant
