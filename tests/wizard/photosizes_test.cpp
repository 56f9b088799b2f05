// The photo sizes each page style offers and what a change of style does to them.
#include "wizard/photosizes.h"

#include <gtest/gtest.h>

namespace folivant {
namespace {

TAlbumSettings WithSize(TPageStyle style, TPhotoSize size, int32_t width, int32_t height) {
  TAlbumSettings settings;
  settings.PageStyle = style;
  settings.PhotoSize = size;
  settings.PhotoWidth = width;
  settings.PhotoHeight = height;
  return settings;
}

TEST(PhotoSizes, ChangingTheStyleGivesTheAlbumASizeOfThatStyle) {
  struct Row {
    const char* why;
    TAlbumSettings before;
    TPhotoSize size;
    int32_t width, height;
  };
  const Row rows[] = {
      {"a new album turned modern gets the largest screen size", TAlbumSettings(), TPhotoSize::Custom, 2560, 2560},
      {"Original suits both", WithSize(TPageStyle::Classic, TPhotoSize::Original, 1024, 768), TPhotoSize::Original,
       1024, 768},
      {"a custom size of an album file stays", WithSize(TPageStyle::Classic, TPhotoSize::Custom, 1000, 700),
       TPhotoSize::Custom, 1000, 700},
      {"a modern screen size turned classic becomes Medium",
       WithSize(TPageStyle::Modern, TPhotoSize::Custom, 1920, 1920), TPhotoSize::Medium, 640, 480},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbumSettings settings = row.before;
    settings.SetPageStyle(row.before.PageStyle == TPageStyle::Classic ? TPageStyle::Modern : TPageStyle::Classic);
    EXPECT_EQ(settings.PhotoSize, row.size);
    EXPECT_EQ(std::make_pair(settings.PhotoWidth, settings.PhotoHeight), std::make_pair(row.width, row.height));
  }
}

TEST(PhotoSizes, TheListShowsWhatTheAlbumHoldsAndSetsIt) {
  const TAlbumSettings classic = WithSize(TPageStyle::Classic, TPhotoSize::Custom, 1000, 700);
  EXPECT_EQ(PhotoSizeChoices(classic).size(), 5U);
  EXPECT_EQ(PhotoSizeChoiceIndex(classic), 3) << "any custom size is the classic list's custom entry";

  TAlbumSettings modern = WithSize(TPageStyle::Modern, TPhotoSize::Medium, 640, 480);
  const std::vector<TPhotoSizeChoice> choices = PhotoSizeChoices(modern);
  const std::vector<TPhotoSizeChoice> expected = {{TPhotoSize::Custom, 1280, 1280},
                                                  {TPhotoSize::Custom, 1920, 1920},
                                                  {TPhotoSize::Custom, 2560, 2560},
                                                  {TPhotoSize::Original, 1024, 768},
                                                  {TPhotoSize::Medium, 640, 480}};
  EXPECT_EQ(choices, expected) << "a modern album keeps its older size, shown last";
  EXPECT_EQ(PhotoSizeChoiceIndex(modern), 4);

  ApplyPhotoSizeChoice(modern, choices[1]);
  EXPECT_EQ(modern.PhotoSize, TPhotoSize::Custom);
  EXPECT_EQ(std::make_pair(modern.PhotoWidth, modern.PhotoHeight), std::make_pair(1920, 1920));
  EXPECT_EQ(PhotoSizeChoiceIndex(modern), 1);
  EXPECT_EQ(PhotoSizeChoices(modern).size(), 4U) << "no older size left to show";
}

}  // namespace
}  // namespace folivant
