#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/albumclasses.h"
#include "testutil.h"

namespace folivant {
namespace {

TEST(ColorScheme, BorderFollowsPageBrightness) {
  struct Row {
    const char* why;
    TColor page;
    TColor border;
  };
  const Row rows[] = {{"white gets a darker border", 0xFFFFFF, 0xD7D7D7},
                      {"black gets a lighter border", 0x000000, 0x282828},
                      {"grey 128 is not above 128, so lighter", 0x808080, 0xA8A8A8},
                      {"blue is dark", 0xFF0000, 0xFF2828},
                      {"red is bright", 0x0000FF, 0x0000D7},
                      {"exactly 128.5 rounds to the even 128, so lighter", 0xFFF523, 0xFFFF4B},
                      {"128.51 rounds to 129, so darker", 0xFFF623, 0xD7CE00}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TColorScheme scheme;
    scheme.SetPageColor(row.page);
    EXPECT_EQ(scheme.BorderColor(), row.border);
  }
}

TEST(Album, AssignWebNamesNeverRepeatsAName) {
  TAlbum album;
  for (const char* title : {"Beach", "beach", "BEACH!", "beach2"})
    album.Photographs.Add(std::make_unique<TPhotograph>()).Title = title;
  album.AssignWebNames();
  EXPECT_EQ(album.Photographs[0].WebName, "beach");
  EXPECT_EQ(album.Photographs[1].WebName, "beach2");
  EXPECT_EQ(album.Photographs[2].WebName, "beach3");
  EXPECT_EQ(album.Photographs[3].WebName, "beach22");
}

TEST(ColorScheme, AssignKeepsTheOtherBorder) {
  TColorScheme other;
  other.Name = "Night";
  other.SetPageColor(kBlack);
  other.TextColor = kWhite;
  TColorScheme scheme;
  scheme.Assign(other);
  EXPECT_EQ(scheme.Name, "Night");
  EXPECT_EQ(scheme.PageColor(), kBlack);
  EXPECT_EQ(scheme.BorderColor(), 0x282828u);
  EXPECT_EQ(scheme.TextColor, kWhite);
}

TEST(Album, StartsFromTheDefaults) {
  const TAlbum album;
  EXPECT_EQ(album.Title, "Untitled Album");
  EXPECT_EQ(album.Description, "Various photographs that I'd like to share on the Web.");
  EXPECT_TRUE(album.Saved);
  EXPECT_FALSE(album.HasMissing);
  const TAlbumSettings& settings = album.Settings;
  EXPECT_EQ(settings.ThumbnailRows * 10 + settings.ThumbnailCols, 54);
  EXPECT_EQ(settings.PhotoWidth * 1000 + settings.PhotoHeight, 640480);
  EXPECT_EQ(settings.ThumbWidth * 1000 + settings.ThumbHeight, 100075);
  EXPECT_TRUE(settings.ThumbNavigationBar);
  EXPECT_FALSE(settings.NavigationBelowPhoto);
  EXPECT_FALSE(settings.NavigateInLoop);
  EXPECT_EQ(settings.OutputDirectory, "");
  EXPECT_EQ(settings.ColorScheme.Name, "Default");
  EXPECT_EQ(settings.ColorScheme.BorderColor(), 0xD7D7D7u);
}

TEST(AlbumSettings, SizeChoicesSetTheirStandardSizes) {
  TAlbumSettings settings;
  settings.SetThumbSize(TPhotoSize::Large);
  settings.SetThumbSize(TPhotoSize::Original);
  EXPECT_EQ(settings.ThumbSize, TPhotoSize::Original);
  EXPECT_EQ(settings.ThumbWidth * 1000 + settings.ThumbHeight, 120090);
  settings.SetThumbSize(TPhotoSize::Custom);
  EXPECT_EQ(settings.ThumbWidth * 1000 + settings.ThumbHeight, 140105);
  settings.SetPhotoSize(TPhotoSize::Original);
  EXPECT_EQ(settings.PhotoWidth * 1000 + settings.PhotoHeight, 1024768);
  settings.SetPhotoSize(TPhotoSize::Small);
  EXPECT_EQ(settings.PhotoWidth * 1000 + settings.PhotoHeight, 320240);
}

TEST(AlbumSettings, OutputDirectoryKeepsOneTrailingSlash) {
  const std::pair<const char*, const char*> rows[] = {{"/srv/web", "/srv/web/"}, {"/srv/web/", "/srv/web/"}, {"", ""}};
  for (const auto& [path, stored] : rows) {
    SCOPED_TRACE(path);
    TAlbumSettings settings;
    settings.SetOutputDirectory(path);
    EXPECT_EQ(settings.OutputDirectory, stored);
  }
}

TEST(Album, AlbumFileBaseNameKeepsLettersAndFitsAFileName) {
  const std::pair<std::string, std::string> rows[] = {{"Untitled Album", "UntitledAlbum"},
                                                      {"2005: Rome & Paris", "RomeParis"},
                                                      {"Summer_2005 in Köln", "Summer_2005inKln"},
                                                      {"", "MyAlbum"},
                                                      {"?!", "MyAlbum"},
                                                      {std::string(251, 'A'), std::string(251, 'A')},
                                                      {std::string(400, 'A') + "!", std::string(251, 'A')}};
  for (const auto& [title, base] : rows) {
    SCOPED_TRACE(title);
    TAlbum album;
    album.Title = title;
    EXPECT_EQ(album.AlbumFileBaseName(), base);
    EXPECT_TRUE(album.Saved) << "asking for the name changes nothing";
  }
}

TEST(Album, AssignWebNamesFitEveryOutputFileIntoAFileName) {
  // "<web name>_small@2x.jpg", the longest, in 255 bytes.
  const std::string a242(242, 'a');
  const std::string a241(241, 'a');
  struct Row {
    const char* why;
    std::vector<std::string> titles;
    std::vector<std::string> web_names;
  };
  const Row rows[] = {
      {"242 letters stay whole", {a242}, {a242}},
      {"243 letters lose the last", {a242 + "b"}, {a242}},
      {"the number takes the place of letters",
       {a242 + "b", a242 + "c", std::string(300, 'a')},
       {a242, a241 + "2", a241 + "3"}},
      {"a short name followed by a number stays as it was", {a241, a241}, {a241, a241 + "2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    for (const std::string& title : row.titles) album.Photographs.Add(std::make_unique<TPhotograph>()).Title = title;
    album.AssignWebNames();
    for (size_t i = 0; i < row.web_names.size(); ++i)
      EXPECT_EQ(album.Photographs[static_cast<int>(i)].WebName, row.web_names[i]);
  }
}

TEST(Album, AssignWebNamesLeaveIndexPagesAndThumbnailsTheirNames) {
  struct Row {
    const char* why;
    int columns;  // of a grid of one row
    std::vector<std::string> titles;
    std::string web_names;
  };
  const Row rows[] = {
      {"index pages", 1, {"Index", "index2", "index3", "Index!"}, "index5 index22 index32 index6"},
      {"one index page leaves index2 free", 4, {"Index", "index2"}, "index2 index22"},
      {"a thumbnail's name after its photograph", 4, {"Lake", "lake_small"}, "lake lake_small2"},
      {"a thumbnail's name before its photograph", 4, {"lake_small", "Lake"}, "lake_small lake2"},
      {"no collision, today's names", 4, {"Beach", "beach", "beach_2", "small"}, "beach beach2 beach_2 small"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Settings.ThumbnailRows = 1;
    album.Settings.ThumbnailCols = row.columns;
    for (const std::string& title : row.titles) album.Photographs.Add(std::make_unique<TPhotograph>()).Title = title;
    album.AssignWebNames();
    std::string names;
    for (int i = 0; i < album.Photographs.Count(); ++i) names += (i ? " " : "") + album.Photographs[i].WebName;
    EXPECT_EQ(names, row.web_names);
  }
}

TEST(Album, AssignWebNamesNumbersRepeatedFileNames) {
  TAlbum album;
  for (const char* file : {"/a/beach.jpg", "/b/Beach.JPG", "/c/beach.jpeg", "/d/beach2.jpg"})
    album.Photographs.Add(std::make_unique<TPhotograph>()).FileName = file;
  album.AssignWebNames();
  std::string names;
  for (int i = 0; i < album.Photographs.Count(); ++i) names += album.Photographs[i].WebName + " ";
  EXPECT_EQ(names, "beach beach2 beach3 beach22 ");
}

TEST(Album, PhotographListMovesAndSortsWithoutMarkingModified) {
  TAlbum album;
  for (const char* file : {"/p/c.jpg", "/p/A.jpg", "/p/b.jpg"})
    album.Photographs.Add(std::make_unique<TPhotograph>()).FileName = file;
  album.Photographs.Move(0, 2);
  EXPECT_EQ(album.Photographs[2].FileName, "/p/c.jpg");
  album.SortByFileName();
  EXPECT_EQ(album.Photographs[0].FileName, "/p/A.jpg");
  EXPECT_EQ(album.Photographs[1].FileName, "/p/b.jpg");
  EXPECT_EQ(album.Photographs[2].FileName, "/p/c.jpg");
  EXPECT_TRUE(album.Saved);
  EXPECT_FALSE(album.AnyMissing());
  album.Photographs[1].SetFileName("/nowhere/b.jpg");
  EXPECT_TRUE(album.AnyMissing());
}

}  // namespace
}  // namespace folivant
