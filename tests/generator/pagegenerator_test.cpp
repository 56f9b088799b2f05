#include "generator/pagegenerator.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "pagetestutil.h"
#include "platform/product.h"
#include "platform/text.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::AddPhoto;
using test::MakeSummerAlbum;

// The lines both templates share up to "<body>", each ending with CR LF.
std::string Head(const std::string& title) {
  return "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
         "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\">\r\n"
         "<head>\r\n"
         "\t<title>" +
         title +
         "</title>\r\n"
         "\t<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
         "\t<meta http-equiv=\"Generator\" content=\"Folivant 1.8.1; " +
         std::string(kProductWebAddress) +
         "\" />\r\n"
         "\t<link rel=\"stylesheet\" type=\"text/css\" href=\"main.css\" />\r\n"
         "</head>\r\n"
         "<body>\r\n";
}

std::string Footer() {
  return "\t<p class=\"footnote\">Created with <a href=\"" + std::string(kProductWebAddress) +
         "\">Folivant</a></p>\r\n"
         "</body>\r\n"
         "</html>\r\n";
}

// Writes the page as the generation run does and reads the file back.
std::string WrittenFile(const TLineList& page) {
  test::TTempDir dir;
  WriteLinesToFile(page, dir.File("page.html"));
  return test::ReadFile(dir.File("page.html"));
}

TEST(IndexPage, SecondPageOfSummerAlbum) {
  TAlbum album;
  MakeSummerAlbum(album);
  const TAlbumPageGenerator generator(album);
  ASSERT_EQ(generator.IndexPageCount(), 2);
  const std::string expected =
      Head("Summer") +
      "\t<div id=\"header\">\r\n"
      "\t\t<h1>Summer</h1>\r\n"
      "\t</div>\r\n"
      "<p class=\"description\">Two days at the lake.</p>\r\n"
      "\t<div id=\"navigation\"><span class=\"home\"><a href=\"../index.html\" title=\"Return to Home\">Back to "
      "Home</a></span></div>\r\n"
      "<div id=\"index\">\r\n"
      "\t<table>\r\n"
      "\t<tr>\r\n"
      "\t\t<td class=\"thumbcell\"><a href=\"dock.html\"><img src=\"dock_small.jpg\" title=\"Dock\" "
      "alt=\"dock_small.jpg\" /></a></td>\r\n"
      "\t\t<td class=\"thumbcell\"></td>\r\n"
      "\t</tr>\r\n"
      "\t<tr>\r\n"
      "\t\t<td colspan=\"2\"><div class=\"pages\">Page: <a href=\"index.html\" title=\"Jump to index page "
      "1\">[1]</a>[2]</div></td>\r\n"
      "\t</tr>\r\n"
      "\t</table>\r\n"
      "</div>\r\n" +
      Footer();
  EXPECT_EQ(WrittenFile(generator.BuildIndexPage(2)), expected);
  // Every index lies inside the album, so the loop setting changes nothing.
  album.Settings.NavigateInLoop = true;
  EXPECT_EQ(WrittenFile(TAlbumPageGenerator(album).BuildIndexPage(2)), expected);
}

// The navigation block of "dock.html" in its parts, so that the variants can
// rearrange them.
const std::string kDockTextRow =
    "\t<tr class=\"textnavigation\">\r\n"
    "\t\t<td class=\"previous\"><span class=\"previous\"><a href=\"boat.html\" title=\"Previous Photograph\">&lt;&lt; "
    "Previous</a></span></td>\r\n"
    "\t\t<td class=\"index\" colspan=\"3\"><span class=\"index\"><a href=\"index2.html\" title=\"Return to "
    "Index\">Index</a></span></td>\r\n"
    "\t\t<td class=\"next\"><span class=\"next\">Next &gt;&gt;</span></td>\r\n"
    "\t</tr>\r\n";
const std::string kDockTextRowInLoop =
    "\t<tr class=\"textnavigation\">\r\n"
    "\t\t<td class=\"previous\"><span class=\"previous\"><a href=\"boat.html\" title=\"Previous Photograph\">&lt;&lt; "
    "Previous</a></span></td>\r\n"
    "\t\t<td class=\"index\" colspan=\"3\"><span class=\"index\"><a href=\"index2.html\" title=\"Return to "
    "Index\">Index</a></span></td>\r\n"
    "\t\t<td class=\"next\"><span class=\"next\"><a href=\"lake.html\" title=\"Next Photograph\">Next "
    "&gt;&gt;</a></span></td>\r\n"
    "\t</tr>\r\n";
