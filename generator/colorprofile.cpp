#include "generator/colorprofile.h"

#include <lcms2.h>

#include <bit>
#include <cstdlib>
#include <vector>

namespace folivant {

namespace {

// A raster word's bytes as they lie in memory.
constexpr cmsUInt32Number kRasterFormat = std::endian::native == std::endian::little ? TYPE_BGRA_8 : TYPE_ARGB_8;

// The grid of colours that tells sRGB apart: every level a multiple of 15, both ends included.
constexpr uint32_t kGridStep = 15;
constexpr int kGridTolerance = 1;

bool DescribesPictures(cmsHPROFILE profile) {
  const cmsProfileClassSignature kind = cmsGetDeviceClass(profile);
  return cmsGetColorSpace(profile) == cmsSigRgbData && (kind == cmsSigInputClass || kind == cmsSigDisplayClass ||
                                                        kind == cmsSigOutputClass || kind == cmsSigColorSpaceClass);
}

cmsHTRANSFORM TransformToSrgb(std::string_view bytes) {
  cmsHPROFILE profile = cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
  if (!profile) return nullptr;
  cmsHTRANSFORM transform = nullptr;
  if (DescribesPictures(profile)) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    if (srgb) {
      transform = cmsCreateTransform(profile, kRasterFormat, srgb, kRasterFormat, INTENT_RELATIVE_COLORIMETRIC,
                                     cmsFLAGS_COPY_ALPHA);
      cmsCloseProfile(srgb);
    }
  }
  cmsCloseProfile(profile);
  return transform;
}

int Channel(uint32_t pixel, int shift) { return static_cast<int>(pixel >> shift & 0xFF); }

// Whether the transform leaves every colour of the grid within the tolerance.
bool KeepsColours(cmsHTRANSFORM transform) {
  std::vector<uint32_t> grid;
  for (uint32_t red = 0; red <= 255; red += kGridStep)
    for (uint32_t green = 0; green <= 255; green += kGridStep)
      for (uint32_t blue = 0; blue <= 255; blue += kGridStep)
        grid.push_back(kOpaqueAlpha | red << 16 | green << 8 | blue);
  std::vector<uint32_t> converted(grid.size());
  cmsDoTransform(transform, grid.data(), converted.data(), static_cast<cmsUInt32Number>(grid.size()));
  for (size_t i = 0; i < grid.size(); ++i)
    for (const int shift : {0, 8, 16})
      if (std::abs(Channel(grid[i], shift) - Channel(converted[i], shift)) > kGridTolerance) return false;
  return true;
}

}  // namespace

TSrgbConversion::TSrgbConversion(std::string_view profile) {
  if (profile.empty()) return;
  cmsHTRANSFORM transform = TransformToSrgb(profile);
  if (!transform) return;
  if (KeepsColours(transform)) {
    cmsDeleteTransform(transform);
    return;
  }
  transform_ = transform;
}

TSrgbConversion::~TSrgbConversion() {
  if (transform_) cmsDeleteTransform(transform_);
}

void TSrgbConversion::Apply(TRaster& raster) const {
  if (!transform_) return;
  for (int32_t y = 0; y < raster.Height; ++y)
    cmsDoTransform(transform_, raster.Row(y), raster.Row(y), static_cast<cmsUInt32Number>(raster.Width));
}

}  // namespace folivant
