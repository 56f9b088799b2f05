#include "generator/jpegcodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "jpegfixtures.h"
#include "pipetrap.h"
#include "platform/error.h"
#include "rasterreference.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TFixtureSpace;
using test::WriteFixtureJpeg;

// Channels of two pixels differ by at most `tolerance`; alpha must match.
bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(difference) > (shift == 24 ? 0 : tolerance)) return false;
  }
  return true;
}

TEST(JpegCodec, EncodesBaselineJfifThatDecodesToTheSameSize) {
  const test::TTempDir folder;
  const TRaster raster = test::SolidRaster(37, 21, 0x80336699);
  const std::string bytes = EncodeJpeg(raster, 85);
  ASSERT_GT(bytes.size(), 20u);
  EXPECT_EQ(bytes.substr(0, 4), "\xFF\xD8\xFF\xE0");
  EXPECT_EQ(bytes.substr(6, 5), std::string("JFIF\0", 5));
  EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos) << "baseline frame";
  EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos) << "not progressive";
  const TRaster decoded = LoadPicture(folder.Write("solid.jpg", bytes));
  ASSERT_EQ(decoded.Width, 37);
  ASSERT_EQ(decoded.Height, 21);
  // Alpha is dropped by encoding and comes back opaque.
  for (const uint32_t pixel : decoded.Pixels) ASSERT_TRUE(Near(pixel, 0xFF336699, 2)) << std::hex << pixel;
  EXPECT_EQ(EncodeJpeg(TRaster(), 85), "");
}

TEST(JpegCodec, ScaledDecodeForPreviews) {
  const test::TTempDir folder;
  const std::string path = folder.Write("big.jpg", EncodeJpeg(test::SolidRaster(64, 40, 0xFF102030), 90));
  const TRaster half = LoadPicture(path, 2);
  EXPECT_EQ(half.Width, 32);
  EXPECT_EQ(half.Height, 20);
  const TRaster eighth = LoadPicture(path, 8);
  EXPECT_EQ(eighth.Width, 8);
  EXPECT_EQ(eighth.Height, 5);
}

TEST(JpegCodec, GreyscaleKeepsAll256Levels) {
  const test::TTempDir folder;
  std::vector<uint8_t> samples;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 256; ++x) samples.push_back(static_cast<uint8_t>(x));
  }
  const std::string jpeg = WriteFixtureJpeg(TFixtureSpace::Greyscale, 256, 8, samples, 100);
  const TRaster decoded = LoadPicture(folder.Write("grey.jpg", jpeg));
  const std::vector<uint8_t> levels = test::DecodeGreyLevels(jpeg);
  ASSERT_EQ(decoded.Pixels.size(), levels.size());
  std::set<uint8_t> distinct;
  for (size_t i = 0; i < levels.size(); ++i) {
    ASSERT_EQ(decoded.Pixels[i], kOpaqueAlpha | levels[i] * 0x010101u) << "pixel " << i;
    distinct.insert(levels[i]);
  }
  EXPECT_GT(distinct.size(), 250u) << "no reduction to a palette of grey levels";
}

TEST(JpegCodec, CmykAndYcckDecodeToTheirColors) {
  const test::TTempDir folder;
  // Adobe's inverted inks: 255 is no ink.
  struct Color {
    uint8_t c, m, y, k;
    uint32_t rgb;
  };
  const Color colors[] = {{255, 0, 0, 255, 0xFFFF0000},
                          {0, 255, 0, 255, 0xFF00FF00},
                          {0, 0, 255, 255, 0xFF0000FF},
                          {255, 255, 255, 255, 0xFFFFFFFF},
                          {255, 255, 255, 0, 0xFF000000}};
  for (const TFixtureSpace space : {TFixtureSpace::Cmyk, TFixtureSpace::Ycck}) {
    SCOPED_TRACE(space == TFixtureSpace::Cmyk ? "CMYK" : "YCCK");
    // One 16-pixel band per colour.
    std::vector<uint8_t> samples;
    for (int y = 0; y < 16; ++y) {
      for (const Color& color : colors) {
        for (int x = 0; x < 16; ++x) samples.insert(samples.end(), {color.c, color.m, color.y, color.k});
      }
    }
    const std::string jpeg = WriteFixtureJpeg(space, 16 * 5, 16, samples, 100);
    const TRaster decoded = LoadPicture(folder.Write("cmyk.jpg", jpeg));
    for (size_t band = 0; band < 5; ++band) {
      const uint32_t pixel = decoded.At(static_cast<int32_t>(band * 16 + 8), 8);
      EXPECT_TRUE(Near(pixel, colors[band].rgb, 3)) << "band " << band << ": " << std::hex << pixel;
    }
  }
}

