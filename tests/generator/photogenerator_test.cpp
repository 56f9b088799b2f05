#include "generator/photogenerator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "generator/jpegcodec.h"
#include "rasterreference.h"
#include "testutil.h"

namespace folivant {
namespace {

class PhotoGenerator : public ::testing::Test {
 protected:
  // Adds a photograph of the given file; its Missing flag follows the file.
  TPhotograph& Add(const std::string& path, TRotation rotation = TRotation::None) {
    auto photograph = std::make_unique<TPhotograph>();
    photograph->SetFileName(path);
    photograph->Rotation = rotation;
    return album_.Photographs.Add(std::move(photograph));
  }
  std::string Picture(const std::string& name, int32_t width, int32_t height) {
    std::mt19937 random(static_cast<uint32_t>(width * 31 + height));
    return folder_.Write(name, EncodeJpeg(test::RandomRaster(width, height, random), 90));
  }
  std::optional<TEncodedImage> Render(int index, TEncodedImage* thumbnail) {
    return TAlbumPhotoGenerator(album_).RenderPhoto(index, thumbnail);
  }
  // Width and height of an encoded image.
  std::pair<int32_t, int32_t> SizeOf(const TEncodedImage& image) {
    const TJpegReader reader(folder_.Write("probe.jpg", image.Bytes));
    return {reader.Width(), reader.Height()};
  }

