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
       {"<a class=\"step next\" id=\"next\" href=\"boat.html\" aria-label=\"Next photograph\">",
        "<a id=\"up\" class=\"up\" href=\"index.html\" title=\"Return to Index\">Index</a>",
        "<p class=\"counter\">1 / 3</p>"},
       {"id=\"previous\""}},
      {"last photograph without loop, on the second index page",
       false,
       2,
       {"<a class=\"step previous\" id=\"previous\" href=\"boat.html\"",
        "<a id=\"up\" class=\"up\" href=\"index2.html\"", "<p class=\"counter\">3 / 3</p>"},
       {"id=\"next\""}},
      {"loop wraps both ways and fills the strip",
       true,
       0,
       {"id=\"previous\" href=\"dock.html\"", "id=\"next\" href=\"boat.html\"",
        "<li><a href=\"dock.html\"><img src=\"dock_small.jpg\""},
       {}},
      {"loop from the last photograph", true, 2, {"id=\"next\" href=\"lake.html\""}, {}},
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
    EXPECT_THAT(page, HasSubstr("follow(across < 0 ? \"next\" : \"previous\")")) << "swipes follow the same links";
  }
}

TEST(ModernPages, AttributesAreEscapedAndCaptionsKeptAsWritten) {
  TAlbum album;
  test::MakeSummerAlbum(album);
  album.Settings.ThumbNavigationBar = false;
  album.Photographs[0].Title = "Lake \"Z\xC3\xBCrichsee\" <b>";
  album.Photographs[0].Caption = "At <em>dusk</em> & later.\r\n\r\n<script>alert(1)</script> <b>Second</b> line.";
  const TPublishedImageFiles images = {
      std::vector<TImageFile>{
          {kPhotoEnding, {640, 480}, {}}, {kThumbnailEnding, {100, 75}, {}}, {kThumbnailDoubleEnding, {200, 150}, {}}},
      std::vector<TImageFile>{}, std::nullopt};
  const TModernPageGenerator generator(album, images);
  const std::string page = Page(generator.BuildPhotoPage(0));
  const std::string alt = "Lake &quot;Z\xC3\xBCrichsee&quot; ";
  EXPECT_THAT(page, HasSubstr("<img src=\"lake.jpg\" srcset=\"lake.jpg 640w\" sizes=\"min(100vw, calc((100dvh - 3rem) "
                              "* 640 / 480), 640px)\" width=\"640\" height=\"480\" style=\"--aspect: 640 / 480; "
                              "--width: 640px\" alt=\"" +
                              alt + "\" fetchpriority=\"high\">\r\n"));
  EXPECT_THAT(page, HasSubstr("<title>" + alt + " &ndash; Summer</title>"));
  EXPECT_THAT(page, HasSubstr("\t\t\t\t<p class=\"caption\">At <em>dusk</em> &amp; later.</p>\r\n"
                              "\t\t\t\t<p class=\"caption\">&lt;script&gt;alert(1)&lt;/script&gt; <b>Second</b> "
                              "line.</p>\r\n"))
      << "only the safe inline markup stays markup";
  EXPECT_THAT(page, HasSubstr("<meta name=\"description\" content=\"At dusk &amp; later.\">"));
  EXPECT_THAT(page, Not(HasSubstr("class=\"strip\"")));

  const std::string index = Page(generator.BuildIndexPage(1));
  EXPECT_THAT(index,
              HasSubstr("<li style=\"--aspect: 100 / 75\"><a href=\"lake.html\"><img src=\"lake_small.jpg\" "
                        "srcset=\"lake_small.jpg 100w, lake_small@2x.jpg 200w\" sizes=\"(min-resolution: 1.5dppx) "
                        "min(calc(100vw - 8px), calc(clamp(64px, 20vw, max(150px, min(11vw, 180px))) * 1.25 * 100 / "
                        "75)), min(calc(100vw - 8px), calc(clamp(64px, 20vw, max(150px, min(11vw, 300px))) * 1.25 * "
                        "100 / 75))\" width=\"100\" height=\"75\" alt=\"\" "
                        "decoding=\"async\"><span class=\"name\">Lake \"Z\xC3\xBCrichsee\" </span></a></li>"))
      << "the title under the thumbnail names the link, so the picture needs no other";
  EXPECT_THAT(index, HasSubstr("<a href=\"boat.html\"><span class=\"unavailable\">No picture</span>"))
      << "a photograph without images gets no broken image";
  EXPECT_THAT(index, Not(HasSubstr("dock.html"))) << "two photographs per page";
  EXPECT_THAT(index, HasSubstr("<span aria-current=\"page\">1</span>"));
  EXPECT_THAT(index, HasSubstr("<a href=\"index2.html\" rel=\"next\""));
  EXPECT_THAT(index, HasSubstr("<nav class=\"home\" aria-label=\"Home\"><a href=\"../index.html\""));
  EXPECT_THAT(Page(generator.BuildPhotoPage(1)), HasSubstr("<p class=\"unavailable\">"));
  EXPECT_THAT(Page(generator.BuildPhotoPage(2)),
              HasSubstr("<img src=\"dock.jpg\" alt=\"Dock\" fetchpriority=\"high\">"))
      << "images not rendered in this run keep their usual names";
}

