// The modern page style: the pages on their own, then whole runs of an album
// of every shape, looked at as a browser and as the Nu Html Checker would.
#include "generator/modernpages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "albumfolder.h"
#include "generation/generationrun.h"
#include "generator/utilities.h"
#include "model/globalsettings.h"
#include "pagetestutil.h"
#include "photofiles.h"
#include "platform/filesystem.h"
#include "samplephotos.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::FilesIn;
using test::ReadFile;
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

// An album of every shape, generated by whole runs into one folder.
class ModernRun : public testing::Test {
 protected:
  void SetUp() override {
    struct Shape {
      const char* name;
      int width, height;
    };
    for (const Shape& shape : {Shape{"landscape", 1600, 1200}, Shape{"portrait", 600, 900}, Shape{"square", 1300, 1300},
                               Shape{"panorama", 3000, 400}}) {
      const std::string path =
          photos_.Write(std::string(shape.name) + ".jpg", samples::MakeSamplePhoto(1, shape.width, shape.height, {}));
      if (shape.name == std::string("landscape"))
        test::TagWithExiftool(
            path, {"-Make=Canon", "-Model=Canon EOS 5D", "-FNumber=2.8", "-ExposureTime=1/250", "-GPSLatitude=51.5",
                   "-GPSLatitudeRef=N", "-GPSLongitude=7.25", "-GPSLongitudeRef=W"});
      Add(path, shape.name);
    }
    Add(photos_.File("missing.jpg"), "missing");
    album_.Title = "Shapes";
    album_.Settings.PageStyle = TPageStyle::Modern;
    album_.Settings.ShowCameraData = true;
    album_.Settings.ThumbnailRows = 2;
    album_.Settings.ThumbnailCols = 2;
  }

  void Add(const std::string& path, const char* title) {
    TPhotograph& photograph = album_.Photographs.Add(std::make_unique<TPhotograph>());
    photograph.SetFileName(path);
    photograph.Title = title;
  }

  std::string Generate() {
    const std::string folder = out_.File("album") + "/";
    EXPECT_EQ(CheckFinish(album_, folder, "", [](const std::string&) { return true; }), TFinishCheck::Ready);
    TSettingsStore store(out_.File("config"));
    TGenerationRun run(album_, TGlobalSettings("", store).StylesheetTemplate(TPageStyle::Modern));
    while (run.RunTick()) {
    }
    EXPECT_TRUE(run.Completed());
    return folder;
  }

  TTempDir photos_, out_;
  TAlbum album_;
};

TEST_F(ModernRun, WritesDoubleImagesOnlyWherePicturesHoldThem) {
  const std::string folder = Generate();
  std::set<std::string> expected = {"main.css", "Shapes.alb", "index.html", "index2.html"};
  for (const char* name : {"landscape", "portrait", "square", "panorama", "missing"}) {
    expected.insert(std::string(name) + ".html");
    if (name == std::string("missing")) continue;
    for (const char* ending : {".jpg", "_small.jpg", "_small@2x.jpg"}) expected.insert(name + std::string(ending));
    if (name != std::string("portrait")) expected.insert(name + std::string("@2x.jpg"));
  }
  EXPECT_EQ(FilesIn(folder), expected) << "a 600-pixel portrait gets no 1280-pixel copy";

  struct Row {
    const char* file;
    int width, height;
  };
  const Row sizes[] = {{"landscape@2x.jpg", 1280, 960}, {"landscape_small@2x.jpg", 200, 150},
                       {"portrait.jpg", 640, 960},      {"portrait_small@2x.jpg", 100, 150},
                       {"square@2x.jpg", 1280, 1280},   {"panorama.jpg", 640, 85},
                       {"panorama@2x.jpg", 1280, 170},  {"panorama_small@2x.jpg", 200, 26}};
  for (const Row& row : sizes) {
    SCOPED_TRACE(row.file);
    EXPECT_EQ(test::DecodedJpegSize(folder + row.file), std::make_pair(row.width, row.height));
  }
  EXPECT_THAT(test::BrokenLinks(folder), ::testing::IsEmpty());

  const std::string landscape = ReadFile(folder + "landscape.html");
  EXPECT_THAT(landscape, HasSubstr("<img src=\"landscape.jpg\" srcset=\"landscape.jpg 1x, landscape@2x.jpg 2x\" "
                                   "width=\"640\" height=\"480\""));
  EXPECT_THAT(landscape, HasSubstr("<div><dt>Camera</dt><dd>Canon EOS 5D</dd></div>"));
  EXPECT_THAT(landscape, HasSubstr("<div><dt>Aperture</dt><dd>f/2.8</dd></div>"));
  EXPECT_THAT(landscape, HasSubstr("<div><dt>Exposure</dt><dd>1/250 s</dd></div>"));
  for (const char* location : {"51", "7.25", "GPS"}) EXPECT_THAT(landscape, Not(HasSubstr(location)));
  EXPECT_THAT(ReadFile(folder + "portrait.html"), HasSubstr("<img src=\"portrait.jpg\" width=\"640\" height=\"960\""));
  EXPECT_THAT(ReadFile(folder + "missing.html"), HasSubstr("This photograph is not available."));
  EXPECT_THAT(ReadFile(folder + "Shapes.alb"), HasSubstr("<pagestyle>modern</pagestyle>"));

  // The published images carry no metadata at all, so no location leaves the computer.
  const test::TCommandResult tags = test::RunCommand(
      "exiftool -q -q -s -G1 -EXIF:all -GPS:all -IPTC:all -XMP:all -Photoshop:all " + folder + "*.jpg");
  EXPECT_EQ(tags.status, 0) << tags.output;
  EXPECT_EQ(tags.output, "") << "exiftool found metadata in a published image";
  EXPECT_THAT(test::RunCommand("exiftool -q -q -s -GPS:all " + photos_.File("landscape.jpg")).output,
              HasSubstr("GPSLatitude"))
      << "the source photograph does carry a location";
}

TEST_F(ModernRun, PagesPassTheHtmlChecker) {
  const std::string jar = FOLIVANT_VNU_JAR;
  if (!FileExists(jar) || test::RunCommand("java -version").status != 0)
    GTEST_SKIP() << "the Nu Html Checker needs java and " << jar << " (tools/bootstrap installs both)";
  album_.Photographs[0].Caption = "Evening light & <em>long</em> shadows.";
  album_.Description = "Every shape of picture.\r\nAnd a missing one.";
  album_.Settings.HomeURL = "https://example.org/?a=1&b=2";
  const std::string folder = Generate();
  const test::TCommandResult result =
      test::RunCommand("java -jar '" + jar + "' --errors-only --skip-non-html " + folder + " 2>&1");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output, "");
}

}  // namespace
}  // namespace folivant
