// The modern pages' light and dark looks, made from the album's colours.
#include "generator/themecolors.h"

#include <gtest/gtest.h>

#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "testutil.h"
#include "wizard/colorschemes.h"

namespace folivant {
namespace {

// Text as readable as the guidelines ask of normal text.
constexpr double kReadable = 4.5;

// Every scheme the program comes with gives a dark look whose texts and links
// read on its page, and a light look whose muted text reads where the
// scheme's own text does.
TEST(ThemeColors, EveryShippedSchemeStaysReadableInBothLooks) {
  const test::TTempDir config;
  TSettingsStore store(config.Path());
  const std::vector<TColorScheme> schemes = LoadSchemes(ProgramFolder(), store);
  ASSERT_GE(schemes.size(), 8U) << "schemes.ini beside the tests";
  for (const TColorScheme& scheme : schemes) {
    SCOPED_TRACE(scheme.Name);
    const TThemeColors dark = DarkTheme(scheme);
    for (const TColor color : {dark.Text, dark.Muted, dark.Link, dark.HotLink})
      EXPECT_GE(ContrastRatio(color, dark.Page), kReadable) << std::hex << color << " on " << dark.Page;
    const TThemeColors light = LightTheme(scheme);
    EXPECT_EQ(light.Link, scheme.LinkColor) << "the light look is the album's own";
    if (ContrastRatio(scheme.TextColor, scheme.PageColor()) >= kReadable) {
      EXPECT_GE(ContrastRatio(light.Muted, light.Page), kReadable);
    }
  }
  EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
}

}  // namespace
}  // namespace folivant