  test::TTempDir folder_;
  TAlbum album_;
};

TEST_F(PhotoGenerator, SizesOfPhotographAndThumbnail) {
  const std::string landscape = Picture("landscape.jpg", 3000, 2000);
  const std::string portrait = Picture("portrait.jpg", 2000, 3000);
  const std::string small = Picture("small.jpg", 320, 240);
  const std::string square = Picture("square.jpg", 1000, 1000);
  const std::string sliver = Picture("sliver.jpg", 2000, 2);
  struct Row {
    const char* why;
    std::string path;
    TRotation rotation;
    TPhotoSize size;
    int32_t thumb_width, thumb_height;
    std::pair<int32_t, int32_t> photo, thumbnail;
  };
  const Row rows[] = {
      {"landscape at 640", landscape, TRotation::None, TPhotoSize::Medium, 100, 75, {640, 426}, {100, 66}},
      {"portrait is taller than nominal", portrait, TRotation::None, TPhotoSize::Medium, 100, 75, {640, 960}, {50, 75}},
      {"a left turn makes a portrait", landscape, TRotation::Left, TPhotoSize::Medium, 100, 75, {640, 960}, {50, 75}},
      {"small photograph is enlarged", small, TRotation::None, TPhotoSize::Medium, 100, 75, {640, 480}, {100, 75}},
      {"square thumbnail takes the width",
       square,
       TRotation::None,
       TPhotoSize::Medium,
       120,
       90,
       {640, 640},
       {120, 120}},
      {"original keeps the turned size", small, TRotation::Right, TPhotoSize::Original, 100, 75, {240, 320}, {56, 75}},
      {"a side rounding to 0 keeps one pixel",
       sliver,
       TRotation::None,
       TPhotoSize::Medium,
       100,
       75,
       {640, 1},
       {100, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    album_.Photographs.Clear();
    Add(row.path, row.rotation);
    album_.Settings.SetPhotoSize(row.size);
    album_.Settings.ThumbWidth = row.thumb_width;
    album_.Settings.ThumbHeight = row.thumb_height;
    TEncodedImage thumbnail;
    const std::optional<TEncodedImage> photo = Render(0, &thumbnail);
    ASSERT_TRUE(photo);
    EXPECT_EQ(SizeOf(*photo), row.photo);
    EXPECT_EQ(SizeOf(thumbnail), row.thumbnail);
  }
}

// The whole road, decoded rows streamed through the turn and the resampler,
// against turning and stretching the decoded picture the plain way.
TEST_F(PhotoGenerator, MatchesTheReferenceByteForByte) {
  const std::string path = Picture("photo.jpg", 97, 61);
  const TRaster decoded = LoadPicture(path);
  struct Row {
    const char* why;
    TPhotoSize size;
    int32_t photo_width;
  };
  const Row rows[] = {{"reduced", TPhotoSize::Custom, 40},
                      {"enlarged", TPhotoSize::Custom, 150},
                      {"width kept, so copied or one axis kept", TPhotoSize::Custom, 61},
                      {"original", TPhotoSize::Original, 640}};
  for (const TRotation rotation : {TRotation::None, TRotation::Left, TRotation::Right, TRotation::UpsideDown}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(RotationToText(rotation) + ", " + row.why);
      album_.Photographs.Clear();
      Add(path, rotation);
      album_.Settings.PhotoSize = row.size;
      album_.Settings.PhotoWidth = row.photo_width;
      album_.Settings.ThumbWidth = 30;
      album_.Settings.ThumbHeight = 20;
      TEncodedImage thumbnail;
      const std::optional<TEncodedImage> photo = Render(0, &thumbnail);
      ASSERT_TRUE(photo);

      const TRaster turned = test::ReferenceTurn(decoded, rotation);
      const auto [photo_width, photo_height] = SizeOf(*photo);
      const auto [thumb_width, thumb_height] = SizeOf(thumbnail);
      EXPECT_EQ(photo->Bytes, EncodeJpeg(test::ReferenceStretch(turned, photo_width, photo_height), 85));
      EXPECT_EQ(thumbnail.Bytes, EncodeJpeg(test::ReferenceStretch(turned, thumb_width, thumb_height), 65));
    }
  }
}

TEST_F(PhotoGenerator, WithoutThumbnailOutputMakesOnlyThePhotograph) {
  Add(Picture("photo.jpg", 300, 200));
  const std::optional<TEncodedImage> photo = Render(0, nullptr);
  ASSERT_TRUE(photo);
  EXPECT_EQ(SizeOf(*photo), std::make_pair(640, 426));
}

TEST_F(PhotoGenerator, MissingPhotographGivesNothingAndLeavesTheThumbnail) {
  TPhotograph& photograph = Add(folder_.File("never-there.jpg"));
  ASSERT_TRUE(photograph.Missing());
  TEncodedImage thumbnail{"previous"};
  EXPECT_FALSE(Render(0, &thumbnail));
  EXPECT_EQ(thumbnail.Bytes, "previous");
}

TEST_F(PhotoGenerator, FailuresKeepThePreviousThumbnail) {
  const std::string picture = test::ReadFile(Picture("photo.jpg", 64, 48));
  const std::string vanished = Picture("vanished.jpg", 8, 8);
  struct Row {
    const char* why;
    std::string path;
    std::string message;
  };
  const Row rows[] = {
      {"jpe is admitted by the editor but not decoded", folder_.Write("photo.jpe", picture),
       "Unknown picture file extension (.jpe)"},
      {"png", folder_.Write("photo.png", picture), "Unknown picture file extension (.png)"},
      {"text named .jpg", folder_.Write("notes.jpg", "not a picture"), "Not a JPEG file: starts with 0x6e 0x6f"},
      {"truncated", folder_.Write("cut.jpg", picture.substr(0, picture.size() / 2)), "Premature end of JPEG file"},
      {"file gone since it was added", vanished, "Cannot open file \"" + vanished + "\". No such file or directory"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    album_.Photographs.Clear();
    Add(row.path);
    if (row.path == vanished) std::remove(vanished.c_str());
    TEncodedImage thumbnail{"previous"};
    EXPECT_THROW_MSG(Render(0, &thumbnail), row.message);
    EXPECT_THROW(Render(0, &thumbnail), TPictureError) << "the photograph alone is left out";
    EXPECT_EQ(thumbnail.Bytes, "previous");
  }
}

TEST_F(PhotoGenerator, RefusesSettingsBelowOnePixelBeforeDecoding) {
  // Not a picture at all: the setting's message comes first.
  Add(folder_.Write("notes.jpg", "not a picture"));
  struct Row {
    const char* why;
    int32_t photo_width, thumb_width, thumb_height;
    const char* message;
  };
  const Row rows[] = {
      {"photo width", 0, 100, 75, "The album's photo width must be at least 1 pixel, not 0"},
      {"thumbnail width", 640, -3, 75, "The album's thumbnail width must be at least 1 pixel, not -3"},
      {"thumbnail height", 640, 100, 0, "The album's thumbnail height must be at least 1 pixel, not 0"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    album_.Settings.PhotoWidth = row.photo_width;
    album_.Settings.ThumbWidth = row.thumb_width;
    album_.Settings.ThumbHeight = row.thumb_height;
    TEncodedImage thumbnail;
    EXPECT_THROW_MSG(Render(0, &thumbnail), row.message);
    try {
      Render(0, &thumbnail);
    } catch (const TPictureError&) {
      ADD_FAILURE() << "a setting is the album's fault, not the photograph's";
    } catch (const TError&) {
    }
  }
}

TEST_F(PhotoGenerator, ReservesWhatDecodingAndRenderingNeedFromTheBudget) {
  Add(Picture("photo.jpg", 2000, 1000));
  TMemoryBudget budget(16 << 20);
  TEncodedImage thumbnail;
  // The tent filter streams; a copy holds the turned picture beside its target.
  EXPECT_TRUE(TAlbumPhotoGenerator(album_).RenderPhoto(0, &thumbnail, &budget));
  album_.Settings.PhotoSize = TPhotoSize::Original;
  try {
    TAlbumPhotoGenerator(album_).RenderPhoto(0, &thumbnail, &budget);
    ADD_FAILURE() << "the copy fitted into 16 MB";
  } catch (const TPictureError& error) {
    EXPECT_THAT(error.what(), testing::MatchesRegex("The picture needs [0-9]+ MB of memory to decode and render, "
                                                    "more than the 16 MB allowed"));
  }
}

TEST_F(PhotoGenerator, RefusesAbsurdTargetSizes) {
  Add(Picture("photo.jpg", 300, 200));
  album_.Settings.PhotoWidth = 2000000000;
  EXPECT_THROW_MSG(Render(0, nullptr),
                   "The photo would be 2000000000 x 1333333333 pixels; the largest possible is 65500 pixels a side "
                   "and 400 megapixels");
  album_.Settings.PhotoWidth = 30000;
  EXPECT_THROW_MSG(Render(0, nullptr),
                   "The photo would be 30000 x 20000 pixels; the largest possible is 65500 pixels a side and 400 "
                   "megapixels");
  album_.Settings.PhotoWidth = 640;
  album_.Settings.ThumbWidth = 70000;
  TEncodedImage thumbnail;
  EXPECT_THROW_MSG(Render(0, &thumbnail),
                   "The thumbnail would be 70000 x 46666 pixels; the largest possible is 65500 pixels a side and 400 "
                   "megapixels");
}

}  // namespace
}  // namespace folivant
