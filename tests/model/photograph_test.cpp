#include <gtest/gtest.h>
#include <utime.h>

#include "jpegbuilder.h"
#include "model/albumclasses.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

TEST(PhotoSize, TextsMatchExactly) {
  EXPECT_EQ(TextToPhotoSize("original"), TPhotoSize::Original);
  EXPECT_EQ(PhotoSizeToText(TPhotoSize::Custom), "custom");
  EXPECT_EQ(PhotoSizeToText(static_cast<TPhotoSize>(5)), "unknown");
  EXPECT_THROW_MSG(TextToPhotoSize("Small"), "Can't convert to photo size");
  EXPECT_THROW_MSG(TextToPhotoSize("small "), "Can't convert to photo size");
  EXPECT_EQ(TextToRotation("upsidedown"), TRotation::UpsideDown);
  EXPECT_EQ(RotationToText(static_cast<TRotation>(4)), "unknown");
  EXPECT_THROW_MSG(TextToRotation("Left"), "Can't convert to rotation");
}

TEST(Photograph, RotateComposesQuarterTurns) {
  using enum TRotation;
  const TRotation all[] = {None, Left, Right, UpsideDown};
  // Row: current rotation; column: the turn applied.
  const TRotation expected[4][4] = {{None, Left, Right, UpsideDown},
                                    {Left, UpsideDown, None, Right},
                                    {Right, None, UpsideDown, Left},
                                    {UpsideDown, Right, Left, None}};
  for (int current = 0; current < 4; ++current) {
    for (int by = 0; by < 4; ++by) {
      SCOPED_TRACE(RotationToText(all[current]) + " turned " + RotationToText(all[by]));
      TPhotograph photograph;
      photograph.Rotation = all[current];
      photograph.Rotate(all[by]);
      EXPECT_EQ(photograph.Rotation, expected[current][by]);
    }
  }
}

TEST(Photograph, DisplayTitleFallsBackToTheFileName) {
  TTempDir dir;
  const std::string existing = dir.Write("sunset.jpg", "not even a JPEG");
  struct Row {
    const char* why;
    std::string title;
    std::string file;
    std::string display;
  };
  const Row rows[] = {
      {"a title is shown untrimmed", " Sunset ", existing, " Sunset "},
      {"a blank title shows the file name", "   ", existing, "sunset.jpg"},
      {"control characters are blank too", "\t\r\n", existing, "sunset.jpg"},
      {"a missing file is marked", "", "/nowhere/x/beach.jpg", "[?] beach.jpg"},
      {"a missing file with a title", "Beach", "/nowhere/beach.jpg", "[?] Beach"},
      {"a path stored on Windows", "", "D:\\x\\beach.jpg", "[?] beach.jpg"},
      {"a folder counts as missing", "", dir.Path(), "[?] " + std::filesystem::path(dir.Path()).filename().string()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TPhotograph photograph;
    photograph.Title = row.title;
    photograph.SetFileName(row.file);
    EXPECT_EQ(photograph.DisplayTitle(), row.display);
  }
}

TEST(Photograph, BaseWebNameIsALowerCaseIdentifier) {
  struct Row {
    const char* title;
    const char* file;
    const char* base;
  };
  const Row rows[] = {
      {"Holiday 2004", "/p/x.jpg", "holiday2004"},
      {"2004 Holiday", "/p/x.jpg", "holiday"},
      {"", "/p/IMG_0001.JPG", "img_0001"},
      {"Café", "/p/x.jpg", "caf"},
      {"***", "/p/x.jpg", "photo"},
      {"   ", "/p/beach.jpg", "photo"},
      {"", "/p/a.jpg.jpg", "ajpg"},
      {"", "D:\\x\\beach.jpg", "beach"},
      {"", "/p/2005.jpg", "photo"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.title) + " / " + row.file);
    TPhotograph photograph;
    photograph.Title = row.title;
    photograph.FileName = row.file;
    EXPECT_EQ(photograph.BaseWebName(), row.base);
  }
}

TEST(Photograph, CompareByFileNameFoldsOnlyAsciiLetters) {
  struct Row {
    const char* a;
    const char* b;
    int result;
  };
  const Row rows[] = {{"/p/abc.jpg", "/P/ABC.JPG", 0},
                      {"/p/a.jpg", "/p/B.jpg", 'A' - 'B'},
                      {"/p/ab", "/p/abcd", -2},
                      {"/p/_", "/p/a", '_' - 'A'},
                      {"/p/\xC3\xA9", "/p/\xC3\x89", 0xA9 - 0x89}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.a) + " vs " + row.b);
    TPhotograph a, b;
    a.FileName = row.a;
    b.FileName = row.b;
    EXPECT_EQ(CompareByFileName(a, b), row.result);
  }
}

TEST(Photograph, CompareByTitleIgnoresCaseAndCollatesTheMissingMark) {
  TTempDir dir;
  TAlbum album;
  const char* const titles[] = {"banana", "Cherry", "Apple", "zebra"};
  for (const char* title : titles) {
    TPhotograph& photograph = album.Photographs.Add(std::make_unique<TPhotograph>());
    photograph.Title = title;
    photograph.SetFileName(std::string(title) == "zebra" ? dir.File("gone.jpg") : dir.Write(title, ""));
  }
  album.SortByTitle();
  std::string order;
  for (int i = 0; i < album.Photographs.Count(); ++i) order += album.Photographs[i].DisplayTitle() + "|";
  EXPECT_EQ(order, "[?] zebra|Apple|banana|Cherry|");
}

TEST(Photograph, CompareByDateWithoutExifUsesFileTimes) {
  TTempDir dir;
  TPhotograph older, newer, missing;
  older.SetFileName(dir.Write("older.jpg", ""));
  newer.SetFileName(dir.Write("newer.jpg", ""));
  missing.SetFileName(dir.File("missing.jpg"));
  const utimbuf past{0, 1'000'000'000};
  ASSERT_EQ(::utime(older.FileName.c_str(), &past), 0);
  EXPECT_LT(CompareByDate(older, newer), 0);
  EXPECT_GT(CompareByDate(newer, older), 0);
  EXPECT_EQ(CompareByDate(older, older), 0);
  EXPECT_LT(CompareByDate(missing, older), 0);
}

TEST(Photograph, MissingFileKeepsTheMetadataLastRead) {
  TTempDir dir;
  const std::string path =
      dir.Write("p.jpg", test::Jpeg({test::IptcSegment(test::Dataset(2, 105, "Head") + test::Dataset(2, 120, "Cap"))}));
  TPhotograph photograph;
  photograph.SetFileName(path);
  EXPECT_EQ(photograph.Title, "Head");
  std::filesystem::remove(path);
  photograph.Caption = "edited";
  photograph.SetFileName(path);
  EXPECT_TRUE(photograph.Missing());
  EXPECT_TRUE(photograph.Metadata().HasIptc());
  EXPECT_EQ(photograph.Caption, "Cap");
}

}  // namespace
}  // namespace folivant
