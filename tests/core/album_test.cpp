#include <gtest/gtest.h>

#include "model/albumclasses.h"
#include "testutil.h"

namespace folivant {
namespace {

TEST(ColorScheme, BorderFollowsPageBrightness) {
  struct Row {
    const char* why;
    TColor page;
    TColor border;
  };
  const Row rows[] = {{"white gets a darker border", 0xFFFFFF, 0xD7D7D7},
                      {"black gets a lighter border", 0x000000, 0x282828},
                      {"grey 128 is not above 128, so lighter", 0x808080, 0xA8A8A8},
                      {"blue is dark", 0xFF0000, 0xFF2828},
                      {"red is bright", 0x0000FF, 0x0000D7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TColorScheme scheme;
    scheme.SetPageColor(row.page);
    EXPECT_EQ(scheme.BorderColor(), row.border);
  }
}

TEST(Album, AssignWebNamesNeverRepeatsAName) {
  TAlbum album;
  for (const char* title : {"Beach", "beach", "BEACH!", "beach2"})
    album.Photographs.Add(std::make_unique<TPhotograph>()).Title = title;
  album.AssignWebNames();
  EXPECT_EQ(album.Photographs[0].WebName, "beach");
  EXPECT_EQ(album.Photographs[1].WebName, "beach2");
  EXPECT_EQ(album.Photographs[2].WebName, "beach3");
  EXPECT_EQ(album.Photographs[3].WebName, "beach22");
}

}  // namespace
}  // namespace folivant
