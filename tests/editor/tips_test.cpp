#include "editor/tips.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

std::string TipsFile(int count, int present) {
  std::string text = "[Info]\nCount=" + std::to_string(count) + "\n[Tips]\n";
  for (int i = 0; i < present; ++i) text += "Tip" + std::to_string(i) + "=tip " + std::to_string(i) + "\n";
  return text;
}

TEST(Tips, NextTipWalksRoundTheFile) {
  struct Row {
    const char* why;
    std::string file;  // empty: no tips.ini
    int32_t stored;
    std::vector<std::string> shown;
    int32_t last_index;
  };
  const std::string error = "Error loading tips.";
  const Row rows[] = {
      {"first start wraps after five", TipsFile(5, 5), -1, {"tip 0", "tip 1", "tip 2", "tip 3", "tip 4", "tip 0"}, 0},
      {"stored 4 of 5 starts over", TipsFile(5, 5), 4, {"tip 0"}, 0},
      {"stored 9 after the file shrank to 3", TipsFile(3, 3), 9, {"tip 0", "tip 1"}, 1},
      {"stored -3 passes two missing keys", TipsFile(5, 5), -3, {error, error, "tip 0"}, 0},
      {"more counted than present", TipsFile(3, 1), 0, {error, error, "tip 0"}, 0},
      {"no file", "", 5, {error, error}, 0},
      {"stored at the 32-bit limit", TipsFile(2, 2), INT32_MAX, {"tip 0"}, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir folder;
    if (!row.file.empty()) folder.Write("tips.ini", row.file);
    TTips tips(folder.Path(), row.stored);
    EXPECT_EQ(tips.CurrentIndex(), row.stored);
    std::vector<std::string> shown;
    for (size_t i = 0; i < row.shown.size(); ++i) shown.push_back(tips.NextTip());
    EXPECT_EQ(shown, row.shown);
    EXPECT_EQ(tips.CurrentIndex(), row.last_index);
  }
}

TEST(Tips, FileIsReadAsProfileFilesAre) {
  struct Row {
    const char* why;
    std::string file;
    int32_t count;
    std::string tip0;
  };
  const std::string long_tip(3000, 'x');
  const std::string accented = std::string(2046, 'a') + "\xC3\xA9\xC3\xA9";
  const Row rows[] = {
      {"names ignore case", "[INFO]\ncount=1\n[tips]\nTIP0=hello\n", 1, "hello"},
      {"one pair of quotes goes", "[Info]\nCount=1\n[Tips]\nTip0 = \"\"quoted\"\" \n", 1, "\"quoted\""},
      {"0x counts", "[Info]\nCount=0x2\n[Tips]\nTip0=a\n", 2, "a"},
      {"$ does not", "[Info]\nCount=$2\n[Tips]\nTip0=a\n", 0, "a"},
      {"no number", "[Info]\nCount=many\n", 0, "Error loading tips."},
      {"2047 characters are used", "[Info]\nCount=1\n[Tips]\nTip0=" + long_tip + "\n", 1, long_tip.substr(0, 2047)},
      {"a character is never cut", "[Info]\nCount=1\n[Tips]\nTip0=" + accented + "\n", 1,
       accented.substr(0, accented.size() - 2)}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir folder;
    folder.Write("tips.ini", row.file);
    TTips tips(folder.Path(), -1);
    EXPECT_EQ(tips.TipCount(), row.count);
    EXPECT_EQ(tips.NextTip(), row.tip0);
  }
}

TEST(Tips, StartUpShowsATipOnlyWhenWantedAndThere) {
  struct Row {
    const char* why;
    std::string file;  // empty: no tips.ini
    bool show_tips;
    std::optional<std::string> shown;
    int32_t index_after;
  };
  const Row rows[] = {{"wanted and there", TipsFile(3, 3), true, "tip 2", 2},
                      {"turned off keeps the index", TipsFile(3, 3), false, std::nullopt, 1},
                      {"no file", "", true, std::nullopt, 1},
                      {"a count of 0", TipsFile(0, 2), true, std::nullopt, 1},
                      {"a negative count", "[Info]\nCount=-2\n[Tips]\nTip0=a\n", true, std::nullopt, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir folder;
    if (!row.file.empty()) folder.Write("tips.ini", row.file);
    TTips tips(folder.Path(), 1);
    EXPECT_EQ(tips.StartUpTip(row.show_tips), row.shown);
    EXPECT_EQ(tips.CurrentIndex(), row.index_after);
  }
}

TEST(Tips, ShowTipsIsOnUnlessStoredOff) {
  struct Row {
    const char* why;
    std::optional<std::string> stored;
    bool show;
  };
  const Row rows[] = {
      {"first start", std::nullopt, true}, {"off", "0", false}, {"on", "1", true}, {"edited by hand", "no", true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TSettingsKey root("Folivant");
    if (row.stored) root.CreateKey("settings").WriteString("SHOWTIPS", *row.stored);
    EXPECT_EQ(ReadShowTips(root), row.show);
  }
  for (const bool show : {false, true}) {
    TSettingsKey root("Folivant");
    root.CreateKey("Settings").WriteString("CurrentTip", "4");
    WriteShowTips(root, show);
    EXPECT_EQ(ReadShowTips(root), show);
    EXPECT_EQ(root.OpenKey("Settings")->ReadString("ShowTips"), show ? "1" : "0");
    EXPECT_EQ(root.OpenKey("Settings")->ReadString("CurrentTip"), "4");
  }
}

TEST(Tips, ShippedTipsAreAllThere) {
  TTips tips(ProgramFolder(), -1);
  ASSERT_GE(tips.TipCount(), 10);
  for (int32_t i = 0; i < tips.TipCount(); ++i) {
    const std::string tip = tips.NextTip();
    SCOPED_TRACE(i);
    EXPECT_NE(tip, "Error loading tips.");
    EXPECT_LT(tip.size(), 2047u);
  }
}

}  // namespace
}  // namespace folivant