// The compact pager: previous and next, the first and last pages, two on
// either side of the current one, and a gap for the rest.
TEST(ModernPages, ThePagerShowsAShortRange) {
  TAlbum album;
  test::MakeSummerAlbum(album);
  album.Settings.ThumbnailRows = 1;
  album.Settings.ThumbnailCols = 1;
  for (int i = 4; i <= 10; ++i)
    album.Photographs.Add(std::make_unique<TPhotograph>()).WebName = "more" + std::to_string(i);
  const TPublishedImageFiles images;
  const std::string index = Page(TModernPageGenerator(album, images).BuildIndexPage(6));
  const auto link = [](int page) { return "<a href=\"index" + std::to_string(page) + ".html\""; };
  EXPECT_THAT(index, HasSubstr(link(5) + " rel=\"prev\""));
  EXPECT_THAT(index, HasSubstr(link(7) + " rel=\"next\""));
  EXPECT_THAT(index, HasSubstr("<a href=\"index.html\" title=\"Jump to index page 1\">1</a>\r\n"
                               "\t\t\t<span class=\"gap\">&hellip;</span>\r\n"
                               "\t\t\t<a href=\"index4.html\" title=\"Jump to index page 4\">4</a>"));
  EXPECT_THAT(index, HasSubstr("<span aria-current=\"page\">6</span>"));
  EXPECT_THAT(index, HasSubstr(">8</a>\r\n\t\t\t<span class=\"gap\">&hellip;</span>\r\n\t\t\t" + link(10)));
  for (const int hidden : {2, 3, 9}) EXPECT_THAT(index, Not(HasSubstr(link(hidden)))) << hidden;
}

TEST(ModernPages, StylesheetLeavesRoomAboveThePhotograph) {
  struct Row {
    const char* why;
    bool below, strip;
  };
  const Row rows[] = {{"title, text navigation and strip", false, true},
                      {"title and text navigation", false, false},
                      {"navigation below", true, true}};
  TTempDir folder;
  TSettingsStore store(folder.File("config"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Settings.NavigationBelowPhoto = row.below;
    album.Settings.ThumbNavigationBar = row.strip;
    TLineList lines = TGlobalSettings("", store).StylesheetTemplate(TPageStyle::Modern);
    const TPublishedImageFiles images;
    TModernPageGenerator(album, images).FillStylesheet(lines);
    const std::string css = Page(lines);
    EXPECT_THAT(css, HasSubstr("--bar: 3rem;")) << "the room the pages' sizes keep beside the photograph";
    EXPECT_THAT(css, HasSubstr("max-height: calc(100dvh - var(--bar));"));
    EXPECT_THAT(css, HasSubstr("--row: clamp(64px, 20vw, max(150px, min(11vw, 300px)));"));
    EXPECT_THAT(css, HasSubstr("--row: clamp(64px, 20vw, max(150px, min(11vw, 180px)));")) << "denser screens";
    EXPECT_THAT(css, HasSubstr("--page: #171717;")) << "the dark look";
    EXPECT_FALSE(std::regex_search(css, std::regex("<[A-Z_]+>"))) << "every placeholder is filled";
  }
  TLineList older = {"img { max-height: calc(100vh - (<PHOTO_TOP_ROOM>)); }"};
  const TPublishedImageFiles images;
  TModernPageGenerator(TAlbum(), images).FillStylesheet(older);
  EXPECT_EQ(older[0], "img { max-height: calc(100vh - (3rem)); }") << "a template kept from an earlier version";
}

}  // namespace
}  // namespace folivant