TEST(JpegCodec, RefusesOtherExtensions) {
  const test::TTempDir folder;
  const std::string jpeg = EncodeJpeg(test::SolidRaster(8, 8, 0xFFFFFFFF), 85);
  struct Row {
    const char* name;
    const char* message;
  };
  const Row rows[] = {{"photo.jpe", "Unknown picture file extension (.jpe)"},
                      {"photo.png", "Unknown picture file extension (.png)"},
                      {"photo.Tiff", "Unknown picture file extension (.Tiff)"},
                      {"photo", "Unknown picture file extension (.)"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_THROW_MSG(LoadPicture(folder.Write(row.name, jpeg)), row.message);
  }
  EXPECT_EQ(LoadPicture(folder.Write("upper.JPG", jpeg)).Width, 8);
  EXPECT_EQ(LoadPicture(folder.Write("long.JpEg", jpeg)).Width, 8);
}

TEST(JpegCodec, DamagedFilesGiveTheLibrarysMessage) {
  const test::TTempDir folder;
  const std::string missing = folder.File("gone.jpg");
  std::mt19937 random(3);
  const std::string jpeg = EncodeJpeg(test::RandomRaster(40, 40, random), 85);
  struct Row {
    const char* why;
    std::string path;
    std::string message;
  };
  const std::string pipe = folder.File("pipe.jpg");
  test::TPipeTrap trap(pipe);
  const Row rows[] = {
      {"no file", missing, "Cannot open file \"" + missing + "\". No such file or directory"},
      {"a named pipe, never waited on", pipe, "Cannot read \"" + pipe + "\": it is a named pipe, not a file"},
      {"text", folder.Write("text.jpg", "This is not a picture.\n"), "Not a JPEG file: starts with 0x54 0x68"},
      {"no bytes", folder.Write("empty.jpg", ""), "Empty input file"},
      // Cut inside the picture data, libjpeg would fill the rest with grey.
      {"cut", folder.Write("cut.jpg", jpeg.substr(0, jpeg.size() * 3 / 4)), "Premature end of JPEG file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_THROW_MSG(LoadPicture(row.path), row.message);
    EXPECT_THROW(LoadPicture(row.path), TPictureError);
  }
}

TEST(JpegCodec, EveryTruncationFailsCleanly) {
  const test::TTempDir folder;
  std::mt19937 random(5);
  const std::string jpeg = EncodeJpeg(test::RandomRaster(16, 8, random), 50);
  const std::string path = folder.File("cut.jpg");
  for (size_t length = 0; length < jpeg.size(); ++length) {
    folder.Write("cut.jpg", jpeg.substr(0, length));
    try {
      LoadPicture(path);
      ADD_FAILURE() << "a file cut to " << length << " of " << jpeg.size() << " bytes decoded";
    } catch (const TPictureError& error) {
      ASSERT_NE(std::string(error.what()), "") << "the library's message for a cut at " << length;
    }
  }
  EXPECT_EQ(LoadPicture(folder.Write("whole.jpg", jpeg)).Width, 16);
}

// Patches the frame header (baseline or progressive) of a small JPEG so that it
// declares another size.
std::string WithDeclaredSize(std::string jpeg, int width, int height) {
  size_t frame = jpeg.find("\xFF\xC0");
  if (frame == std::string::npos) frame = jpeg.find("\xFF\xC2");
  jpeg[frame + 5] = static_cast<char>(height >> 8);
  jpeg[frame + 6] = static_cast<char>(height & 0xFF);
  jpeg[frame + 7] = static_cast<char>(width >> 8);
  jpeg[frame + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

TEST(JpegCodec, RefusesADecompressionBombBeforeAllocating) {
  const test::TTempDir folder;
  const std::string jpeg = EncodeJpeg(test::SolidRaster(16, 16, 0xFF000000), 85);
  EXPECT_THROW_MSG(LoadPicture(folder.Write("bomb.jpg", WithDeclaredSize(jpeg, 30000, 20000))),
                   "The picture is too large: 30000 x 20000 pixels (at most 400 megapixels)");
}

TEST(JpegCodec, ProgressiveFilesAreRefusedWhenTheirCoefficientsExceedTheLimit) {
  const test::TTempDir folder;
  const std::string progressive = test::WriteProgressiveJpeg(16, 16);
  const std::string baseline = EncodeJpeg(test::SolidRaster(16, 16, 0xFF808080), 85);
  // 20000 x 20000 at 4:2:0 holds 1.2 billion bytes of coefficients; the
  // baseline file decodes a band of rows at a time.
  const std::string big_progressive = folder.Write("p.jpg", WithDeclaredSize(progressive, 20000, 20000));
  const std::string big_baseline = folder.Write("b.jpg", WithDeclaredSize(baseline, 20000, 20000));
  EXPECT_GE(TJpegReader(big_progressive, 1, int64_t{1} << 31).DecodeMemory(), 1'200'000'000);
  EXPECT_LT(TJpegReader(big_baseline).DecodeMemory(), 20'000'000);
  EXPECT_THROW_MSG(TJpegReader{big_progressive},
                   "The picture needs 1152 MB of memory to decode, more than the 1024 MB allowed");
  EXPECT_EQ(LoadPicture(folder.Write("small.jpg", progressive)).Width, 16);
}

}  // namespace
}  // namespace folivant
