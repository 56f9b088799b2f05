#include "wizard/previewgeometry.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace folivant {
namespace {

// The index preview's grid area in the wizard.
constexpr int kGridWidth = 143;
constexpr int kGridHeight = 131;

TEST(IndexPreviewGrid, FitsCellsOfTheThumbnailSize) {
  struct Row {
    const char* why;
    TPhotoSize size;
    int rows, cols;
    int cell_width, cell_height, shown_rows, shown_cols, left;
    bool vertical, horizontal;
  };
  const Row rows[] = {
      {"new album: 5 x 4 medium, centred", TPhotoSize::Medium, 5, 4, 28, 21, 5, 4, 15, false, false},
      {"25 rows small show 7", TPhotoSize::Small, 25, 4, 23, 17, 7, 4, 25, true, false},
      {"7 columns small show 6", TPhotoSize::Small, 5, 7, 23, 17, 5, 6, 2, false, true},
      {"the largest medium grid", TPhotoSize::Medium, 6, 5, 28, 21, 6, 5, 1, false, false},
      {"one more medium row scrolls", TPhotoSize::Medium, 7, 5, 28, 21, 6, 5, 1, true, false},
      {"large 25 x 25 scrolls both ways", TPhotoSize::Large, 25, 25, 35, 26, 5, 4, 1, true, true},
      {"a single large cell", TPhotoSize::Large, 1, 1, 35, 26, 1, 1, 54, false, false},
      {"custom thumbnails drawn as medium", TPhotoSize::Custom, 2, 2, 28, 21, 2, 2, 43, false, false},
      {"zero rows from a damaged file draw nothing", TPhotoSize::Medium, 0, 0, 28, 21, 0, 0, 71, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const TIndexPreviewGrid grid = IndexPreviewGrid(kGridWidth, kGridHeight, row.size, row.rows, row.cols);
    EXPECT_EQ(grid.CellWidth, row.cell_width);
    EXPECT_EQ(grid.CellHeight, row.cell_height);
    EXPECT_EQ(grid.ShownRows, row.shown_rows);
    EXPECT_EQ(grid.ShownCols, row.shown_cols);
    EXPECT_EQ(grid.Left, row.left);
    EXPECT_EQ(grid.VerticalScrollBar, row.vertical);
    EXPECT_EQ(grid.HorizontalScrollBar, row.horizontal);
  }
}

TEST(IndexPreviewGrid, CellsStartTwoPixelsInAndStartAtTheTop) {
  const TIndexPreviewGrid grid = IndexPreviewGrid(kGridWidth, kGridHeight, TPhotoSize::Medium, 5, 4);
  EXPECT_EQ(grid.Cell(0, 0), (TPreviewRect{17, 2, 43, 21}));
  EXPECT_EQ(grid.Cell(4, 3), (TPreviewRect{101, 86, 127, 105}));
  // The grid stays inside the area, with as much room left as right.
  const TPreviewRect last = grid.Cell(grid.ShownRows - 1, grid.ShownCols - 1);
  EXPECT_LE(last.Right, kGridWidth);
  EXPECT_LE(last.Bottom, kGridHeight);
  EXPECT_LE(std::abs((kGridWidth - last.Right) - (grid.Cell(0, 0).Left - 2)), 1);
}

TEST(PhotoPreviewStack, PutsTheThumbnailStripBetweenNavigationAndPhoto) {
  using enum TPhotoPreviewBlock;
  struct Row {
    const char* why;
    bool thumb_bar, below;
    std::vector<TPhotoPreviewBlock> order;
    std::vector<int> tops;
  };
  const Row rows[] = {
      {"bar on, navigation above", true, false, {Navigation, Thumbnails, Photo}, {8, 16, 37}},
      {"bar on, navigation below", true, true, {Photo, Thumbnails, Navigation}, {8, 153, 174}},
      {"bar off, navigation above", false, false, {Navigation, Photo}, {8, 16}},
      {"bar off, navigation below", false, true, {Photo, Navigation}, {8, 153}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    std::vector<TPhotoPreviewBlock> order;
    std::vector<int> tops;
    for (const TPhotoPreviewBlockPlace& place : PhotoPreviewStack(row.thumb_bar, row.below)) {
      order.push_back(place.Block);
      tops.push_back(place.Top);
    }
    EXPECT_EQ(order, row.order);
    EXPECT_EQ(tops, row.tops);
  }
}

TEST(IndexPreviewPages, CountsTheAlbumsRealIndexPages) {
  struct Row {
    const char* why;
    int photos, rows, cols, pages;
    const char* links;
  };
  const Row rows[] = {
      {"an empty album still has its index page", 0, 5, 4, 1, ""},
      {"one full page has no links", 20, 5, 4, 1, ""},
      {"one photograph more opens page 2", 21, 5, 4, 2, "Page [1] [2]"},
      {"five pages are all listed", 25, 1, 5, 5, "Page [1] [2] [3] [4] [5]"},
      {"2,000 photographs at 5 x 4", 2000, 5, 4, 100, "Page [1] [2] [3] ... [100]"},
      {"rows below 1 from a damaged file count as 1", 3, 0, 1, 3, "Page [1] [2] [3]"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    const int pages = IndexPreviewPageCount(r.photos, r.rows, r.cols);
    EXPECT_EQ(pages, r.pages);
    EXPECT_EQ(IndexPreviewPageLinks(pages), r.links);
  }
}

}  // namespace
}  // namespace folivant
