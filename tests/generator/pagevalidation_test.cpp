#include <gtest/gtest.h>

#include "generator/pagegenerator.h"
#include "pagetestutil.h"
#include "platform/text.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::RunCommand;
using test::TCommandResult;
using test::ValidateXhtml;

class XhtmlValidation : public testing::Test {
 protected:
  void SetUp() override {
    // Absent tools fail the test rather than skip it: tools/bootstrap installs them.
    ASSERT_EQ(RunCommand("xmllint --version").status, 0) << "xmllint is missing (package libxml2-utils)";
  }

  std::string Write(const std::string& name, const TLineList& page) {
    const std::string path = dir_.File(name);
    WriteLinesToFile(page, path);
    return path;
  }

  test::TTempDir dir_;
};

void MakeTravelAlbum(TAlbum& album) {
  album.Title = "Trip to Zürich";
  album.Description = "First paragraph.\r\n\r\nSecond paragraph.";
  album.Settings.HomeURL = "http://example.org/?a=1&b=2";
  album.Settings.ThumbnailRows = 1;
  album.Settings.ThumbnailCols = 2;
  test::AddPhoto(album, "bridge", "Bridge", "Morning.\r\n\r\nFog on the river.");
  test::AddPhoto(album, "lake", "Lake \"Zürichsee\"", "");
  test::AddPhoto(album, "tower", "", "A caption.").FileName = "/photos/tower.jpg";
  test::AddPhoto(album, "old_town", "Old Town", "Evening.");
  test::AddPhoto(album, "station", "Station", "");
}

TEST_F(XhtmlValidation, GeneratedPagesAreXhtmlStrict) {
  TAlbum album;
  MakeTravelAlbum(album);
  std::vector<std::string> pages;
  {
    const TAlbumPageGenerator generator(album);
    for (int page = 1; page <= generator.IndexPageCount(); ++page)
      pages.push_back(Write(TAlbumPageGenerator::IndexPageFileName(page), generator.BuildIndexPage(page)));
    for (int i = 0; i < album.Photographs.Count(); ++i)
      pages.push_back(Write(generator.PhotoPageFileName(i), generator.BuildPhotoPage(i)));
  }
  album.Settings.NavigationBelowPhoto = true;
  album.Settings.NavigateInLoop = true;
  pages.push_back(Write("below-in-loop.html", TAlbumPageGenerator(album).BuildPhotoPage(0)));
  ASSERT_EQ(pages.size(), 3u + 5 + 1);

  const TCommandResult result = ValidateXhtml(pages);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output, "");
}

TEST_F(XhtmlValidation, CharactersXmlForbidsNeverReachAPage) {
  // Typed or read from IPTC data: controls, and the two non-characters U+FFFE and U+FFFF.
  TAlbum album;
  album.Title = "Sun\x01set in Z\xC3\xBCrich\x1B";
  album.Description = "Bell\x07 tolls\r\n\x0B\t<b>bold</b>\xEF\xBF\xBE";
  album.Settings.HomeURL = "http://example.org/\x08home";
  test::AddPhoto(album, "bell", "Bell\x07", "Caption\x0C one\xEF\xBF\xBF");
  test::AddPhoto(album, "file", "").FileName = "/photos/x\x1Fy.jpg";
  const TAlbumPageGenerator generator(album);
  const TLineList index = generator.BuildIndexPage(1);
  const TLineList first = generator.BuildPhotoPage(0);
  const TLineList second = generator.BuildPhotoPage(1);

  const TCommandResult result =
      ValidateXhtml({Write("index.html", index), Write("bell.html", first), Write("file.html", second)});
  EXPECT_EQ(result.status, 0) << result.output;
  const std::string index_text = JoinLinesCrLf(index), first_text = JoinLinesCrLf(first);
  EXPECT_NE(index_text.find("<h1>Sunset in Z\xC3\xBCrich</h1>"), std::string::npos) << index_text;
  EXPECT_NE(index_text.find("<p class=\"description\">Bell tolls</p>\r\n"
                            "<p class=\"description\">\t<b>bold</b></p>\r\n"),
            std::string::npos)
      << "everything else stays byte for byte, markup included";
  EXPECT_NE(index_text.find("href=\"http://example.org/home\""), std::string::npos);
  EXPECT_NE(index_text.find("title=\"Bell\""), std::string::npos);
  EXPECT_NE(first_text.find("<title>Bell</title>"), std::string::npos);
  EXPECT_NE(first_text.find(">Caption one</p>"), std::string::npos);
  EXPECT_NE(JoinLinesCrLf(second).find("<title>xy.jpg</title>"), std::string::npos) << "a title from the file name";
}

TEST_F(XhtmlValidation, CatchesAnInvalidPage) {
  TAlbum album;
  test::AddPhoto(album, "p", "P");
  TLineList page = TAlbumPageGenerator(album).BuildPhotoPage(0);
  // An image without alt text is not XHTML 1.0 Strict.
  for (std::string& line : page) line = ReplaceAll(line, " alt=\"p.jpg\"", "");
  const TCommandResult result = ValidateXhtml({Write("invalid.html", page)});
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.output.find("alt"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace folivant
