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

TEST(WindowState, FitOnScreenBringsLostPlacementsBack) {
  // A laptop screen at 1.5x (1280 x 800 available below a 32-pixel panel) with a second screen to its right.
  const std::vector<TScreenRect> screens = {{0, 32, 1280, 768}, {1280, 0, 1920, 1080}};
  struct TBounds {
    int32_t left, top, width, height;
  };
  struct Row {
    const char* why;
    TBounds stored, fitted;
  };
  const Row rows[] = {
      {"inside the first screen: kept", {100, 50, 700, 500}, {100, 50, 700, 500}},
      {"inside the second screen: kept", {2000, 100, 800, 600}, {2000, 100, 800, 600}},
      {"tiny stays tiny", {10, 40, 1, 1}, {10, 40, 1, 1}},
      {"saved at 1x, larger than the screen now", {40, 40, 1800, 1100}, {0, 32, 1280, 768}},
      {"under the panel", {100, 0, 700, 500}, {100, 32, 700, 500}},
      {"half over the far edge: onto the screen it overlaps most", {3000, 900, 400, 400}, {2800, 680, 400, 400}},
      {"on a screen that is gone: onto the primary one", {-2000, -900, 700, 500}, {0, 32, 700, 500}},
      {"far beyond the last screen", {9000, 5000, 700, 500}, {580, 300, 700, 500}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    TWindowState stored;
    stored.Left = r.stored.left;
    stored.Top = r.stored.top;
    stored.Width = r.stored.width;
    stored.Height = r.stored.height;
    const TWindowState fitted = FitOnScreen(stored, screens);
    EXPECT_EQ(fitted.Left, r.fitted.left);
    EXPECT_EQ(fitted.Top, r.fitted.top);
    EXPECT_EQ(fitted.Width, r.fitted.width);
    EXPECT_EQ(fitted.Height, r.fitted.height);
  }
}

}  // namespace
}  // namespace folivant