const std::string kLakeCell =
    "\t\t<td class=\"thumbcell\"><a href=\"lake.html\"><img src=\"lake_small.jpg\" title=\"Lake\" "
    "alt=\"lake_small.jpg\" /></a></td>\r\n";
const std::string kBoatCell =
    "\t\t<td class=\"thumbcell\"><a href=\"boat.html\"><img src=\"boat_small.jpg\" title=\"Boat\" "
    "alt=\"boat_small.jpg\" /></a></td>\r\n";
const std::string kDockCell =
    "\t\t<td class=\"thumbcell selected\"><img src=\"dock_small.jpg\" title=\"Dock\" alt=\"dock_small.jpg\" "
    "/></td>\r\n";
const std::string kEmptyCell = "\t\t<td class=\"thumbcell\"></td>\r\n";
const std::string kDockThumbRow =
    "\t<tr>\r\n" + kLakeCell + kBoatCell + kDockCell + kEmptyCell + kEmptyCell + "\t</tr>\r\n";
const std::string kDockThumbRowInLoop =
    "\t<tr>\r\n" + kLakeCell + kBoatCell + kDockCell + kLakeCell + kBoatCell + "\t</tr>\r\n";

std::string NavigationBlock(const std::string& first_row, const std::string& second_row) {
  return "\r\n<div id=\"navigation\">\r\n\t<table>\r\n" + first_row + second_row + "\t</table>\r\n</div>\r\n\r\n";
}

const std::string kDockPhoto =
    "\t<h1 class=\"title\">Dock</h1>\r\n"
    "\t<div id=\"photograph\">\r\n"
    "\t<img src=\"dock.jpg\" title=\"Dock\" alt=\"dock.jpg\" />\r\n"
    "\t</div>\r\n"
    "<p class=\"caption\">At dusk.</p>\r\n";

