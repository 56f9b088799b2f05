#include "editor/recentalbums.h"

#include <gtest/gtest.h>

#include "platform/settingsstore.h"
#include "testutil.h"

namespace folivant {
namespace {

using TPaths = std::vector<std::string>;

TEST(RecentAlbums, NewestFirstWithoutRepeatsAndAtMostEight) {
  TPaths paths;
  for (int i = 1; i <= 9; ++i) paths = WithRecentAlbum(paths, "/albums/" + std::to_string(i) + ".alb");
  ASSERT_EQ(paths.size(), kMaxRecentAlbums);
  EXPECT_EQ(paths.front(), "/albums/9.alb");
  EXPECT_EQ(paths.back(), "/albums/2.alb");

  // Opening one again moves it to the top instead of adding it twice; so does
  // the same file named another way.
  paths = WithRecentAlbum(paths, "/albums/./5.alb");
  EXPECT_EQ(paths, (TPaths{"/albums/5.alb", "/albums/9.alb", "/albums/8.alb", "/albums/7.alb", "/albums/6.alb",
                           "/albums/4.alb", "/albums/3.alb", "/albums/2.alb"}));

  // A name relative to the program's working folder is kept absolute.
  const std::string relative = WithRecentAlbum({}, "trip.alb").front();
  EXPECT_EQ(relative.front(), '/');
  EXPECT_EQ(relative.substr(relative.size() - 9), "/trip.alb");
}

TEST(RecentAlbums, StoredListReadsBackAndShrinks) {
  TSettingsKey root("Folivant");
  EXPECT_TRUE(ReadRecentAlbums(root).empty());
  WriteRecentAlbums(root, {"/a.alb", "/b.alb", "/c.alb"});
  EXPECT_EQ(ReadRecentAlbums(root), (TPaths{"/a.alb", "/b.alb", "/c.alb"}));
  WriteRecentAlbums(root, {"/c.alb"});
  EXPECT_EQ(ReadRecentAlbums(root), TPaths{"/c.alb"});
  EXPECT_EQ(root.OpenKey("RecentAlbums")->ValueNames(), std::vector<std::string>{"File1"});

  // A hand-edited file: gaps, blanks and repeats are passed over.
  TSettingsKey& key = root.CreateKey("recentalbums");
  key.WriteString("File2", "");
  key.WriteString("File3", "/c.alb");
  key.WriteString("File5", "/e.alb");
  key.WriteString("File9", "/beyond.alb");
  EXPECT_EQ(ReadRecentAlbums(root), (TPaths{"/c.alb", "/e.alb"}));
}

TEST(RecentAlbums, MissingFilesAreDropped) {
  test::TTempDir dir;
  const std::string kept = dir.Write("kept.alb", "<folivant/>");
  dir.Write("folder.alb/x", "");
  EXPECT_EQ(WithoutMissingAlbums({dir.File("gone.alb"), kept, dir.File("folder.alb")}), TPaths{kept});
}

}  // namespace
}  // namespace folivant
