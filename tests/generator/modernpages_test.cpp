// The modern page style: the pages on their own (whole runs are in
// tests/generation/modernrun_test.cpp).
#include "generator/modernpages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "generator/utilities.h"
#include "model/globalsettings.h"
#include "pagetestutil.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Page(const TLineList& lines) { return JoinLinesCrLf(lines); }

TEST(ModernPages, NavigationFollowsTheLoopSettingAndTheKeysLinks) {
  struct Row {
    const char* why;
    bool loop;
    int index;
    std::vector<std::string> present;
    std::vector<std::string> absent;
  };
  const Row rows[] = {
      {"first photograph without loop",
       false,
       0,
       {"<link rel=\"next\" href=\"boat.html\">", "<span>&larr; Previous</span>",
        "<a id=\"up\" href=\"index.html\" title=\"Return to Index\">Index</a>",
        "<a id=\"next\" href=\"boat.html\" title=\"Next Photograph\">Next &rarr;</a>", "<li class=\"empty\"></li>"},
       {"rel=\"prev\"", "id=\"previous\""}},
      {"last photograph without loop, on the second index page",
       false,
       2,
       {"<link rel=\"prev\" href=\"boat.html\">", "<a id=\"up\" href=\"index2.html\"", "<span>Next &rarr;</span>"},
       {"rel=\"next\"", "id=\"next\""}},
      {"loop wraps both ways and fills the strip",
       true,
       0,
       {"<link rel=\"prev\" href=\"dock.html\">", "<link rel=\"next\" href=\"boat.html\">",
        "<a id=\"previous\" href=\"dock.html\""},
       {"<li class=\"empty\">"}},
      {"loop from the last photograph", true, 2, {"<link rel=\"next\" href=\"lake.html\">"}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    test::MakeSummerAlbum(album);
    album.Settings.NavigateInLoop = row.loop;
    const TPublishedImageFiles images;
    const std::string page = Page(TModernPageGenerator(album, images).BuildPhotoPage(row.index));
    for (const std::string& text : row.present) EXPECT_THAT(page, HasSubstr(text));
    for (const std::string& text : row.absent) EXPECT_THAT(page, Not(HasSubstr(text)));
    EXPECT_THAT(page, HasSubstr("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
    EXPECT_THAT(page, HasSubstr("ArrowLeft: \"previous\""));
  }
}

TEST(ModernPages, AttributesAreEscapedAndCaptionsKeptAsWritten) {
  TAlbum album;
  test::MakeSummerAlbum(album);
  album.Settings.NavigationBelowPhoto = true;
  album.Settings.ThumbNavigationBar = false;
  album.Photographs[0].Title = "Lake \"Z\xC3\xBCrichsee\" <b>";
  album.Photographs[0].Caption = "At <em>dusk</em> & later.\r\n\r\nSecond line.";
  const TPublishedImageFiles images = {
      std::vector<TImageFile>{
          {kPhotoEnding, {640, 480}, {}}, {kThumbnailEnding, {100, 75}, {}}, {kThumbnailDoubleEnding, {200, 150}, {}}},
      std::vector<TImageFile>{}, std::nullopt};
  const TModernPageGenerator generator(album, images);
  const std::string page = Page(generator.BuildPhotoPage(0));
  const std::string alt = "Lake &quot;Z\xC3\xBCrichsee&quot; &lt;b&gt;";
  EXPECT_THAT(page, HasSubstr("\t\t<img src=\"lake.jpg\" width=\"640\" height=\"480\" title=\"" + alt + "\" alt=\"" +
                              alt + "\" decoding=\"async\">\r\n"))
      << "no srcset without a double copy";
  EXPECT_THAT(page, HasSubstr("\t\t<figcaption>\r\n"
                              "\t\t\t<p class=\"caption\">At <em>dusk</em> & later.</p>\r\n"
                              "\t\t\t<p class=\"caption\">Second line.</p>\r\n"
                              "\t\t</figcaption>\r\n"));
  EXPECT_THAT(page, HasSubstr("\t</figure>\r\n\t<nav id=\"navigation\">")) << "navigation below the photograph";
  EXPECT_THAT(page, Not(HasSubstr("class=\"thumbs\"")));

  const std::string index = Page(generator.BuildIndexPage(1));
  EXPECT_THAT(index, HasSubstr("<li><a href=\"lake.html\"><img src=\"lake_small.jpg\" srcset=\"lake_small.jpg 1x, "
                               "lake_small@2x.jpg 2x\" width=\"100\" height=\"75\" title=\"" +
                               alt + "\" alt=\"" + alt + "\" loading=\"lazy\" decoding=\"async\"></a></li>"));
  EXPECT_THAT(index, HasSubstr("<li><a href=\"boat.html\"><span class=\"unavailable\">Boat</span></a></li>"))
      << "a photograph without images gets no broken image";
  EXPECT_THAT(index, Not(HasSubstr("dock.html"))) << "two photographs per page";
  EXPECT_THAT(index, HasSubstr("<nav class=\"pages\">Page: <span>[1]</span> <a href=\"index2.html\""));
  EXPECT_THAT(index, HasSubstr("<nav id=\"home\"><a href=\"../index.html\""));
  EXPECT_THAT(Page(generator.BuildPhotoPage(1)), HasSubstr("<p class=\"unavailable\">"));
  EXPECT_THAT(Page(generator.BuildPhotoPage(2)), HasSubstr("<img src=\"dock.jpg\" title=\"Dock\" alt=\"Dock\" "))
      << "images not rendered in this run keep their usual names";
}

TEST(ModernPages, StylesheetLeavesRoomAboveThePhotograph) {
  struct Row {
    const char* why;
    bool below, strip;
    const char* room;
  };
  const Row rows[] = {{"title, text navigation and strip", false, true, "calc(100vh - (6rem + 97px))"},
                      {"title and text navigation", false, false, "calc(100vh - 6rem)"},
                      {"navigation below", true, true, "calc(100vh - 3.5rem)"}};
  TTempDir folder;
  TSettingsStore store(folder.File("config"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Settings.NavigationBelowPhoto = row.below;
    album.Settings.ThumbNavigationBar = row.strip;
    album.Settings.ThumbnailCols = 7;
    TLineList lines = TGlobalSettings("", store).StylesheetTemplate(TPageStyle::Modern);
    const TPublishedImageFiles images;
    TModernPageGenerator(album, images).FillStylesheet(lines);
    const std::string css = Page(lines);
    EXPECT_THAT(css, HasSubstr("max-height: " + std::string(row.room) + ";"));
    EXPECT_THAT(css, HasSubstr("max-width: calc(7 * var(--cell)"));
    EXPECT_FALSE(std::regex_search(css, std::regex("<[A-Z_]+>"))) << "every placeholder is filled";
  }
}

}  // namespace
}  // namespace folivant
