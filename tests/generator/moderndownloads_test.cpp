// What modern albums offer to take home: each photograph's own file and one
// zip of the photographs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "generator/albumzip.h"
#include "generator/imageoutputs.h"
#include "generator/modernpages.h"
#include "generator/photogenerator.h"
#include "generator/utilities.h"
#include "pagetestutil.h"
#include "samplephotos.h"
#include "testutil.h"

namespace folivant {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The original goes with the images, byte for byte, and counts in their key,
// so that a re-run knows it; classic albums never publish it.
TEST(ModernDownloads, TheOriginalIsPublishedWithTheImagesOfModernAlbumsOnly) {
  const test::TTempDir photos;
  const std::string path = photos.Write("lake.jpg", samples::MakeSamplePhoto(1, 300, 200, {}));
  TAlbum album;
  TPhotograph& photograph = album.Photographs.Add(std::make_unique<TPhotograph>());
  photograph.SetFileName(path);
  album.Settings.OriginalDownloads = true;
  const auto key = [&] { return ImageInputsKey(album.Settings, photograph, 10, "f"); };

  const std::string classic_key = key();
  album.Settings.OriginalDownloads = false;
  EXPECT_EQ(key(), classic_key) << "classic albums keep their images";
  EXPECT_EQ(TAlbumPhotoGenerator(album).RenderImageFiles(0).size(), 2U);

  album.Settings.PageStyle = TPageStyle::Modern;
  const std::string without = key();
  album.Settings.OriginalDownloads = true;
  EXPECT_NE(key(), without);
  const std::vector<TImageFile> files = TAlbumPhotoGenerator(album).RenderImageFiles(0);
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(files.back().Ending, kOriginalEnding);
  EXPECT_EQ(files.back().Bytes, test::ReadFile(path));
  const std::vector<TImageFile> expected = ExpectedImageFiles(album.Settings, photograph);
  ASSERT_EQ(expected.size(), files.size());
  EXPECT_EQ(expected.back().Ending, kOriginalEnding);
}

TEST(ModernDownloads, PagesLinkTheOriginalAndTheZip) {
  TAlbum album;
  test::MakeSummerAlbum(album);
  album.Settings.PageStyle = TPageStyle::Modern;
  const TPublishedImageFiles images = {
      std::vector<TImageFile>{
          {kPhotoEnding, {640, 480}, {}}, {kThumbnailEnding, {100, 75}, {}}, {kOriginalEnding, {}, {}}},
      std::vector<TImageFile>{}, std::nullopt};
  const TModernPageGenerator generator(album, images);
  EXPECT_THAT(JoinLinesCrLf(generator.BuildPhotoPage(0)),
              HasSubstr("<a class=\"download\" href=\"lake-original.jpg\" download>Download</a>"));
  EXPECT_THAT(JoinLinesCrLf(generator.BuildPhotoPage(2)), Not(HasSubstr("download")));
  EXPECT_THAT(JoinLinesCrLf(generator.BuildIndexPage(1)), Not(HasSubstr(std::string(kAlbumZipName))));
  album.Settings.ZipDownload = true;
  EXPECT_THAT(JoinLinesCrLf(generator.BuildIndexPage(1)),
              HasSubstr("<a href=\"photos.zip\" download>Download all photographs (zip)</a>"));
}

}  // namespace
}  // namespace folivant
