// The JPEG reader on arbitrary bytes, along every path the renderer takes: the
// first byte chooses the turn, the photograph's size (a copy, a reduction or an
// enlargement) and the preview's decoding scale; the rest is the file, and also
// a colour profile it might embed. Damaged files must fail with TPictureError
// and nothing else, and no picture may take more memory than the run's budget
// allows.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "generator/colorprofile.h"
#include "generator/jpegcodec.h"
#include "generator/memorybudget.h"
#include "generator/photogenerator.h"
#include "model/albumclasses.h"
#include "scratchfile.h"

namespace {

// Photo widths that make the usual fuzzed picture (a few to a few hundred
// pixels wide) reduced or enlarged.
constexpr int32_t kReducedWidth = 3;
constexpr int32_t kEnlargedWidth = 700;

void Render(const std::string& path, folivant::TRotation rotation, uint8_t size_choice) {
  folivant::TAlbum album;
  folivant::TPhotograph& photograph = album.Photographs.Add(std::make_unique<folivant::TPhotograph>());
  photograph.SetFileName(path);
  photograph.Rotation = rotation;
  folivant::TAlbumSettings& settings = album.Settings;
  if (size_choice == 0) {
    settings.PhotoSize = folivant::TPhotoSize::Original;
  } else {
    settings.PhotoWidth = size_choice == 1 ? kReducedWidth : kEnlargedWidth;
  }
  folivant::TMemoryBudget budget;
  folivant::TEncodedImage thumbnail;
  try {
    const std::optional<folivant::TEncodedImage> photo =
        folivant::TAlbumPhotoGenerator(album).RenderPhoto(0, &thumbnail, &budget);
    if (!photo || photo->Bytes.empty() || thumbnail.Bytes.empty()) std::abort();
  } catch (const folivant::TPictureError&) {
  }
}

void LoadPreview(const std::string& path, int scale_denom) {
  try {
    const folivant::TRaster raster = folivant::LoadPicture(path, scale_denom);
    if (raster.Pixels.size() != static_cast<size_t>(raster.Width) * static_cast<size_t>(raster.Height)) std::abort();
  } catch (const folivant::TPictureError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t choices = data[0];
  // ".jpg", so that the renderer decodes it.
  const std::string& path =
      folivant::fuzz::WriteScratchFile(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), ".jpg");
  Render(path, static_cast<folivant::TRotation>(choices & 3), static_cast<uint8_t>(((choices >> 2) & 3) % 3));
  LoadPreview(path, 1 << ((choices >> 4) & 3));
  folivant::TRaster pixel(1, 1);
  folivant::TSrgbConversion(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)).Apply(pixel);
  return 0;
}
