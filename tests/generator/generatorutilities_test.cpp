#include <gtest/gtest.h>

#include "generator/pagegenerator.h"
#include "generator/utilities.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "testutil.h"

namespace folivant {
namespace {

TEST(TextUtils, ReplaceAllNeverSearchesInsertedText) {
  struct Row {
    const char* why;
    const char* text;
    const char* search;
    const char* replacement;
    const char* result;
  };
  const Row rows[] = {
      {"replacement contains the search text", "aXbX", "X", "XX", "aXXbXX"},
      {"adjacent occurrences", "<TEXT_COLOR><TEXT_COLOR>", "<TEXT_COLOR>", "#000000", "#000000#000000"},
      {"repeated occurrences", "<TEXT_COLOR> <TEXT_COLOR>", "<TEXT_COLOR>", "#000000", "#000000 #000000"},
      {"no overlap, left to right", "aaa", "aa", "b", "ba"},
      {"empty search text changes nothing", "abc", "", "x", "abc"},
      {"empty replacement removes", "a-b-c", "-", "", "abc"},
      {"case matters", "Xx", "x", "y", "Xy"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(ReplaceAll(row.text, row.search, row.replacement), row.result);
  }
}

TEST(TextUtils, ColorToHtmlPutsRedFirst) {
  struct Row {
    const char* why;
    TColor color;
    const char* html;
  };
  const Row rows[] = {{"white", 0xFFFFFF, "#FFFFFF"},
                      {"black", 0x000000, "#000000"},
                      {"red is the low byte", 255, "#FF0000"},
                      {"blue is the third byte", 0xFF0000, "#0000FF"},
                      {"upper-case digits, two per byte", 0x0A0B0C, "#0C0B0A"},
                      {"bits above 23 are ignored", 0xFF123456, "#563412"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(ColorToHtml(row.color), row.html);
  }
}

TEST(TextUtils, SplitLinesAtEveryKindOfBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (TLineList{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (TLineList{"a"}));
  EXPECT_EQ(SplitLines("\r\n\n"), (TLineList{"", ""}));
  EXPECT_EQ(SplitLines("a\n\rb"), (TLineList{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextUtils, SpliceLinesKeepsBlockOrder) {
  TLineList lines = {"a", "marker", "z"};
  SpliceLines(lines, {"1", "2", "3"}, 1);
  EXPECT_EQ(lines, (TLineList{"a", "1", "2", "3", "z"}));
  SpliceLines(lines, {}, 0);
  EXPECT_EQ(lines, (TLineList{"1", "2", "3", "z"}));
}

TEST(TextUtils, EscapeAttributeValueTouchesOnlyFourCharacters) {
  EXPECT_EQ(EscapeAttributeValue("a&b<c>d\"e'f\xC3\xA9"), "a&amp;b&lt;c&gt;d&quot;e'f\xC3\xA9");
}

TEST(Stylesheet, DefaultTemplateFilledForNewAlbum) {
  const auto stylesheet_template = FindResource("defaultstylesheet");
  ASSERT_TRUE(stylesheet_template);
  TLineList lines = SplitLines(*stylesheet_template);
  TAlbum album;
  TAlbumPageGenerator(album).FillStylesheet(lines);
  test::TTempDir dir;
  WriteLinesToFile(lines, dir.File("main.css"));
  // The template's last line has no line break; the written file ends with one all the same.
  const std::string expected =
      "/* Main Selectors */\r\n"
      "body {\r\n"
      "\tbackground-color: #FFFFFF;\r\n"
      "\tcolor: #000000;\r\n"
      "}\r\n"
      "\r\n"
      "a, a:visited {\r\n"
      "\tbackground-color: transparent;\r\n"
      "\tcolor: #0000FF;\r\n"
      "}\r\n"
      "\r\n"
      "a:hover {\r\n"
      "\tbackground-color: transparent;\r\n"
      "\tcolor: #FF0000;\r\n"
      "}\r\n"
      "\r\n"
      "/* Header */\r\n"
      "div#header h1 {\r\n"
      "\tfont-family: tahoma, arial, helvetica, sans-serif;\r\n"
      "\ttext-align: center;\r\n"
      "\tbackground-color: transparent;\r\n"
      "\tcolor: #000000;\r\n"
      "}\r\n"
      "\r\n"
      "/* Thumbnail Index */\r\n"
      "div#index {\r\n"
      "\tmargin: 1ex 0 1ex 0;\r\n"
      "\ttext-align: center;\r\n"
      "}\r\n"
      "\r\n"
      "div#index table {\r\n"
      "\ttext-align: center;\r\n"
      "\tmargin: 0 auto 0 auto;\r\n"
      "}\r\n"
      "\r\n"
      "div#index td.thumbcell {\r\n"
      "\twidth: 100px;\r\n"
      "\tborder-style: solid;\r\n"
      "\tborder-color: #D7D7D7;\r\n"
      "\tborder-width: 1px;\r\n"
      "\ttext-align: center;\r\n"
      "\tvertical-align: middle;\r\n"
      "\tpadding: 10px;\r\n"
      "}\r\n"
      "\r\n"
      "div#index td.thumbcell img {\r\n"
      "\tborder-style: none;\r\n"
      "}\r\n"
      "\r\n"
      "div#index div.pages {\r\n"
      "\tfont-family: tahoma, arial, helvetica, sans-serif;\r\n"
      "\tfont-size: 0.8em;\r\n"
      "\ttext-align: right;\r\n"
      "}\r\n"
      "\r\n"
      "/* Photo Navigation */\r\n"
      "div#navigation {\r\n"
      "\ttext-align: center;\r\n"
      "\tfont-family: tahoma, arial, helvetica, sans-serif;\r\n"
      "\tfont-size: 0.8em;\r\n"
      "\tmargin: 1ex 0 1ex 0;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation table {\r\n"
      "\ttext-align: center;\r\n"
      "\tmargin: 0 auto 0 auto;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation td.previous {\r\n"
      "\ttext-align: left;\r\n"
      "\twidth: 100px;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation td.index {\r\n"
      "\ttext-align: center;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation td.next {\r\n"
      "\ttext-align: right;\r\n"
      "\twidth: 100px;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation td.thumbcell {\r\n"
      "\twidth: 100px;\r\n"
      "\tborder-style: solid;\r\n"
      "\tborder-color: #D7D7D7;\r\n"
      "\tborder-width: 1px;\r\n"
      "\ttext-align: center;\r\n"
      "\tvertical-align: middle;\r\n"
      "\tpadding: 10px;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation td.thumbcell img {\r\n"
      "\tborder-style: none;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation td.selected {\r\n"
      "\tborder-style: outset;\r\n"
      "\tborder-width: 2px;\r\n"
      "}\r\n"
      "\r\n"
      "div#navigation span.home {\r\n"
      "\tdisplay: block;\r\n"
      "\tpadding-bottom: 1em;\r\n"
      "}\r\n"
      "\r\n"
      "/* Photograph */\r\n"
      "div#photograph {\r\n"
      "\ttext-align: center;\r\n"
      "\tmargin: 1ex 0 1ex 0;\r\n"
      "}\r\n"
      "\r\n"
      "div#photograph img {\r\n"
      "\tmargin: 0 auto 0 auto;\r\n"
      "\tborder-style: solid;\r\n"
      "\tborder-color: #000000;\r\n"
      "\tborder-width: 1px;\r\n"
      "}\r\n"
      "\r\n"
      "/* Photograph Title */\r\n"
      "h1.title {\r\n"
      "\ttext-align: center;\r\n"
      "\tfont-family: tahoma, arial, helvetica, sans-serif;\r\n"
      "\tfont-size: 0.8em;\r\n"
      "\tfont-weight: bold;\r\n"
      "\tmargin: 0px;\r\n"
      "}\r\n"
      "\r\n"
      "/* Photograph Caption */\r\n"
      "p.caption, p.description {\r\n"
      "\tfont-family: tahoma, arial, helvetica, sans-serif;\r\n"
      "\ttext-align: justify;\r\n"
      "\tfont-size: 0.8em;\r\n"
      "\tdisplay: block;\r\n"
      "\twidth: 640px;\r\n"
      "\tmargin: auto;\r\n"
      "}\r\n"
      "\r\n"
      "/* Footnote */\r\n"
      "p.footnote {\r\n"
      "\tfont-family: tahoma, arial, helvetica, sans-serif;\r\n"
      "\tfont-size: 0.6em;\r\n"
      "\ttext-align: right;\r\n"
      "\tpadding: 0 2em 0 0;\r\n"
      "}\r\n";
  EXPECT_EQ(test::ReadFile(dir.File("main.css")), expected);
}

TEST(Stylesheet, FillsEveryPlaceholderFromTheAlbum) {
  TAlbum album;
  album.Settings.ThumbWidth = 123;
  album.Settings.PhotoWidth = 800;
  album.Settings.ColorScheme.SetPageColor(0x000000);
  album.Settings.ColorScheme.TextColor = 0x010203;
  album.Settings.ColorScheme.LinkColor = 0x0A0B0C;
  album.Settings.ColorScheme.HotLinkColor = 0x00FF00;
  TLineList lines = {"body {", "\twidth: <THUMB_WIDTH>px;",
                     "<PAGE_COLOR><TEXT_COLOR><LINK_COLOR><HOTLINK_COLOR><BORDER_COLOR><PHOTO_WIDTH><PAGE_COLOR>"};
  TAlbumPageGenerator(album).FillStylesheet(lines);
  EXPECT_EQ(lines, (TLineList{"body {", "\twidth: 123px;", "#000000#030201#0C0B0A#00FF00#282828800#000000"}));
}

}  // namespace
}  // namespace folivant
