#include <gtest/gtest.h>

#include "model/albumclasses.h"
#include "model/albumfile.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

// Loads an older album file through LoadFromFile, as the program does.
std::unique_ptr<TAlbum> LoadLegacy(const TTempDir& dir, const std::string& bytes) {
  return TAlbum::LoadFromFile(dir.Write("old.alb", bytes));
}

TEST(LegacyAlbum, SettingsSectionAloneGivesTheDefaults) {
  TTempDir dir;
  const auto album = LoadLegacy(dir, "[Settings]");
  const TAlbumSettings& settings = album->Settings;
  EXPECT_EQ(album->Title, "My Untitled Album");
  EXPECT_EQ(album->Description, "");
  EXPECT_TRUE(album->Photographs.Empty());
  EXPECT_EQ(settings.PhotoSize, TPhotoSize::Medium);
  EXPECT_EQ(settings.PhotoWidth, 640);
  EXPECT_EQ(settings.ThumbSize, TPhotoSize::Medium);
  EXPECT_EQ(settings.ThumbWidth, 100);
  EXPECT_EQ(settings.ThumbHeight, 75);
  EXPECT_EQ(settings.ColorScheme.Name, "Default");
  EXPECT_EQ(settings.ColorScheme.PageColor(), kWhite);
  EXPECT_EQ(settings.ColorScheme.LinkColor, kBlue);
  EXPECT_EQ(settings.ColorScheme.HotLinkColor, kRed);
  EXPECT_TRUE(settings.ThumbNavigationBar);
  EXPECT_FALSE(settings.NavigationBelowPhoto);
  EXPECT_EQ(settings.ThumbnailRows, 5);
  EXPECT_EQ(settings.ThumbnailCols, 4);
  EXPECT_EQ(settings.OutputDirectory, "");
}

TEST(LegacyAlbum, MapsPhotoSizeCodes) {
  struct Row {
    const char* why;
    const char* value;
    TPhotoSize size;
    int32_t width, height;
  };
  const Row rows[] = {{"0 is small", "0", TPhotoSize::Small, 320, 240},
                      {"2 is large", "2", TPhotoSize::Large, 800, 600},
                      {"3 is custom at 1024 x 768", "3", TPhotoSize::Custom, 1024, 768},
                      {"4 is original", "4", TPhotoSize::Original, 1024, 768},
                      {"7 changes nothing", "7", TPhotoSize::Medium, 640, 480},
                      {"not a number changes nothing", "big", TPhotoSize::Medium, 640, 480}};
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const auto album = LoadLegacy(dir, std::string("[Settings]\nPhotoSize=") + row.value);
    EXPECT_EQ(album->Settings.PhotoSize, row.size);
    EXPECT_EQ(album->Settings.PhotoWidth, row.width);
    EXPECT_EQ(album->Settings.PhotoHeight, row.height);
  }
}

TEST(LegacyAlbum, ReadsEverySetting) {
  TTempDir dir;
  const auto album = LoadLegacy(dir,
                                "[Other]\r\n"
                                "AlbumTitle=in another section\r\n"
                                "; written by hand\r\n"
                                "[Settings]\r\n"
                                "  ThumbWidth = 160 \r\n"
                                "ThumbHeight=120\r\n"
                                "OutputDirectory=/srv/www/old\r\n"
                                "SchemeName=Night\r\n"
                                "PageColor=0\r\n"
                                "TextColor=$FFFFFF\r\n"
                                "LinkColor=0xFF\r\n"
                                "HotLinkColor=-16777211\r\n"
                                "NavBelowPhoto=1\r\n"
                                "ThumbNavigationBar=0\r\n"
                                "IndexRows=3\r\n"
                                "IndexCols=x\r\n"
                                "AlbumTitle=Caf\xE9 album\r\n"
                                "HomeURL=http://example.org/\r\n"
                                "Description=ignored\r\n");
  const TAlbumSettings& settings = album->Settings;
  EXPECT_EQ(settings.ThumbSize, TPhotoSize::Medium) << "the choice stays Medium";
  EXPECT_EQ(settings.ThumbWidth, 160);
  EXPECT_EQ(settings.ThumbHeight, 120);
  EXPECT_EQ(settings.OutputDirectory, "/srv/www/old/");
  EXPECT_EQ(settings.ColorScheme.Name, "Night");
  EXPECT_EQ(settings.ColorScheme.PageColor(), kBlack);
  EXPECT_EQ(settings.ColorScheme.BorderColor(), 0x282828u) << "derived from the page colour";
  EXPECT_EQ(settings.ColorScheme.TextColor, 0xFFFFFFu);
  EXPECT_EQ(settings.ColorScheme.LinkColor, 255u);
  EXPECT_EQ(settings.ColorScheme.HotLinkColor, 0xFF000005u);
  EXPECT_TRUE(settings.NavigationBelowPhoto);
  EXPECT_FALSE(settings.ThumbNavigationBar);
  EXPECT_EQ(settings.ThumbnailRows, 3);
  EXPECT_EQ(settings.ThumbnailCols, 4) << "not a number: the default";
  EXPECT_EQ(album->Title, "Caf\xC3\xA9 album") << "Windows-1252 text becomes UTF-8";
  EXPECT_EQ(settings.HomeURL, "http://example.org/");
  EXPECT_EQ(album->Description, "");
}

