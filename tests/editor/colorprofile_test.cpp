// Photographs that embed a colour profile, converted to sRGB as LittleCMS's own
// jpgicc converts them, and photographs without one (or with sRGB) untouched.
#include "generator/colorprofile.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "editor/thumbnails.h"
#include "generator/jpegcodec.h"
#include "generator/photogenerator.h"
#include "jpegbuilder.h"
#include "photofiles.h"
#include "testutil.h"

namespace folivant {
namespace {

constexpr char kAdobeRgb[] = "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc";
constexpr char kSrgb[] = "/usr/share/color/icc/sRGB.icc";

// Flat patches, each 32 pixels square, four to a row: primaries and
// secondaries that sRGB still holds after the conversion, a grey and a skin tone.
constexpr std::array<uint32_t, 8> kPatches = {0x40A040, 0xA04040, 0x4040A0, 0x40A0A0,
                                              0xA040A0, 0xA0A040, 0x808080, 0xE0A080};
constexpr int32_t kPatch = 32;

std::string PatchPhoto(const test::TTempDir& dir, const std::string& name) {
  TRaster raster(4 * kPatch, 2 * kPatch);
  for (int32_t y = 0; y < raster.Height; ++y)
    for (int32_t x = 0; x < raster.Width; ++x)
      raster.At(x, y) = kOpaqueAlpha | kPatches[static_cast<size_t>(y / kPatch * 4 + x / kPatch)];
  return dir.Write(name, EncodeJpeg(raster, 95));
}

// The mean of each channel over the middle half of each patch, of a picture of
// the patch photograph at any scale.
std::vector<std::array<double, 3>> PatchMeans(const TRaster& picture) {
  const int32_t side = picture.Width / 4;
  std::vector<std::array<double, 3>> means;
  for (size_t patch = 0; patch < kPatches.size(); ++patch) {
    std::array<double, 3> sum{};
    int count = 0;
    const int32_t left = static_cast<int32_t>(patch % 4) * side, top = static_cast<int32_t>(patch / 4) * side;
    for (int32_t y = top + side / 4; y < top + side * 3 / 4; ++y) {
      for (int32_t x = left + side / 4; x < left + side * 3 / 4; ++x, ++count) {
        for (int c = 0; c < 3; ++c) sum[static_cast<size_t>(c)] += picture.At(x, y) >> (16 - 8 * c) & 0xFF;
      }
    }
    for (double& channel : sum) channel /= count;
    means.push_back(sum);
  }
  return means;
}

// The bytes of the published photograph at its own size.
std::string PublishedBytes(const std::string& path) {
  TAlbum album;
  album.Settings.SetPhotoSize(TPhotoSize::Original);
  album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
  return TAlbumPhotoGenerator(album).RenderPhoto(0, nullptr)->Bytes;
}

TEST(ColourProfile, ConvertsAnAdobeRgbPhotographAsJpgiccDoesWhereverItIsShown) {
  test::TTempDir dir;
  const std::string tagged = PatchPhoto(dir, "adobe.jpg");
  ASSERT_NO_FATAL_FAILURE(test::TagWithExiftool(tagged, {std::string("-ICC_Profile<=") + kAdobeRgb}));
  const std::string reference = dir.File("jpgicc.jpg");
  const test::TCommandResult jpgicc = test::RunCommand("jpgicc -t1 -q100 '" + tagged + "' '" + reference + "'");
  ASSERT_EQ(jpgicc.status, 0) << "jpgicc (liblcms2-utils, tools/bootstrap installs it): " << jpgicc.output;
  const auto expected = PatchMeans(LoadPicture(reference));
  const auto untagged = PatchMeans(LoadPicture(PatchPhoto(dir, "plain.jpg")));
  // Adobe RGB's greens lie far outside sRGB's: the conversion must show there.
  ASSERT_GT(std::abs(expected[0][0] - untagged[0][0]), 40);

  struct Row {
    const char* why;
    std::function<TRaster()> picture;
  };
  const Row rows[] = {
      {"the published photograph", [&] { return LoadPicture(dir.Write("published.jpg", PublishedBytes(tagged))); }},
      {"the preview's picture", [&] { return LoadPicture(tagged); }},
      {"the photo list's thumbnail", [&] { return MakeThumbnail(tagged, 64).Picture; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const auto means = PatchMeans(row.picture());
    for (size_t patch = 0; patch < kPatches.size(); ++patch)
      for (size_t c = 0; c < 3; ++c) EXPECT_NEAR(means[patch][c], expected[patch][c], 2.5) << patch << "," << c;
  }
}

TEST(ColourProfile, PhotographsWithoutAProfileOtherThanSrgbKeepTheirPixels) {
  test::TTempDir dir;
  const std::string plain = PatchPhoto(dir, "plain.jpg");
  const std::string untouched = PublishedBytes(plain);
  const std::string srgb = test::ReadFile(kSrgb);
  const std::string adobe = test::ReadFile(kAdobeRgb);
  ASSERT_FALSE(srgb.empty() || adobe.empty()) << "icc-profiles-free (tools/bootstrap installs it)";
  // The plain photograph with an APP2 profile segment: "ICC_PROFILE", a zero,
  // the chunk's number and the number of chunks, then the profile's bytes.
  const auto with_profile = [&](const std::string& name, char count, const std::string& profile) {
    const std::string bytes = test::ReadFile(plain);
    const std::string payload = std::string("ICC_PROFILE\0\1", 13) + count + profile;
    return dir.Write(name, bytes.substr(0, 2) + test::Segment(test::kApp2, payload) + bytes.substr(2));
  };
  struct Row {
    const char* why;
    std::string path;
  };
  const Row rows[] = {
      {"an sRGB profile", with_profile("srgb.jpg", 1, srgb)},
      {"a damaged profile", with_profile("damaged.jpg", 1, adobe.substr(0, 200))},
      {"a profile of another colour space",
       with_profile("grey.jpg", 1, test::ReadFile("/usr/share/color/icc/Gray.icc"))},
      {"the first of two chunks alone", with_profile("half.jpg", 2, adobe)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_FALSE(TSrgbConversion(TJpegReader(row.path).IccProfile()).Converts());
    EXPECT_EQ(PublishedBytes(row.path), untouched);
  }
  EXPECT_TRUE(TSrgbConversion(adobe).Converts());
}

}  // namespace
}  // namespace folivant
