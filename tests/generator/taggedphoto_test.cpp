// Photographs written by libjpeg and tagged by exiftool, as cameras and photo
// tools deliver them.
#include <gtest/gtest.h>
#include <utime.h>

#include "generator/jpegcodec.h"
#include "generator/photogenerator.h"
#include "model/albumclasses.h"
#include "photofiles.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::MoveSegment;
using test::TagWithExiftool;
using test::TSegmentPlace;
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
    // The last one has its date in XMP only, as photo managers write it.
    const char* tag = i < 2 ? "-ExifIFD:DateTimeOriginal=" : "-XMP-exif:DateTimeOriginal=";
    std::string path;
    ASSERT_NO_FATAL_FAILURE(path =
                                TaggedPhoto(dir, "photo" + std::to_string(i) + ".jpg", {tag + std::string(taken[i])}));
    // File times in the opposite order prove that the time taken decides.
    const utimbuf times{0, 1'000'000'000 - i * 100'000};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
    album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
  }
  album.SortByDate();
  EXPECT_EQ(album.Photographs[0].Metadata().CaptureDate(), taken[1]);
  EXPECT_EQ(album.Photographs[1].Metadata().CaptureDate(), taken[2]);
  EXPECT_EQ(album.Photographs[2].Metadata().CaptureDate(), taken[0]);
  EXPECT_TRUE(album.Saved);
}

TEST(TaggedPhoto, TextsComeFromIptcElseXmpWhereverTheSegmentsSit) {
  enum class TOrder { AsWritten, XmpFirst, IptcLast };
  struct Row {
    const char* why;
    std::vector<std::string> tags;
    TOrder order;
    std::string title, caption, date;
  };
  const Row rows[] = {
      {"XMP alone, as photo managers write it, with markup and a stray ampersand",
       {"-XMP-dc:Title=Harbour", "-XMP-dc:Description=Boats <b>waiting</b> & more",
        "-XMP-exif:DateTimeOriginal=2021:07:14 15:30:12"},
       TOrder::AsWritten,
       "Harbour",
       "Boats <b>waiting</b> &amp; more",
       "2021:07:14 15:30:12"},
      {"IPTC first, XMP for what it lacks",
       {"-IPTC:Headline=From IPTC", "-XMP-dc:Title=From XMP", "-XMP-dc:Description=Caption from XMP"},
       TOrder::AsWritten,
       "From IPTC",
       "Caption from XMP",
       ""},
      {"hostile texts become text",
       {"-XMP-dc:Title=<script>alert(1)</script>", "-IPTC:Caption-Abstract=Nice <img src=x onerror=alert(1)>"},
       TOrder::AsWritten,
       "&lt;script&gt;alert(1)&lt;/script&gt;",
       "Nice &lt;img src=x onerror=alert(1)&gt;",
       ""},
      {"an XMP packet without texts keeps them",
       {"-XMP-xmp:CreateDate=2020:01:02 03:04:05"},
       TOrder::AsWritten,
       "Mine",
       "Kept",
       "2020:01:02 03:04:05"},
      {"XMP before EXIF hides neither",
       {"-JFIF:all=", "-XMP-dc:Title=First", "-ExifIFD:DateTimeOriginal=2003:12:31 23:59:59"},
       TOrder::XmpFirst,
       "First",
       "Kept",
       "2003:12:31 23:59:59"},
      {"IPTC behind a colour profile and the tables",
       {"-ICC_Profile<=/usr/share/color/icc/sRGB.icc", "-IPTC:Headline=Late", "-IPTC:Caption-Abstract=Found"},
       TOrder::IptcLast,
       "Late",
       "Found",
       ""},
  };
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    std::string path;
    ASSERT_NO_FATAL_FAILURE(path = TaggedPhoto(dir, "photo.jpg", row.tags));
    if (row.order == TOrder::XmpFirst) {
      ASSERT_NO_FATAL_FAILURE(MoveSegment(path, 0xE1, "http://ns.adobe.com/xap/1.0/", TSegmentPlace::First));
    } else if (row.order == TOrder::IptcLast) {
      ASSERT_NO_FATAL_FAILURE(MoveSegment(path, 0xED, "Photoshop 3.0", TSegmentPlace::Last));
    }
    TPhotograph photograph;
    photograph.Title = "Mine";
    photograph.Caption = "Kept";
    photograph.SetFileName(path);
    EXPECT_EQ(photograph.Title, row.title);
    EXPECT_EQ(photograph.Caption, row.caption);
    EXPECT_EQ(photograph.Metadata().CaptureDate(), row.date);
  }
}

