#include "editor/findfiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testutil.h"

namespace folivant {
namespace {

TEST(FindFiles, MatchesFileNamesWithoutRegardToCase) {
  test::TTempDir dir;
  for (const char* name : {"b.jpg", "A.JPG", ".hidden.jpg", "c.jpeg", "d.png", "jpg", "e.jpg.txt"}) dir.Write(name, "");
  std::filesystem::create_directories(dir.File("folder.jpg/sub"));
  dir.Write("folder.jpg/f.Jpg", "");
  dir.Write("folder.jpg/sub/g.jpg", "");

  struct Row {
    const char* why;
    const char* pattern;
    bool recursive;
    std::vector<std::string> names;
  };
  const Row rows[] = {
      {"files only, in byte order, hidden ones too", "*.jpg", false, {".hidden.jpg", "A.JPG", "b.jpg"}},
      {"sub-folders after the folder's own files",
       "*.jpg",
       true,
       {".hidden.jpg", "A.JPG", "b.jpg", "folder.jpg/f.Jpg", "folder.jpg/sub/g.jpg"}},
      {"another pattern", "*.JPEG", false, {"c.jpeg"}},
      {"no match", "*.gif", true, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    std::vector<std::string> list = {"kept"};
    const int count = FindFiles(dir.Path(), row.pattern, row.recursive, list);
    std::vector<std::string> expected = {"kept"};
    for (const std::string& name : row.names) expected.push_back(dir.File(name));
    EXPECT_EQ(list, expected);
    EXPECT_EQ(count, static_cast<int>(row.names.size()));
  }
}

TEST(FindFiles, AFolderImportTakesTheJpgFilesThenTheJpegFiles) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("sub"));
  for (const char* name : {"a.jpeg", "b.JPG", "c.jpe", "d.jpg", "sub/e.jpg"}) dir.Write(name, "");
  EXPECT_EQ(FindPhotographs(dir.Path()),
            (std::vector<std::string>{dir.File("b.JPG"), dir.File("d.jpg"), dir.File("a.jpeg")}));
}

TEST(FindFiles, AFolderThatCannotBeReadAddsNothing) {
  std::vector<std::string> list;
  EXPECT_EQ(FindFiles("/nonexistent/folivant", "*.jpg", true, list), 0);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace folivant
