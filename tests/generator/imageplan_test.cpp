#include "generator/imageplan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace folivant {
namespace {

// The widths of the photograph's images, widest first, from a 4:3 picture
// `picture` pixels wide fitted into a square photo size of `side`.
std::vector<int32_t> PhotoWidths(int32_t side, int32_t picture) {
  TAlbumSettings settings;
  settings.PageStyle = TPageStyle::Modern;
  settings.PhotoSize = TPhotoSize::Custom;
  settings.PhotoWidth = side;
  settings.PhotoHeight = side;
  std::vector<int32_t> widths;
  for (const TImageFile& file : PlanImageFiles(settings, {picture, picture * 3 / 4}))
    if (file.Ending == kPhotoEnding || file.Ending.ends_with("w.jpg")) widths.push_back(file.Size.Width);
  std::sort(widths.begin(), widths.end(), std::greater<>());
  return widths;
}

// Each size steps down within the ladder's factor, in as few steps as the
// ladder allows, until the narrowest screen is served: a denser chain costs
// every run of the album pictures to make and encode.
TEST(ImagePlan, EachPhotoSizeStepsDownTheLadderInFewStepsWithinTheFactor) {
  struct Case {
    int32_t side, picture;
    std::vector<int32_t> widths;
  };
  const Case cases[] = {
      {2560, 4000, {2560, 1600, 1000, 625}},
      {1920, 4000, {1920, 1200, 800, 480}},
      {1280, 4000, {1280, 800, 480}},
      {2560, 2400, {2400, 1600, 1000, 625}},                       // never an enlargement
      {20000, 16000, {16000, 6400, 4096, 2560, 1600, 1000, 625}},  // beyond the ladder's reach
      {640, 4000, {640, 480}},
      {400, 4000, {400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.side) + " / " + std::to_string(c.picture));
    const std::vector<int32_t> widths = PhotoWidths(c.side, c.picture);
    EXPECT_EQ(widths, c.widths);
    const bool beyond_reach = widths[0] > std::end(kPhotoLadder)[-1].Width * kLadderStepFactor;
    for (size_t i = beyond_reach ? 2 : 1; i < widths.size(); ++i)
      EXPECT_LE(widths[i - 1], kLadderStepFactor * widths[i]);
  }
}

}  // namespace
}  // namespace folivant
