#include <gtest/gtest.h>

#include "editor/windowstate.h"
#include "platform/settingsstore.h"

namespace folivant {
namespace {

TEST(WindowState, BoundsSavedAtAnotherScaleCoverAsMuchOfTheScreen) {
  struct Row {
    const char* why;
    int32_t saved_at, now;
    TWindowState expected;
  };
  const TWindowState saved{0, false, 40, 60, 950, 500, 200};
  const Row rows[] = {{"saved at 2x, shown at 1x", 200, 100, {0, false, 80, 120, 1900, 1000, 100}},
                      {"saved at 1x, shown at 2x", 100, 200, {0, false, 20, 30, 475, 250, 200}},
                      {"saved at 1.5x, shown at 1x", 150, 100, {0, false, 60, 90, 1425, 750, 100}},
                      {"the same scale", 200, 200, saved},
                      {"an older version's bounds, of unknown scale", 0, 100, {0, false, 40, 60, 950, 500, 0}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TSettingsKey root("Folivant");
    TWindowState written = saved;
    written.Scale = row.saved_at;
    WriteWindowState(root, written);
    const TWindowState read = AtScale(ReadWindowState(root, {760, 560}, {1920, 1080}), row.now);
    EXPECT_EQ(read.Top, row.expected.Top);
    EXPECT_EQ(read.Left, row.expected.Left);
    EXPECT_EQ(read.Width, row.expected.Width);
    EXPECT_EQ(read.Height, row.expected.Height);
    EXPECT_EQ(read.Scale, row.expected.Scale);
  }
}

}  // namespace
}  // namespace folivant
