#include "editor/listcommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "editor/previewscale.h"
#include "model/metadata/imgdata.h"

namespace folivant {
namespace {

TRowSelection Selection(std::initializer_list<int> rows, int count) {
  TRowSelection selected(static_cast<size_t>(count));
  for (int row : rows) selected[static_cast<size_t>(row)] = true;
  return selected;
}

// Applies the moves to the row numbers 0..n-1, as the window applies them to the album.
std::vector<int> Order(const std::vector<int>& moves, int count, int offset) {
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  for (int row : moves) std::swap(order[static_cast<size_t>(row)], order[static_cast<size_t>(row + offset)]);
  return order;
}

TEST(ListCommands, MoveUpMovesEachRunOfSelectedRowsOnePlace) {
  TRowSelection selected = Selection({1, 2, 4}, 5);
  EXPECT_EQ(Order(MoveSelectedUp(selected), 5, -1), (std::vector<int>{1, 2, 0, 4, 3}));
  EXPECT_EQ(selected, Selection({0, 1, 3}, 5));
  EXPECT_TRUE(UpdateMoveCommands(selected).Up);

  // The run at the top stays; the single row below passes row 0.
  const std::vector<int> second = MoveSelectedUp(selected);
  EXPECT_EQ(second, std::vector<int>{3});
  EXPECT_EQ(selected, Selection({0, 1, 2}, 5));
  EXPECT_FALSE(UpdateMoveCommands(selected).Up);
  EXPECT_TRUE(UpdateMoveCommands(selected).Down);
}

TEST(ListCommands, MoveDownMirrorsMoveUp) {
  TRowSelection selected = Selection({0, 2, 3}, 5);
  EXPECT_EQ(Order(MoveSelectedDown(selected), 5, +1), (std::vector<int>{1, 0, 4, 2, 3}));
  EXPECT_EQ(selected, Selection({1, 3, 4}, 5));
  EXPECT_TRUE(UpdateMoveCommands(selected).Down);

  EXPECT_EQ(MoveSelectedDown(selected), std::vector<int>{1});
  EXPECT_EQ(selected, Selection({2, 3, 4}, 5));
  EXPECT_FALSE(UpdateMoveCommands(selected).Down);
}

TEST(ListCommands, NothingMovesAtTheEdges) {
  struct Row {
    const char* why;
    TRowSelection selected;
    bool up_moves;
    bool down_moves;
  };
  const Row rows[] = {{"empty list", {}, false, false},
                      {"nothing selected", Selection({}, 3), false, false},
                      {"top rows", Selection({0, 1}, 4), false, true},
                      {"bottom row", Selection({3}, 4), true, false},
                      {"every row", Selection({0, 1, 2}, 3), false, false},
                      {"middle row", Selection({1}, 3), true, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    const TMoveCommands enabled = UpdateMoveCommands(r.selected);
    EXPECT_EQ(enabled.Up, r.up_moves);
    EXPECT_EQ(enabled.Down, r.down_moves);
    TRowSelection up = r.selected;
    EXPECT_EQ(MoveSelectedUp(up).empty(), !r.up_moves);
    TRowSelection down = r.selected;
    EXPECT_EQ(MoveSelectedDown(down).empty(), !r.down_moves);
  }
}

TEST(ListCommands, DropsAddJpegFileNamesOnly) {
  struct Row {
    const char* path;
    bool added;
  };
  const Row rows[] = {{"/p/x.JPG", true}, {"/p/y.png", false},      {"/p/z.jpe", true},     {"/p/a.JpEg", true},
                      {"/p/jpg", false},  {"/p.jpg/readme", false}, {"/p/b.jpg.txt", false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(IsJpegName(r.path), r.added);
  }
}

TEST(ListCommands, AlbumFileNamesGetTheExtensionOnlyWhenTheyHaveNone) {
  EXPECT_EQ(WithAlbumExtension("/home/u/trip"), "/home/u/trip.alb");
  EXPECT_EQ(WithAlbumExtension("/home/u/trip.alb"), "/home/u/trip.alb");
  EXPECT_EQ(WithAlbumExtension("/home/u/trip.ALB"), "/home/u/trip.ALB");
  EXPECT_EQ(WithAlbumExtension("/home/u.d/trip"), "/home/u.d/trip.alb");
}

TEST(ListCommands, CaptionsKeepCrLfBetweenLines) {
  EXPECT_EQ(CaptionToField("one\r\ntwo\r\n"), "one\ntwo\n");
  EXPECT_EQ(CaptionFromField("one\ntwo\n"), "one\r\ntwo\r\n");
  EXPECT_EQ(CaptionToField("lone\rreturn"), "lone\rreturn");
  EXPECT_EQ(CaptionFromField(CaptionToField("a\r\nb")), "a\r\nb");
}

TEST(PreviewScale, DecodesAsSmallAsTheFittedPictureAllows) {
  struct Row {
    const char* why;
    int32_t width, height;
    TRotation rotation;
    int32_t area_width, area_height;
    int denom;
  };
  const Row rows[] = {
      {"exactly half", 1600, 1200, TRotation::None, 800, 600, 2},
      {"one pixel more than half", 1600, 1200, TRotation::None, 801, 601, 1},
      {"an eighth at most", 8000, 6000, TRotation::None, 400, 300, 8},
      {"the tighter side decides", 4000, 1000, TRotation::None, 1000, 500, 4},
      {"a quarter turn swaps the sides", 4000, 1000, TRotation::Left, 1000, 500, 8},
      {"a small photograph is enlarged from full size", 100, 80, TRotation::Right, 800, 600, 1},
      {"no area yet", 4000, 3000, TRotation::None, 0, 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    const int denom = PreviewScaleDenom(r.width, r.height, r.rotation, r.area_width, r.area_height);
    EXPECT_EQ(denom, r.denom);
  }
}

}  // namespace
}  // namespace folivant
