#include "editor/windowstate.h"

#include <gtest/gtest.h>

#include "platform/settingsstore.h"

namespace folivant {
namespace {

constexpr TExtent kDesign{760, 560};
constexpr TExtent kScreen{1921, 1081};

TEST(WindowState, FirstRunCentresTheDesignSize) {
  TSettingsKey root("Folivant");
  const TWindowState state = ReadWindowState(root, kDesign, kScreen);
  EXPECT_EQ(state.CurrentTip, -1);
  EXPECT_FALSE(state.Maximized);
  EXPECT_EQ(state.Left, (1921 - 760) / 2);
  EXPECT_EQ(state.Top, (1081 - 560) / 2);
  EXPECT_EQ(state.Width, 760);
  EXPECT_EQ(state.Height, 560);
}

TEST(WindowState, ValuesThatAreNotIntegersGiveTheirDefaults) {
  struct Row {
    const char* text;
    int32_t width;
  };
  const Row rows[] = {{"300", 300},  {"-20", -20},   {"12", 12},    {"", 760},
                      {"wide", 760}, {"300px", 760}, {" 300", 760}, {"99999999999", 760}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    TSettingsKey root("Folivant");
    root.CreateKey("WindowPos").WriteString("Width", r.text);
    EXPECT_EQ(ReadWindowState(root, kDesign, kScreen).Width, r.width);
  }
}

TEST(WindowState, AnyNonZeroIntegerMaximizes) {
  struct Row {
    const char* text;
    bool maximized;
  };
  const Row rows[] = {{"1", true}, {"0", false}, {"-1", true}, {"yes", false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    TSettingsKey root("Folivant");
    root.CreateKey("settings").WriteString("MAXIMIZED", r.text);
    EXPECT_EQ(ReadWindowState(root, kDesign, kScreen).Maximized, r.maximized);
  }
}

TEST(WindowState, MaximizedRunKeepsTheEarlierNormalBounds) {
  TSettingsKey root("Folivant");
  TWindowState normal{3, false, 40, 50, 700, 500};
  WriteWindowState(root, normal);
  TWindowState maximized{4, true, 0, 0, 1920, 1080};
  WriteWindowState(root, maximized);

  EXPECT_EQ(root.OpenKey("Settings")->ReadString("CurrentTip"), "4");
  EXPECT_EQ(root.OpenKey("Settings")->ReadString("Maximized"), "1");
  const TWindowState read = ReadWindowState(root, kDesign, kScreen);
  EXPECT_TRUE(read.Maximized);
  EXPECT_EQ(read.CurrentTip, 4);
  EXPECT_EQ(read.Top, 40);
  EXPECT_EQ(read.Left, 50);
  EXPECT_EQ(read.Width, 700);
  EXPECT_EQ(read.Height, 500);
  EXPECT_EQ(root.OpenKey("WindowPos")->ReadString("Width"), "700");
}

}  // namespace
}  // namespace folivant
