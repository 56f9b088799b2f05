#include "wizard/previewgeometry.h"

#include <algorithm>

namespace folivant {

TPreviewRect TIndexPreviewGrid::Cell(int row, int col) const {
  return {Left + col * CellWidth + 2, row * CellHeight + 2, Left + (col + 1) * CellWidth, (row + 1) * CellHeight};
}

int IndexPreviewDivisor(TPhotoSize thumb_size) {
  switch (thumb_size) {
    case TPhotoSize::Small: return 6;
    case TPhotoSize::Large: return 4;
    default: return 5;
  }
}

TIndexPreviewGrid IndexPreviewGrid(int width, int height, TPhotoSize thumb_size, int rows, int cols) {
  TIndexPreviewGrid grid;
  grid.CellWidth = std::max(1, width / IndexPreviewDivisor(thumb_size));
  grid.CellHeight = std::max(1, grid.CellWidth * 3 / 4);
  const int fit_cols = width / grid.CellWidth;
  const int fit_rows = height / grid.CellHeight;
  // Rows or columns below 1 can only come from a damaged album file: draw no cells.
  grid.ShownCols = std::clamp(cols, 0, fit_cols);
  grid.ShownRows = std::clamp(rows, 0, fit_rows);
  grid.Left = (width - grid.ShownCols * grid.CellWidth) / 2;
  grid.VerticalScrollBar = grid.ShownRows < rows;
  grid.HorizontalScrollBar = grid.ShownCols < cols;
  return grid;
}

int IndexPreviewPageCount(int photo_count, int rows, int cols) {
  // Rows and columns below 1 come only from damaged album files; the run refuses them.
  const int per_page = std::max(1, rows) * std::max(1, cols);
  return std::max(1, (std::max(0, photo_count) + per_page - 1) / per_page);
}

std::string IndexPreviewPageLinks(int pages) {
  if (pages <= 1) return "";
  constexpr int kListedPages = 5;
  const auto link = [](int page) { return " [" + std::to_string(page) + "]"; };
  std::string links = "Page";
  const int listed = pages <= kListedPages ? pages : kListedPages - 2;
  for (int page = 1; page <= listed; ++page) links += link(page);
  if (listed < pages) links += " ..." + link(pages);
  return links;
}

std::vector<TPhotoPreviewBlockPlace> PhotoPreviewStack(bool thumb_navigation_bar, bool navigation_below_photo,
                                                       const TPhotoPreviewHeights& heights) {
  std::vector<TPhotoPreviewBlock> order{TPhotoPreviewBlock::Navigation};
  if (thumb_navigation_bar) order.push_back(TPhotoPreviewBlock::Thumbnails);
  order.push_back(TPhotoPreviewBlock::Photo);
  if (navigation_below_photo) std::reverse(order.begin(), order.end());

  std::vector<TPhotoPreviewBlockPlace> places;
  int top = kPhotoPreviewTopMargin;
  for (const TPhotoPreviewBlock block : order) {
    const int height = block == TPhotoPreviewBlock::Navigation   ? heights.Navigation
                       : block == TPhotoPreviewBlock::Thumbnails ? heights.Thumbnails
                                                                 : heights.Photo;
    places.push_back({block, top, height});
    top += height;
  }
  return places;
}

}  // namespace folivant
