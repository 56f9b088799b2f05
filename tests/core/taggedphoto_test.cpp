// Photographs written by libjpeg and tagged by exiftool, as cameras and photo
// tools deliver them.
#include <gtest/gtest.h>
#include <utime.h>

#include "model/albumclasses.h"
#include "photofiles.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TagWithExiftool;
using test::TTempDir;
using test::WritePlainJpeg;

std::string TaggedPhoto(const TTempDir& dir, const std::string& name, const std::vector<std::string>& tags) {
  const std::string path = dir.File(name);
  WritePlainJpeg(path);
  TagWithExiftool(path, tags);
  return path;
}

TEST(TaggedPhoto, DateTimeOriginalInTheExifDirectoryWins) {
  TTempDir dir;
  std::string path;
  ASSERT_NO_FATAL_FAILURE(
      path = TaggedPhoto(dir, "camera.jpg",
                         {"-IFD0:ModifyDate=2004:01:01 10:00:00", "-ExifIFD:DateTimeOriginal=2003:12:31 23:59:59"}));
  TimgData metadata;
  EXPECT_TRUE(metadata.ReadMetadata(path));
  ASSERT_TRUE(metadata.HasExif());
  EXPECT_FALSE(metadata.HasIptc());
  EXPECT_EQ(metadata.ExifData()->DateTime(), "2003:12:31 23:59:59");
}

TEST(TaggedPhoto, IfdZeroDateTimeAloneIsRead) {
  TTempDir dir;
  std::string path;
  ASSERT_NO_FATAL_FAILURE(path = TaggedPhoto(dir, "edited.jpg", {"-IFD0:ModifyDate=2010:06:15 08:30:00"}));
  TimgData metadata;
  metadata.ReadMetadata(path);
  ASSERT_TRUE(metadata.HasExif());
  EXPECT_EQ(metadata.ExifData()->DateTime(), "2010:06:15 08:30:00");
}

TEST(TaggedPhoto, IptcHeadlineCaptionAndRepeatedKeywords) {
  TTempDir dir;
  std::string path;
  ASSERT_NO_FATAL_FAILURE(
      path = TaggedPhoto(dir, "iptc.jpg",
                         {"-IPTC:Headline=Harbour at dawn, Sète", "-IPTC:Caption-Abstract=Boats waiting",
                          "-IPTC:Keywords=a", "-IPTC:Keywords=b"}));
  TimgData metadata;
  EXPECT_TRUE(metadata.ReadMetadata(path));
  ASSERT_TRUE(metadata.HasIptc());
  metadata.ParseIptc();
  // The raw bytes: exiftool writes Windows-1252 unless told otherwise.
  EXPECT_EQ(metadata.ReadDataset("ImageHeadline", "-"), "Harbour at dawn, S\xE8te");
  EXPECT_EQ(metadata.ReadDataset("ImageCaption", "-"), "Boats waiting");
  EXPECT_EQ(metadata.ReadDataset("Keywords", "-"), "a,b");
}

TEST(TaggedPhoto, SetFileNameTakesTitleAndCaptionFromIptc) {
  struct Row {
    const char* why;
    std::vector<std::string> tags;
    std::string title;
    std::string caption;
  };
  // exiftool stores IPTC text in the Windows-1252 code page unless told otherwise.
  const Row rows[] = {
      {"headline and caption, converted from Windows-1252",
       {"-IPTC:Headline=Café terrace", "-IPTC:Caption-Abstract=Line one"},
       "Café terrace",
       "Line one"},
      {"a caption without headline clears the title", {"-IPTC:Caption-Abstract=Only a caption"}, "", "Only a caption"},
      {"without IPTC data title and caption stay", {"-IFD0:ModifyDate=2004:01:01 10:00:00"}, "Mine", "Kept"},
  };
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    std::string path;
    ASSERT_NO_FATAL_FAILURE(path = TaggedPhoto(dir, "IMG_0042.JPG", row.tags));
    TPhotograph photograph;
    photograph.Title = "Mine";
    photograph.Caption = "Kept";
    photograph.SetFileName(path);
    EXPECT_FALSE(photograph.Missing());
    EXPECT_EQ(photograph.Title, row.title);
    EXPECT_EQ(photograph.Caption, row.caption);
  }
}

TEST(TaggedPhoto, SortByDateOrdersByTimeTaken) {
  TTempDir dir;
  TAlbum album;
  const char* const taken[] = {"2005:07:01 12:00:00", "2003:01:01 09:00:00", "2004:03:15 18:45:00"};
  for (int i = 0; i < 3; ++i) {
    std::string path;
    ASSERT_NO_FATAL_FAILURE(path = TaggedPhoto(dir, "photo" + std::to_string(i) + ".jpg",
                                               {std::string("-ExifIFD:DateTimeOriginal=") + taken[i]}));
    // File times in the opposite order prove that the time taken decides.
    const utimbuf times{0, 1'000'000'000 - i * 100'000};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
    album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
  }
  album.SortByDate();
  EXPECT_EQ(album.Photographs[0].Metadata().ExifData()->DateTime(), taken[1]);
  EXPECT_EQ(album.Photographs[1].Metadata().ExifData()->DateTime(), taken[2]);
  EXPECT_EQ(album.Photographs[2].Metadata().ExifData()->DateTime(), taken[0]);
  EXPECT_TRUE(album.Saved);
}

}  // namespace
}  // namespace folivant
