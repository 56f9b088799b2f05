#include "editor/stylesheetfile.h"

#include <gtest/gtest.h>

#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

TEST(StylesheetFile, ReadsUtf8OrWindows1252Lines) {
  struct Row {
    const char* why;
    std::string bytes;
    TLineList lines;
  };
  const Row rows[] = {
      {"UTF-8 stays as it is", "a { content: \"\xC3\xA9\"; }\r\n", {"a { content: \"\xC3\xA9\"; }"}},
      {"Windows-1252 becomes UTF-8", "/* caf\xE9 \x80 */\r\n", {"/* caf\xC3\xA9 \xE2\x82\xAC */"}},
      {"the byte-order mark is dropped",
       "\xEF\xBB\xBF"
       "body {\n}\n",
       {"body {", "}"}},
      {"every kind of line break, a last line without one", "a\r\nb\rc\n\n\td", {"a", "b", "c", "", "\td"}},
      {"an empty file has no lines", "", {}}};
  TTempDir folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(ReadStylesheetFile(folder.Write("template.css", row.bytes)), row.lines);
  }
}

TEST(StylesheetFile, MissingFileNamesThePath) {
  TTempDir folder;
  const std::string path = folder.File("none.css");
  EXPECT_THROW_MSG(ReadStylesheetFile(path), "Cannot open file \"" + path + "\". No such file or directory");
}

}  // namespace
}  // namespace folivant