TEST(PhotoPage, DockPageOfSummerAlbum) {
  struct Row {
    const char* why;
    bool in_loop;
    bool below_photo;
    std::string body;
  };
  const Row rows[] = {
      {"navigation above, no loop", false, false, NavigationBlock(kDockTextRow, kDockThumbRow) + kDockPhoto},
      {"loop: next leads to the first photograph, the bar wraps", true, false,
       NavigationBlock(kDockTextRowInLoop, kDockThumbRowInLoop) + kDockPhoto},
      {"below the photograph: thumbnails next to it, text row outside", false, true,
       kDockPhoto + NavigationBlock(kDockThumbRow, kDockTextRow)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    MakeSummerAlbum(album);
    album.Settings.NavigateInLoop = row.in_loop;
    album.Settings.NavigationBelowPhoto = row.below_photo;
    EXPECT_EQ(WrittenFile(TAlbumPageGenerator(album).BuildPhotoPage(2)), Head("Dock") + row.body + Footer());
  }
}

TEST(PageGenerator, PageArithmetic) {
  struct Row {
    const char* why;
    int photos;
    int pages;
  };
  const Row rows[] = {{"empty album", 0, 0},
                      {"one photograph", 1, 1},
                      {"exactly full", 20, 1},
                      {"one over", 21, 2},
                      {"two full pages", 40, 2}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;  // 5 rows of 4 columns
    for (int i = 0; i < row.photos; ++i) AddPhoto(album, "p" + std::to_string(i), "P");
    EXPECT_EQ(TAlbumPageGenerator(album).IndexPageCount(), row.pages);
  }
  TAlbum album;
  const TAlbumPageGenerator generator(album);
  EXPECT_EQ(generator.PhotosPerPage(), 20);
  EXPECT_EQ(generator.IndexPageOfPhoto(0), 1);
  EXPECT_EQ(generator.IndexPageOfPhoto(19), 1);
  EXPECT_EQ(generator.IndexPageOfPhoto(20), 2);
  EXPECT_EQ(TAlbumPageGenerator::IndexPageFileName(1), "index.html");
  EXPECT_EQ(TAlbumPageGenerator::IndexPageFileName(10), "index10.html");
}

// The lines of `page` strictly between the first line `after` and the next line `before`.
TLineList Between(const TLineList& page, const std::string& after, const std::string& before) {
  const auto start = std::find(page.begin(), page.end(), after);
  if (start == page.end()) return {"<" + after + " not found>"};
  const auto end = std::find(start + 1, page.end(), before);
  return TLineList(start + 1, end);
}

TEST(IndexPage, TwentyOnePhotographsOnFiveByFour) {
  TAlbum album;
  for (int i = 0; i < 21; ++i) AddPhoto(album, "p" + std::to_string(i), "P" + std::to_string(i));
  const TAlbumPageGenerator generator(album);
  const TLineList first = Between(generator.BuildIndexPage(1), "\t<table>", "\t</table>");
  ASSERT_EQ(first.size(), 5u * 6 + 3);
  EXPECT_EQ(first[first.size() - 2],
            "\t\t<td colspan=\"4\"><div class=\"pages\">Page:[1] <a href=\"index2.html\" title=\"Jump to index page "
            "2\">[2]</a></div></td>");
  const TLineList second = Between(generator.BuildIndexPage(2), "\t<table>", "\t</table>");
  const TLineList expected = {
      "\t<tr>",
      "\t\t<td class=\"thumbcell\"><a href=\"p20.html\"><img src=\"p20_small.jpg\" title=\"P20\" "
      "alt=\"p20_small.jpg\" /></a></td>",
      "\t\t<td class=\"thumbcell\"></td>",
      "\t\t<td class=\"thumbcell\"></td>",
      "\t\t<td class=\"thumbcell\"></td>",
      "\t</tr>",
      "\t<tr>",
      "\t\t<td colspan=\"4\"><div class=\"pages\">Page: <a href=\"index.html\" title=\"Jump to index page "
      "1\">[1]</a>[2]</div></td>",
      "\t</tr>"};
  EXPECT_EQ(second, expected);

  const TLineList last_of_first = generator.BuildPhotoPage(19), first_of_second = generator.BuildPhotoPage(20);
  const std::string index_cell = "\t\t<td class=\"index\" colspan=\"3\"><span class=\"index\"><a href=\"";
  EXPECT_NE(std::find(last_of_first.begin(), last_of_first.end(),
                      index_cell + "index.html\" title=\"Return to Index\">Index</a></span></td>"),
            last_of_first.end());
  EXPECT_NE(std::find(first_of_second.begin(), first_of_second.end(),
                      index_cell + "index2.html\" title=\"Return to Index\">Index</a></span></td>"),
            first_of_second.end());
}

TEST(IndexPage, TwentyPhotographsFillOnePageWithoutPageLinks) {
  TAlbum album;
  for (int i = 0; i < 20; ++i) AddPhoto(album, "p" + std::to_string(i), "P");
  const TLineList table = Between(TAlbumPageGenerator(album).BuildIndexPage(1), "\t<table>", "\t</table>");
  EXPECT_EQ(table.size(), 5u * 6);
  EXPECT_EQ(table.back(), "\t</tr>");
  EXPECT_NE(table[table.size() - 2].find("\"p19.html\""), std::string::npos);
}

TEST(PageGenerator, ThumbnailCellWrapsOnceAroundSmallAlbums) {
  struct Row {
    const char* why;
    int photos;
    bool in_loop;
    int index;
    const char* shows;  // web name, or "" for an empty cell
  };
  const Row rows[] = {
      {"one photograph, no loop, before it", 1, false, -1, ""},
      {"one photograph, no loop, after it", 1, false, 1, ""},
      {"one photograph, loop, two before", 1, true, -2, "p0"},
      {"one photograph, loop, two after", 1, true, 2, "p0"},
      {"two photographs, loop, two before the first", 2, true, -2, "p0"},
      {"two photographs, loop, one before the first", 2, true, -1, "p1"},
      {"two photographs, loop, one after the first", 2, true, 1, "p1"},
      {"two photographs, loop, two after the first", 2, true, 2, "p0"},
      {"far outside wraps once and clamps", 2, true, 7, "p1"},
      {"empty album with loop", 0, true, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Settings.NavigateInLoop = row.in_loop;
    for (int i = 0; i < row.photos; ++i) AddPhoto(album, "p" + std::to_string(i), "P" + std::to_string(i));
    const std::string name = row.shows;
    const std::string expected = name.empty()
                                     ? ""
                                     : "<a href=\"" + name + ".html\"><img src=\"" + name + "_small.jpg\" title=\"P" +
                                           name.substr(1) + "\" alt=\"" + name + "_small.jpg\" /></a>";
    EXPECT_EQ(TAlbumPageGenerator(album).ThumbnailCell(row.index, true), expected);
  }
}

TEST(PhotoPage, SinglePhotographLinksToItselfOnlyInLoop) {
  for (const bool in_loop : {false, true}) {
    SCOPED_TRACE(in_loop ? "loop" : "no loop");
    TAlbum album;
    album.Settings.NavigateInLoop = in_loop;
    AddPhoto(album, "solo", "Solo");
    const TLineList page = TAlbumPageGenerator(album).BuildPhotoPage(0);
    const TLineList row = Between(page, "\t<tr class=\"textnavigation\">", "\t</tr>");
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0], in_loop ? "\t\t<td class=\"previous\"><span class=\"previous\"><a href=\"solo.html\" "
                                "title=\"Previous Photograph\">&lt;&lt; Previous</a></span></td>"
                              : "\t\t<td class=\"previous\"><span class=\"previous\">&lt;&lt; Previous</span></td>");
    EXPECT_EQ(row[2], in_loop ? "\t\t<td class=\"next\"><span class=\"next\"><a href=\"solo.html\" title=\"Next "
                                "Photograph\">Next &gt;&gt;</a></span></td>"
                              : "\t\t<td class=\"next\"><span class=\"next\">Next &gt;&gt;</span></td>");
    const TLineList cells = Between(page, "\t<tr>", "\t</tr>");
    ASSERT_EQ(cells.size(), 5u);
    const std::string linked_cell =
        "\t\t<td class=\"thumbcell\"><a href=\"solo.html\"><img src=\"solo_small.jpg\" title=\"Solo\" "
        "alt=\"solo_small.jpg\" /></a></td>";
    const std::string outer = in_loop ? linked_cell : "\t\t<td class=\"thumbcell\"></td>";
    EXPECT_EQ(cells, (TLineList{outer, outer,
                                "\t\t<td class=\"thumbcell selected\"><img src=\"solo_small.jpg\" title=\"Solo\" "
                                "alt=\"solo_small.jpg\" /></td>",
                                outer, outer}));
  }
}