// A 32 x 16 picture, grey with a red top-left quarter, tagged with `orientation` (0: no tag).
std::string MarkedPhoto(const TTempDir& dir, int orientation) {
  TRaster raster(32, 16);
  for (int32_t y = 0; y < raster.Height; ++y)
    for (int32_t x = 0; x < raster.Width; ++x) raster.At(x, y) = x < 16 && y < 8 ? 0xFFFF0000 : 0xFF808080;
  const std::string path = dir.Write("phone.jpg", EncodeJpeg(raster, 95));
  if (orientation != 0) TagWithExiftool(path, {"-IFD0:Orientation#=" + std::to_string(orientation)});
  return path;
}

TEST(TaggedPhoto, AdoptFileTurnsThePhotographUprightAndLoadingKeepsTheStoredTurn) {
  struct Row {
    int orientation;
    TRotation rotation;
    bool red_right, red_bottom;  // where the red quarter ends up
  };
  const Row rows[] = {
      {0, TRotation::Left, false, true},  // no tag: the rotation set before stays
      {1, TRotation::None, false, false},     {2, TRotation::None, false, false},
      {3, TRotation::UpsideDown, true, true}, {4, TRotation::UpsideDown, true, true},
      {5, TRotation::Left, false, true},      {6, TRotation::Right, true, false},
      {7, TRotation::Right, true, false},     {8, TRotation::Left, false, true},
  };
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.orientation);
    std::string path;
    ASSERT_NO_FATAL_FAILURE(path = MarkedPhoto(dir, row.orientation));
    TAlbum album;
    album.Settings.SetPhotoSize(TPhotoSize::Original);
    TPhotograph& photograph = album.Photographs.Add(std::make_unique<TPhotograph>());
    photograph.Rotation = TRotation::Left;
    photograph.SetFileName(path);
    EXPECT_EQ(photograph.Rotation, TRotation::Left) << "only a photograph given its file turns";
    photograph.AdoptFile(path);
    EXPECT_EQ(photograph.Rotation, row.rotation);

    // The published photograph, decoded: a quarter turn makes it taller than wide.
    TEncodedImage thumbnail;
    const TRaster published =
        LoadPicture(dir.Write("published.jpg", TAlbumPhotoGenerator(album).RenderPhoto(0, &thumbnail)->Bytes));
    const bool quarter = row.rotation == TRotation::Left || row.rotation == TRotation::Right;
    EXPECT_EQ(published.Width, quarter ? 16 : 32);
    EXPECT_EQ(published.Height, quarter ? 32 : 16);
    const uint32_t corner =
        published.At(row.red_right ? published.Width - 3 : 2, row.red_bottom ? published.Height - 3 : 2);
    EXPECT_GT(corner >> 16 & 0xFF, 200u) << std::hex << corner;
    EXPECT_LT(corner >> 8 & 0xFF, 60u) << std::hex << corner;
  }

  // An album saved with another turn keeps it when it is opened again.
  TAlbum album;
  album.FileName = dir.File("album.alb");
  TPhotograph& photograph = album.Photographs.Add(std::make_unique<TPhotograph>());
  photograph.AdoptFile(dir.File("phone.jpg"));  // the last one written, tagged 8
  photograph.Rotation = TRotation::None;
  album.SaveToFile();
  EXPECT_EQ(TAlbum::LoadFromFile(album.FileName)->Photographs[0].Rotation, TRotation::None);
}

}  // namespace
}  // namespace folivant