TEST(LegacyAlbum, FindsNamesInAnyCaseAndKeepsTheFirstOccurrence) {
  struct Row {
    const char* why;
    const char* file;
    const char* title;
  };
  const Row rows[] = {
      {"lower-case key", "[Settings]\nalbumtitle=lower", "lower"},
      {"upper-case key and section", "[SETTINGS]\nALBUMTITLE=upper", "upper"},
      {"duplicated key", "[Settings]\nAlbumTitle=first\nAlbumTitle=second", "first"},
      {"duplicated section", "[Settings]\nAlbumTitle=first\n[Settings]\nAlbumTitle=second", "first"},
      {"second section is never read", "[Settings]\nHomeURL=x\n[ settings ]\nAlbumTitle=second", "My Untitled Album"},
      {"CR line ends", "[Settings]\rAlbumTitle=cr\rHomeURL=x", "cr"},
      {"comment line", "[Settings]\n;AlbumTitle=comment\nAlbumTitle=real", "real"},
      {"lines before the first section", "[not a section\nAlbumTitle=orphan\n[Settings]", "My Untitled Album"},
      {"line without =", "[Settings]\nAlbumTitle\nAlbumTitle=real", "real"},
      {"XML after the section header", "[Settings]\n<folivant version=\"1.8\"><title>XML</title></folivant>",
       "My Untitled Album"},
  };
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(LoadLegacy(dir, row.file)->Title, row.title);
  }
}

TEST(LegacyAlbum, ReadsCountPhotographsWithTheirTexts) {
  TTempDir dir;
  const auto album = LoadLegacy(dir,
                                "[Photographs]\n"
                                "Count=3\n"
                                "Photo0=C:\\Photos\\a.jpg\n"
                                "Photo2=/nowhere/c.jpg\n"
                                "Photo3=/nowhere/beyond-count.jpg\n"
                                "[PhotoCaptions]\n"
                                "Caption0=Na\xEFve\n"
                                "[PhotoTitles]\n"
                                "Title2=Third\n");
  EXPECT_TRUE(album->HasMissing);
  ASSERT_EQ(album->Photographs.Count(), 3);
  EXPECT_EQ(album->Photographs[0].DisplayTitle(), "[?] a.jpg");
  EXPECT_EQ(album->Photographs[0].Caption, "Na\xC3\xAFve");
  EXPECT_EQ(album->Photographs[1].FileName, "") << "a missing Photo key gives an empty path";
  EXPECT_TRUE(album->Photographs[1].Missing());
  EXPECT_EQ(album->Photographs[2].Title, "Third");
  EXPECT_EQ(album->Photographs[2].Rotation, TRotation::None);
}

TEST(LegacyAlbum, CountBeyondTheFileIsNotTrusted) {
  TTempDir dir;
  struct Row {
    const char* why;
    const char* file;
    int count;
  };
  const Row rows[] = {{"negative", "[Photographs]\nCount=-4", 0},
                      {"huge", "[Photographs]\nCount=2000000000\nPhoto0=a.jpg", 3},
                      {"beyond 32 bits", "[Photographs]\nCount=99999999999", 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(LoadLegacy(dir, row.file)->Photographs.Count(), row.count);
  }
}

TEST(LegacyAlbum, EveryTruncationLoads) {
  const std::string full =
      "[Settings]\r\nAlbumTitle=Old\r\nPageColor=$00FF00\r\n[Photographs]\r\nCount=2\r\nPhoto0=a.jpg\r\n";
  for (size_t length = 1; length <= full.size(); ++length) {
    SCOPED_TRACE(length);
    TAlbum album;
    EXPECT_NO_THROW(ImportLegacyAlbum(album, std::string_view(full).substr(0, length)));
    EXPECT_LE(album.Photographs.Count(), 2);
  }
  TAlbum album;
  ImportLegacyAlbum(album, full);
  EXPECT_EQ(album.Title, "Old");
  EXPECT_EQ(album.Settings.ColorScheme.PageColor(), 0x00FF00u);
  EXPECT_EQ(album.Photographs.Count(), 2);
}

}  // namespace
}  // namespace folivant