TEST(PhotoPage, WithoutThumbnailBarTheTableHoldsTheTextRowOnly) {
  TAlbum album;
  MakeSummerAlbum(album);
  album.Settings.ThumbNavigationBar = false;
  const TLineList table = Between(TAlbumPageGenerator(album).BuildPhotoPage(1), "\t<table>", "\t</table>");
  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(table.front(), "\t<tr class=\"textnavigation\">");
  EXPECT_EQ(table.back(), "\t</tr>");
}

TEST(PageGenerator, ParagraphsDropBlankLinesAndKeepTheRest) {
  struct Row {
    const char* why;
    const char* text;
    std::vector<const char*> paragraphs;
  };
  const Row rows[] = {
      {"empty", "", {}},
      {"only spaces", "   ", {}},
      {"blank lines between", "A\r\n\r\n  \nB", {"A", "B"}},
      {"CR alone separates too", "A\rB\r", {"A", "B"}},
      {"a line that is not blank keeps its spaces", " x \t", {" x \t"}},
      {"markup stays markup", "<b>bold</b> & more", {"<b>bold</b> & more"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Description = row.text;
    AddPhoto(album, "p", "P", row.text);
    const TAlbumPageGenerator generator(album);
    TLineList description, caption;
    for (const char* paragraph : row.paragraphs) {
      description.push_back("<p class=\"description\">" + std::string(paragraph) + "</p>");
      caption.push_back("<p class=\"caption\">" + std::string(paragraph) + "</p>");
    }
    // Without a home address the home line is a lone tab right after the description.
    EXPECT_EQ(Between(generator.BuildIndexPage(1), "\t</div>", "\t"), description);
    EXPECT_EQ(Between(generator.BuildPhotoPage(0), "\t</div>",
                      "\t<p class=\"footnote\">Created with <a href=\"" + std::string(kProductWebAddress) +
                          "\">Folivant</a></p>"),
              caption);
  }
}

TEST(IndexPage, HomeLinkOnlyForARealAddress) {
  struct Row {
    const char* why;
    const char* url;
    const char* line;
  };
  const Row rows[] = {
      {"empty", "", "\t"},
      {"the prefix the wizard offers", "http://", "\t"},
      {"blanks", "   ", "\t"},
      {"spaces are kept", " x ",
       "\t<div id=\"navigation\"><span class=\"home\"><a href=\" x \" title=\"Return to Home\">Back to "
       "Home</a></span></div>"},
      {"ampersand in a query becomes a reference", "http://h/?a=1&b=\"2\"",
       "\t<div id=\"navigation\"><span class=\"home\"><a href=\"http://h/?a=1&amp;b=&quot;2&quot;\" title=\"Return "
       "to Home\">Back to Home</a></span></div>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Description = "";
    album.Settings.HomeURL = row.url;
    AddPhoto(album, "p", "P");
    const TLineList page = TAlbumPageGenerator(album).BuildIndexPage(1);
    ASSERT_GT(page.size(), 12u);
    EXPECT_EQ(page[12], row.line);  // the description marker line is gone
  }
}

TEST(PageGenerator, AttributesEscapedContentVerbatim) {
  TAlbum album;
  AddPhoto(album, "cheese", "Say \"cheese\" & <smile>");
  const TAlbumPageGenerator generator(album);
  const TLineList page = generator.BuildPhotoPage(0);
  EXPECT_EQ(page[3], "\t<title>Say \"cheese\" & <smile></title>");
  EXPECT_NE(std::find(page.begin(), page.end(), "\t<h1 class=\"title\">Say \"cheese\" & <smile></h1>"), page.end());
  EXPECT_EQ(generator.ThumbnailCell(0, false),
            "<img src=\"cheese_small.jpg\" title=\"Say &quot;cheese&quot; &amp; &lt;smile&gt;\" "
            "alt=\"cheese_small.jpg\" />");
  EXPECT_NE(
      std::find(page.begin(), page.end(),
                "\t<img src=\"cheese.jpg\" title=\"Say &quot;cheese&quot; &amp; &lt;smile&gt;\" alt=\"cheese.jpg\" />"),
      page.end());
}

TEST(PageGenerator, InvalidUtf8NeverReachesAPage) {
  TAlbum album;
  album.Title = "Caf\xE9";
  album.Description = "D\xFF";
  AddPhoto(album, "p", "T\xC3", "C\x80");
  const TAlbumPageGenerator generator(album);
  for (const TLineList& page : {generator.BuildIndexPage(1), generator.BuildPhotoPage(0)})
    for (const std::string& line : page) EXPECT_TRUE(IsValidUtf8(line)) << line;
  EXPECT_EQ(generator.BuildIndexPage(1)[3], "\t<title>Caf\xEF\xBF\xBD</title>");
}

TEST(PageGenerator, RefusesRowsOrColumnsBelowOne) {
  TAlbum album;
  album.Settings.ThumbnailRows = 0;
  EXPECT_THROW_MSG(TAlbumPageGenerator{album}, "The number of thumbnail rows must be at least 1.");
  album.Settings.ThumbnailRows = 5;
  album.Settings.ThumbnailCols = -1;
  EXPECT_THROW_MSG(TAlbumPageGenerator{album}, "The number of thumbnail columns must be at least 1.");
  album.Settings.ThumbnailRows = 65536;
  album.Settings.ThumbnailCols = 65536;
  EXPECT_THROW_MSG(TAlbumPageGenerator{album}, "The number of thumbnails per index page is too large.");
}

TEST(PageGenerator, MissingTemplatesAreReported) {
  TAlbum album;
  AddPhoto(album, "p", "P");
  test::TTemplateSeamGenerator generator(album);
  generator.Templates["indexpage"] = std::nullopt;
  generator.Templates["photopage"] = std::nullopt;
  EXPECT_THROW_MSG(generator.BuildIndexPage(1), "Could not load index page template");
  EXPECT_THROW_MSG(generator.BuildPhotoPage(0), "Could not load photo page template");
}

TEST(PageGenerator, TemplateExpansionMatchesWholeMarkerLinesOnly) {
  TAlbum album;
  album.Title = "T";
  album.Description = "D <!-- ALBUM_TITLE -->";
  test::TTemplateSeamGenerator generator(album);
  generator.Templates["indexpage"] =
      "<!-- #MARKLINE INDEX -->\r\n"
      " <!-- #MARKLINE DESCRIPTION -->\r\n"
      "<!-- #MARKLINE DESCRIPTION --> \r\n"
      "<!-- #MARKLINE DESCRIPTION -->\r\n"
      "<!-- #MARKLINE DESCRIPTION -->\r\n"
      "<!-- ALBUM_TITLE --><!-- ALBUM_TITLE -->|<!-- ALBUM_TITLE -->\n"
      "<!-- #markline description -->\r\n";
  const TLineList expected = {
      "<!-- #MARKLINE INDEX -->",                             // the first line is never a marker line
      " <!-- #MARKLINE DESCRIPTION -->",                      // leading blank
      "<!-- #MARKLINE DESCRIPTION --> ",                      // trailing blank
      "<!-- #MARKLINE DESCRIPTION -->",                       // not the last occurrence
      "<p class=\"description\">D <!-- ALBUM_TITLE --></p>",  // block lines are not searched again
      "TT|T",
      "<!-- #markline description -->",  // case matters
  };
  EXPECT_EQ(generator.BuildIndexPage(1), expected);
}

}  // namespace
}  // namespace folivant
