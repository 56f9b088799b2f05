#include "editor/thumbnails.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "generator/jpegcodec.h"
#include "testutil.h"

namespace folivant {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// Top half red, bottom half blue: shows that a thumbnail stays upright.
std::string WriteHalves(const test::TTempDir& folder, int32_t width, int32_t height) {
  TRaster raster(width, height);
  for (int32_t y = 0; y < height; ++y) std::fill_n(raster.Row(y), width, y < height / 2 ? kRed : kBlue);
  return folder.Write("halves.jpg", EncodeJpeg(raster, 95));
}

bool Reddish(uint32_t pixel) { return ((pixel >> 16) & 0xFF) > 180 && (pixel & 0xFF) < 80; }
bool Bluish(uint32_t pixel) { return (pixel & 0xFF) > 180 && ((pixel >> 16) & 0xFF) < 80; }

TEST(Thumbnails, DecodeAtTheLargestReductionThatFillsTheBox) {
  struct Row {
    const char* why;
    int32_t width, height, side;
    int denom;
    int32_t thumb_width, thumb_height;
  };
  const Row rows[] = {
      {"camera-sized: an eighth is plenty", 1600, 1200, 64, 8, 64, 48},
      {"portrait fits by its height", 600, 904, 64, 8, 42, 64},
      {"twice the box: half size", 130, 100, 64, 2, 64, 49},
      {"under twice the box: full size", 120, 100, 64, 1, 64, 53},
      {"smaller than the box: kept, never enlarged", 40, 30, 64, 1, 40, 30},
      {"a thin strip keeps one row", 1000, 8, 64, 8, 64, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    test::TTempDir folder;
    const TThumbnail thumbnail = MakeThumbnail(WriteHalves(folder, r.width, r.height), r.side);
    EXPECT_EQ(thumbnail.ScaleDenom, r.denom);
    ASSERT_EQ(thumbnail.Picture.Width, r.thumb_width);
    ASSERT_EQ(thumbnail.Picture.Height, r.thumb_height);
    if (r.thumb_height < 8) continue;
    EXPECT_TRUE(Reddish(thumbnail.Picture.At(r.thumb_width / 2, 1)));
    EXPECT_TRUE(Bluish(thumbnail.Picture.At(r.thumb_width / 2, r.thumb_height - 2)));
  }
}

TEST(Thumbnails, FilesThatAreNoPicturesThrow) {
  test::TTempDir folder;
  EXPECT_THROW_MSG(MakeThumbnail(folder.Write("a.png", "x"), 64), "Unknown picture file extension (.png)");
  EXPECT_THROW(MakeThumbnail(folder.Write("text.jpg", "This is no picture"), 64), TPictureError);
  EXPECT_THROW(MakeThumbnail(folder.File("gone.jpg"), 64), TPictureError);
}

TEST(Thumbnails, StampChangesWithTheFilesSizeOrTime) {
  test::TTempDir folder;
  EXPECT_FALSE(FileStamp(folder.File("gone.jpg")));
  EXPECT_FALSE(FileStamp(folder.Path())) << "a folder has no stamp";

  const std::string path = folder.Write("a.jpg", "12345");
  const std::optional<TFileStamp> first = FileStamp(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Size, 5u);
  EXPECT_EQ(FileStamp(path), first);

  const auto time = std::filesystem::last_write_time(path);
  folder.Write("a.jpg", "54321");
  std::filesystem::last_write_time(path, time + std::chrono::seconds(1));
  const std::optional<TFileStamp> touched = FileStamp(path);
  ASSERT_TRUE(touched);
  EXPECT_EQ(touched->Size, 5u);
  EXPECT_NE(touched, first) << "same size, later time";

  folder.Write("a.jpg", "123456");
  std::filesystem::last_write_time(path, time + std::chrono::seconds(1));
  EXPECT_NE(FileStamp(path), touched) << "same time, other size";
}

TEST(ThumbnailCache, KeepsAPicturePerPathUntilTheFileChanges) {
  TThumbnailCache<int> cache(100);
  const TFileStamp stamp{{}, 10, 1000};
  const TFileStamp changed{{}, 10, 2000};
  cache.Insert("/a.jpg", stamp, 1, 10);
  cache.Insert("/b.jpg", stamp, 2, 10);
  ASSERT_NE(cache.Find("/a.jpg", stamp), nullptr);
  EXPECT_EQ(*cache.Find("/a.jpg", stamp), 1);
  EXPECT_EQ(cache.Find("/c.jpg", stamp), nullptr);

  EXPECT_EQ(cache.Find("/a.jpg", changed), nullptr) << "the file changed";
  EXPECT_EQ(cache.Find("/a.jpg", stamp), nullptr) << "the old picture is gone, not kept beside";
  EXPECT_EQ(cache.Count(), 1u);
  EXPECT_EQ(cache.Bytes(), 10u);

  cache.Insert("/b.jpg", changed, 3, 20);
  EXPECT_EQ(cache.Count(), 1u) << "a new picture replaces the old one of the same path";
  EXPECT_EQ(cache.Bytes(), 20u);
  EXPECT_EQ(*cache.Find("/b.jpg", changed), 3);
}

TEST(ThumbnailCache, DropsTheLeastRecentlyUsedBeyondItsBudget) {
  TThumbnailCache<int> cache(30);
  const TFileStamp stamp{{}, 1, 1};
  cache.Insert("/a", stamp, 1, 10);
  cache.Insert("/b", stamp, 2, 10);
  cache.Insert("/c", stamp, 3, 10);
  ASSERT_NE(cache.Find("/a", stamp), nullptr);
  cache.Insert("/d", stamp, 4, 10);
  EXPECT_EQ(cache.Find("/b", stamp), nullptr) << "b was used least recently";
  for (const char* kept : {"/a", "/c", "/d"}) EXPECT_NE(cache.Find(kept, stamp), nullptr) << kept;
  EXPECT_EQ(cache.Bytes(), 30u);

  cache.Insert("/huge", stamp, 5, 100);
  EXPECT_EQ(cache.Count(), 1u) << "a picture over the budget is kept alone";
  EXPECT_NE(cache.Find("/huge", stamp), nullptr);
}

}  // namespace
}  // namespace folivant
