#include "model/globalsettings.h"

#include <gtest/gtest.h>

#include "platform/filesystem.h"
#include "platform/text.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::ReadFile;
using test::TTempDir;

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

TEST(TextLines, EndAtEveryKindOfLineBreak) {
  struct Row {
    const char* why;
    const char* text;
    std::vector<std::string_view> lines;
  };
  const Row rows[] = {{"CR LF, CR and LF", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                      {"a final break adds no line", "a\n", {"a"}},
                      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
                      {"empty lines stay", "\n\n", {"", ""}},
                      {"nothing", "", {}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(SplitLineViews(row.text), row.lines);
  }
}

TEST(GlobalSettings, FirstStartTakesTheDefaultAndWritesNothing) {
  TTempDir folder;
  TSettingsStore store(folder.File("config"));
  TGlobalSettings settings("/usr/bin/", store);
  const std::vector<std::string>& lines = settings.StylesheetTemplate();
  ASSERT_EQ(lines.size(), 145u);
  EXPECT_EQ(lines.front(), "/* Main Selectors */");
  EXPECT_EQ(lines.back(), "}");
  EXPECT_EQ(JoinCrLf(lines), ReadFile(FOLIVANT_SOURCE_DIR "/resources/defaultstylesheet.css"));
  EXPECT_FALSE(DirectoryExists(folder.File("config")));
}

TEST(GlobalSettings, ShorterTemplateLeavesOldLinesBehindItsCount) {
  TTempDir folder;
  TSettingsStore store(folder.Path());
  TGlobalSettings settings("", store);
  std::vector<std::string> ten;
  for (int i = 0; i < 10; ++i) ten.push_back("old " + std::to_string(i));
  settings.SetStylesheetTemplate(ten);
  settings.SaveStylesheetTemplate();
  settings.SetStylesheetTemplate({"body {", "", "}"});
  settings.SaveStylesheetTemplate();

  const TSettingsKey& key = *store.Load().OpenKey("Stylesheet Template");
  EXPECT_EQ(key.ReadString("LineCount"), "3");
  EXPECT_EQ(key.ReadString("Line0"), "body {");
  EXPECT_EQ(key.ReadString("Line1"), "");
  for (int i = 3; i < 10; ++i) EXPECT_EQ(key.ReadString("Line" + std::to_string(i)), "old " + std::to_string(i));

  TGlobalSettings reloaded("", store);
  EXPECT_EQ(reloaded.StylesheetTemplate(), (std::vector<std::string>{"body {", "", "}"}));
}

TEST(GlobalSettings, StoredKeyIsReadAsItStands) {
  struct Row {
    const char* why;
    const char* json;
    size_t lines;
    const char* first;
  };
  const Row rows[] = {
      {"no LineCount gives an empty template", R"({"Stylesheet Template": {"Line0": "a"}})", 0, nullptr},
      {"a LineCount that is no number", R"({"stylesheet template": {"LineCount": "three", "Line0": "a"}})", 0, nullptr},
      {"a negative LineCount", R"({"Stylesheet Template": {"LineCount": "-2", "Line0": "a"}})", 0, nullptr},
      {"missing lines are empty", R"({"Stylesheet Template": {"LINECOUNT": "3", "line2": "c"}})", 3, ""},
      {"hexadecimal count", R"({"Stylesheet Template": {"LineCount": "$2", "Line0": "a"}})", 2, "a"},
      {"an absurd count is capped", R"({"Stylesheet Template": {"LineCount": "2000000000"}})", 100000, ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir folder;
    folder.Write("settings.json", row.json);
    TSettingsStore store(folder.Path());
    TGlobalSettings settings("", store);
    ASSERT_EQ(settings.StylesheetTemplate().size(), row.lines);
    if (row.first) {
      EXPECT_EQ(settings.StylesheetTemplate().front(), row.first);
    }
  }
}

TEST(GlobalSettings, RestoredDefaultIsSavedWhenAsked) {
  TTempDir folder;
  folder.Write("settings.json", R"({"Stylesheet Template": {"LineCount": "1", "Line0": "p {}"}})");
  TSettingsStore store(folder.Path());
  TGlobalSettings settings("", store);
  ASSERT_EQ(settings.StylesheetTemplate(), std::vector<std::string>{"p {}"});
  settings.RestoreDefaultStylesheet();
  settings.SaveStylesheetTemplate();
  EXPECT_EQ(TGlobalSettings("", store).StylesheetTemplate().size(), 145u);
}

TEST(GlobalSettings, EachPageStyleKeepsItsOwnTemplate) {
  TTempDir folder;
  TSettingsStore store(folder.File("config"));
  TGlobalSettings settings("", store);
  const std::vector<std::string> classic_default = settings.StylesheetTemplate(TPageStyle::Classic);
  const std::vector<std::string> modern_default = settings.StylesheetTemplate(TPageStyle::Modern);
  ASSERT_FALSE(modern_default.empty());
  EXPECT_NE(modern_default, classic_default) << "each style has a default of its own";

  settings.SetStylesheetTemplate({"p { }"}, TPageStyle::Modern);
  settings.SaveStylesheetTemplate(TPageStyle::Modern);
  TGlobalSettings reloaded("", store);
  EXPECT_EQ(reloaded.StylesheetTemplate(TPageStyle::Modern), std::vector<std::string>{"p { }"});
  EXPECT_EQ(reloaded.StylesheetTemplate(), classic_default) << "saving one style leaves the other alone";
  EXPECT_EQ(store.Load().OpenKey("Stylesheet Template"), nullptr) << "the classic key is not written";
  ASSERT_NE(store.Load().OpenKey("Modern Stylesheet Template"), nullptr);

  reloaded.RestoreDefaultStylesheet(TPageStyle::Modern);
  EXPECT_EQ(reloaded.StylesheetTemplate(TPageStyle::Modern), modern_default);
}

}  // namespace
}  // namespace folivant
