// A whole run on a small album, looked at from outside as a browser would.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "albumfolder.h"
#include "generation/generationrun.h"
#include "generator/utilities.h"
#include "model/albumfile.h"
#include "platform/resources.h"
#include "samplephotos.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

struct TPictureRow {
  const char* file;  // nullptr: a missing photograph
  const char* title;
  int width, height;
  TRotation rotation;
  const char* web_name;
  bool images;
};

// Eight photographs: a missing one, a ".jpe" one (a file type the renderer
// does not take), titles that share a web name, upper-case extensions, a
// portrait and turned ones.
const TPictureRow kAlbum[] = {
    {"harbour.jpg", "Harbour", 300, 200, TRotation::None, "harbour", true},
    {"tower.JPG", "Tower", 200, 300, TRotation::None, "tower", true},
    {nullptr, "Gone", 0, 0, TRotation::None, "gone", false},
    {"old.jpe", "Old Town", 240, 180, TRotation::None, "oldtown", false},
    {"beach1.jpeg", "Beach", 320, 240, TRotation::None, "beach", true},
    {"beach2.JPEG", "beach!", 320, 240, TRotation::Right, "beach2", true},
    {"dsc_0001.jpg", "", 400, 100, TRotation::Left, "dsc_0001", true},
    {"square.jpg", "Square", 150, 150, TRotation::UpsideDown, "square", true},
};

class GenerationFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    album_.Title = "Harbour Hills";  // album texts without markup, so the pages validate
    album_.Settings.ThumbnailRows = 2;
    album_.Settings.ThumbnailCols = 2;
    for (const TPictureRow& row : kAlbum) {
      const std::string path = row.file
                                   ? photos_.Write(row.file, samples::MakeSamplePhoto(1, row.width, row.height, {}))
                                   : photos_.File("gone.jpg");
      TPhotograph& photograph = album_.Photographs.Add(std::make_unique<TPhotograph>());
      photograph.SetFileName(path);
      photograph.Title = row.title;
      photograph.Rotation = row.rotation;
    }
    ASSERT_EQ(CheckFinish(album_, out_.Path(), "", [](const std::string&) { return true; }), TFinishCheck::Ready);
    TGenerationRun run(album_, SplitLines(*FindResource("defaultstylesheet")));
    while (run.RunTick()) {
    }
    ASSERT_TRUE(run.Completed());
    for (const TPhotographWithoutImages& photograph : run.PhotographsWithoutImages())
      without_images_.push_back(photograph.Index);
  }

  std::string Out(const std::string& name) const { return out_.File(name); }

  TTempDir photos_;
  TTempDir out_;
  TAlbum album_;
  std::vector<int> without_images_;
};

TEST_F(GenerationFolder, HoldsEveryFileByItsName) {
  std::set<std::string> expected = {"main.css", "HarbourHills.alb", "index.html", "index2.html"};
  for (const TPictureRow& row : kAlbum) {
    expected.insert(std::string(row.web_name) + ".html");
    if (!row.images) continue;
    expected.insert(std::string(row.web_name) + ".jpg");
    expected.insert(std::string(row.web_name) + "_small.jpg");
  }
  EXPECT_EQ(test::FilesIn(out_.Path()), expected);
  EXPECT_EQ(without_images_, (std::vector<int>{2, 3}));
}

TEST_F(GenerationFolder, EveryLinkResolvesButThoseToPhotographsWithoutImages) {
  const std::set<std::string> without_images = {"gone.jpg", "gone_small.jpg", "oldtown.jpg", "oldtown_small.jpg"};
  const std::vector<std::string> broken = test::BrokenLinks(out_.Path());
  for (const std::string& link : broken) EXPECT_TRUE(without_images.contains(link.substr(link.find(": ") + 2))) << link;
  for (const char* link : {"gone.html: gone.jpg", "oldtown.html: oldtown.jpg", "index.html: gone_small.jpg",
                           "index.html: oldtown_small.jpg"})
    EXPECT_NE(std::find(broken.begin(), broken.end(), link), broken.end()) << link;
}

TEST_F(GenerationFolder, PagesAreXhtmlStrict) {
  std::vector<std::string> pages;
  for (const std::string& name : test::FilesIn(out_.Path()))
    if (name.ends_with(".html")) pages.push_back(Out(name));
  ASSERT_EQ(pages.size(), std::size(kAlbum) + 2);
  const test::TCommandResult result = test::ValidateXhtml(pages);
  EXPECT_EQ(result.status, 0) << result.output;
}

TEST_F(GenerationFolder, TheAlbumCopyLoadsBackEqual) {
  const std::unique_ptr<TAlbum> copy = TAlbum::LoadFromFile(Out("HarbourHills.alb"));
  EXPECT_TRUE(copy->HasMissing) << "it has a missing photograph";
  EXPECT_EQ(AlbumFileText(*copy), AlbumFileText(album_));
  EXPECT_EQ(copy->Settings.OutputDirectory, out_.Path() + "/");
}

TEST_F(GenerationFolder, PhotographsAndThumbnailsDecodeAtTheirSizes) {
  // Turned size, then 640 wide and in proportion; thumbnails fit 100 x 75.
  struct Row {
    const char* name;
    int width, height;
  };
  const Row rows[] = {
      {"harbour.jpg", 640, 426},      {"harbour_small.jpg", 100, 66}, {"tower.jpg", 640, 960},
      {"tower_small.jpg", 50, 75},    {"beach.jpg", 640, 480},        {"beach_small.jpg", 100, 75},
      {"beach2.jpg", 640, 853},       {"beach2_small.jpg", 56, 75},   {"dsc_0001.jpg", 640, 2560},
      {"dsc_0001_small.jpg", 18, 75}, {"square.jpg", 640, 640},       {"square_small.jpg", 100, 100},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(test::DecodedJpegSize(Out(row.name)), std::make_pair(row.width, row.height));
  }
}

}  // namespace
}  // namespace folivant
