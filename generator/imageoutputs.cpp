#include "generator/imageoutputs.h"

#include "generator/photogenerator.h"

namespace folivant {

std::vector<std::string> PhotographImageNames(const TAlbumSettings&, const TPhotograph& photograph) {
  return {photograph.WebName + ".jpg", photograph.WebName + "_small.jpg"};
}

std::string ImageInputsKey(const TAlbumSettings& settings, const TPhotograph& photograph, uint64_t source_size,
                           const std::string& source_fingerprint) {
  // Only what the renderer reads: "medium" and a custom width of the same
  // pixels give the same image.
  const std::string width =
      settings.PhotoSize == TPhotoSize::Original ? "original" : std::to_string(settings.PhotoWidth);
  return "renderer " + std::to_string(kRendererVersion) + "; quality " + std::to_string(kPhotoQuality) + "/" +
         std::to_string(kThumbnailQuality) + "; photo " + width + "; thumbnail " + std::to_string(settings.ThumbWidth) +
         "x" + std::to_string(settings.ThumbHeight) + "; rotation " + RotationToText(photograph.Rotation) +
         "; source " + std::to_string(source_size) + " bytes " + source_fingerprint;
}

}  // namespace folivant
