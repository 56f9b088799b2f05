#include "generator/resampler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "generator/raster.h"
#include "generator/rotation.h"
#include "rasterreference.h"

namespace folivant {
namespace {

using test::RandomRaster;
using test::ReferenceStretch;
using test::ReferenceTurn;
using test::SolidRaster;

uint32_t Grey(uint32_t level) { return kOpaqueAlpha | level * 0x010101; }

TEST(Resampler, TentTapsOfTheWorkedExamples) {
  struct Row {
    const char* why;
    int32_t source;
    int32_t destination;
    TTapTable taps;
  };
  const Row rows[] = {
      {"4 to 2: the missing 1 goes to the middle tap",
       4,
       2,
       {{{0, 28}, {0, 57}, {0, 86}, {1, 57}, {2, 28}}, {{1, 28}, {2, 57}, {3, 86}, {3, 57}, {3, 28}}}},
      {"4 to 3: 114 + 114 lack 28, which go to the first tap",
       4,
       3,
       {{{0, 57}, {0, 142}, {1, 57}}, {{1, 142}, {2, 114}}, {{2, 57}, {3, 142}, {3, 57}}}},
      {"2 to 3 enlarges", 2, 3, {{{0, 256}}, {{0, 128}, {1, 128}}, {{1, 256}}}},
      {"one destination pixel takes the middle of 4", 4, 1, {{{2, 256}}}},
      {"one destination pixel takes the middle of 5", 5, 1, {{{2, 256}}}},
      {"one source pixel serves all", 1, 3, {{{0, 256}}, {{0, 256}}, {{0, 256}}}},
      {"kept axis maps each index to itself", 3, 3, {{{0, 256}}, {{1, 256}}, {{2, 256}}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(TentTaps(row.source, row.destination), row.taps);
  }
}

TEST(Resampler, BilinearTableEndsOnTheLastColumnPair) {
  EXPECT_EQ(BilinearTable(2, 3), (std::vector<TTap>{{0, 256}, {0, 128}, {0, 0}}));
  EXPECT_EQ(BilinearTable(1, 3), (std::vector<TTap>{{0, 256}, {0, 256}, {0, 256}}));
  // 3 to 5: ratio 0.5, every other column halfway.
  EXPECT_EQ(BilinearTable(3, 5), (std::vector<TTap>{{0, 256}, {0, 128}, {1, 256}, {1, 128}, {1, 0}}));
}

TEST(Resampler, KeptAxisOfA639To640EnlargementUsesTheTentFilter) {
  EXPECT_EQ(StretchMethod(639, 479, 640, 479), TStretchMethod::Tent);
  const TTapTable rows = TentTaps(479, 479);
  for (int32_t i = 0; i < 479; ++i) {
    ASSERT_EQ(rows[static_cast<size_t>(i)], (std::vector<TTap>{{i, 256}})) << "row " << i;
  }
}

TEST(Resampler, ChoosesTheMethodBySizes) {
  EXPECT_EQ(StretchMethod(0, 5, 3, 3), TStretchMethod::Nothing);
  EXPECT_EQ(StretchMethod(5, 5, 3, 0), TStretchMethod::Nothing);
  EXPECT_EQ(StretchMethod(5, 4, 5, 4), TStretchMethod::Copy);
  EXPECT_EQ(StretchMethod(5, 4, 6, 5), TStretchMethod::Bilinear);
  EXPECT_EQ(StretchMethod(5, 4, 6, 3), TStretchMethod::Tent);
}

void ExpectSoundTable(int32_t source, int32_t destination) {
  const TTapTable table = TentTaps(source, destination);
  ASSERT_EQ(table.size(), static_cast<size_t>(destination));
  for (const std::vector<TTap>& taps : table) {
    ASSERT_FALSE(taps.empty());
    int32_t sum = 0;
    for (const TTap& tap : taps) {
      // Positive weights keep every sum within 16 bits in the vertical pass.
      ASSERT_GT(tap.Weight, 0);
      ASSERT_GE(tap.Position, 0);
      ASSERT_LT(tap.Position, source);
      sum += tap.Weight;
    }
    ASSERT_EQ(sum, kWeightScale);
  }
}

TEST(Resampler, WeightsArePositiveAndSumTo256) {
  for (int32_t source = 1; source <= 47; ++source) {
    for (int32_t destination = 1; destination <= 47; ++destination) {
      SCOPED_TRACE(std::to_string(source) + " to " + std::to_string(destination));
      ExpectSoundTable(source, destination);
    }
  }
  const std::pair<int32_t, int32_t> long_axes[] = {{10000, 1},  {1, 10000},  {10000, 7},  {7, 10000},
                                                   {10000, 75}, {4000, 640}, {6000, 100}, {3000, 426}};
  for (const auto& [source, destination] : long_axes) {
    SCOPED_TRACE(std::to_string(source) + " to " + std::to_string(destination));
    ExpectSoundTable(source, destination);
  }
}

TEST(Resampler, SolidColorsStaySolid) {
  const uint32_t color = 0xFF336699;
  for (int32_t s = 1; s <= 47; ++s) {
    for (int32_t d = 1; d <= 47; ++d) {
      SCOPED_TRACE(std::to_string(s) + "x" + std::to_string(48 - s) + " to " + std::to_string(d) + "x" +
                   std::to_string(48 - d));
      const TRaster stretched = Stretch(SolidRaster(s, 48 - s, color), d, 48 - d);
      ASSERT_EQ(stretched.Pixels, SolidRaster(d, 48 - d, color).Pixels);
    }
  }
  EXPECT_EQ(Stretch(SolidRaster(1, 10000, color), 1, 75).Pixels, SolidRaster(1, 75, color).Pixels);
  EXPECT_EQ(Stretch(SolidRaster(10000, 1, color), 640, 1).Pixels, SolidRaster(640, 1, color).Pixels);
}

TEST(Resampler, TentFilterReducesAsWorkedByHand) {
  TRaster source(4, 1);
  source.Pixels = {Grey(0), Grey(64), Grey(128), Grey(255)};
  // Column 0: weights 171, 57, 28 on 0, 64, 128 give 7232 / 256 = 28.25;
  // column 1: 28, 57, 171 on 64, 128, 255 give 52693 / 256 = 205.8.
  EXPECT_EQ(Stretch(source, 2, 1).Pixels, (std::vector<uint32_t>{Grey(28), Grey(205)}));
}

TEST(Resampler, BilinearEnlargementTruncatesBetweenPasses) {
  TRaster source(2, 2);
  source.Pixels = {Grey(0), Grey(100), Grey(200), Grey(255)};
  // The middle row mixes 100 and 177 (177.5 truncated), giving 138, not 139.
  const std::vector<uint32_t> expected = {Grey(0),   Grey(50),  Grey(100), Grey(100), Grey(138),
                                          Grey(177), Grey(200), Grey(227), Grey(255)};
  EXPECT_EQ(Stretch(source, 3, 3).Pixels, expected);
}

TEST(Resampler, EmptyRastersStayAsCreated) {
  EXPECT_EQ(Stretch(TRaster(0, 5), 3, 2).Pixels, std::vector<uint32_t>(6, 0));
  EXPECT_TRUE(Stretch(SolidRaster(4, 4, 0xFFFFFFFF), 0, 3).Empty());
}

TEST(Resampler, StretchMatchesTheReferenceOnRandomRasters) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> size(1, 40);
  for (int n = 0; n < 400; ++n) {
    const int32_t sw = size(random), sh = size(random), dw = size(random), dh = size(random);
    SCOPED_TRACE(std::to_string(sw) + "x" + std::to_string(sh) + " to " + std::to_string(dw) + "x" +
                 std::to_string(dh));
    const TRaster source = RandomRaster(sw, sh, random);
    ASSERT_EQ(Stretch(source, dw, dh).Pixels, ReferenceStretch(source, dw, dh).Pixels);
  }
}

TEST(Rotation, TurnsAnAsymmetricRasterAllFourWays) {
  // 1 2 3
  // 4 5 6
  TRaster source(3, 2);
  source.Pixels = {1, 2, 3, 4, 5, 6};
  struct Row {
    TRotation rotation;
    int32_t width;
    std::vector<uint32_t> pixels;
  };
  const Row rows[] = {{TRotation::None, 3, {1, 2, 3, 4, 5, 6}},
                      {TRotation::Left, 2, {3, 6, 2, 5, 1, 4}},
                      {TRotation::Right, 2, {4, 1, 5, 2, 6, 3}},
                      {TRotation::UpsideDown, 3, {6, 5, 4, 3, 2, 1}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(RotationToText(row.rotation));
    const TRaster turned = Turn(source, row.rotation);
    EXPECT_EQ(turned.Width, row.width);
    EXPECT_EQ(turned.Height, 6 / row.width);
    EXPECT_EQ(turned.Pixels, row.pixels);
    EXPECT_EQ(turned.Pixels, ReferenceTurn(source, row.rotation).Pixels);
  }
}

// The streaming resampler turns on the way; it must give the very bytes of
// turning the whole raster first and stretching it after.
TEST(Resampler, StreamingTurnedMatchesTurnThenStretch) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> size(1, 48);
  const TRotation rotations[] = {TRotation::None, TRotation::Left, TRotation::Right, TRotation::UpsideDown};
  int compared = 0;
  auto compare = [&](int32_t sw, int32_t sh, TRotation rotation, int32_t dw, int32_t dh) {
    SCOPED_TRACE(std::to_string(sw) + "x" + std::to_string(sh) + " " + RotationToText(rotation) + " to " +
                 std::to_string(dw) + "x" + std::to_string(dh));
    const TRaster source = RandomRaster(sw, sh, random);
    const TRaster turned = ReferenceTurn(source, rotation);
    if (StretchMethod(turned.Width, turned.Height, dw, dh) != TStretchMethod::Tent) return;
    TRaster streamed(dw, dh);
    TTentResampler resampler(sw, sh, rotation, streamed);
    for (int32_t y = 0; y < sh; ++y) resampler.AddRow(source.Row(y));
    ASSERT_EQ(streamed.Pixels, ReferenceStretch(turned, dw, dh).Pixels);
    ++compared;
  };
  for (const TRotation rotation : rotations) {
    for (int n = 0; n < 150; ++n) compare(size(random), size(random), rotation, size(random), size(random));
    compare(400, 300, rotation, 64, 48);
    compare(300, 400, rotation, 64, 85);
    compare(479, 639, rotation, 640, 479);
    compare(1, 300, rotation, 1, 7);
    compare(300, 1, rotation, 1, 5);
  }
  EXPECT_GT(compared, 400);
}

}  // namespace
}  // namespace folivant
