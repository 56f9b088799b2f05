// The modern pages' light and dark looks, made from the album's colours.
#include "generator/themecolors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini.h"

namespace folivant {
namespace {

// Text as readable as the guidelines ask of normal text.
constexpr double kReadable = 4.5;

// The colour schemes the program comes with, as data/schemes.ini has them.
std::vector<TColorScheme> ShippedSchemes() {
  const TIniFile ini = TIniFile::FromFile(std::string(FOLIVANT_SOURCE_DIR) + "/data/schemes.ini");
  std::vector<TColorScheme> schemes;
  for (int i = 0; i < ini.ReadInteger("Schemes", "NumSchemes", 0); ++i) {
    const std::string section = "Scheme" + std::to_string(i);
    TColorScheme& scheme = schemes.emplace_back();
    scheme.Name = ini.ReadString(section, "Name", "");
    scheme.SetPageColor(static_cast<TColor>(ini.ReadInteger(section, "Page", 0)));
    scheme.TextColor = static_cast<TColor>(ini.ReadInteger(section, "Text", 0));
    scheme.LinkColor = static_cast<TColor>(ini.ReadInteger(section, "Link", 0));
    scheme.HotLinkColor = static_cast<TColor>(ini.ReadInteger(section, "HLink", 0));
  }
  return schemes;
}

// Every scheme the program comes with gives a dark look whose texts and links
// read on its page, and a light look whose muted text reads where the
// scheme's own text does.
TEST(ThemeColors, EveryShippedSchemeStaysReadableInBothLooks) {
  const std::vector<TColorScheme> schemes = ShippedSchemes();
  ASSERT_GE(schemes.size(), 8U);
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
