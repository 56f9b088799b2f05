#pragma once

// The geometry of the wizard's schematic previews, without any painting: the
// window paints what these functions lay out, and the tests check the layout.

#include <string>
#include <vector>

#include "model/albumclasses.h"

namespace folivant {

/// A rectangle in pixels; Right and Bottom lie just outside it.
struct TPreviewRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TPreviewRect&) const = default;
};

/// The thumbnail grid of the index preview, in the grid area's own pixels.
struct TIndexPreviewGrid {
  int CellWidth = 0;
  int CellHeight = 0;
  int ShownCols = 0;
  int ShownRows = 0;
  /// Left edge of the first column: the grid is centred horizontally.
  int Left = 0;
  /// More rows than the area shows: the vertical scroll-bar picture is visible.
  bool VerticalScrollBar = false;
  /// More columns than the area shows: the horizontal scroll-bar picture is visible.
  bool HorizontalScrollBar = false;

  /// The silver cell at `row`, `col` (from 0), two pixels in from its top left.
  TPreviewRect Cell(int row, int col) const;
};

/// The width divisor of a thumbnail size: 6 small, 5 medium, 4 large; Original
/// and Custom thumbnails (only from album files) are drawn as medium ones.
int IndexPreviewDivisor(TPhotoSize thumb_size);

/// Lays out `rows` x `cols` thumbnails of `thumb_size` in a `width` x `height` area.
TIndexPreviewGrid IndexPreviewGrid(int width, int height, TPhotoSize thumb_size, int rows, int cols);

/// How many index pages `photo_count` photographs fill at `rows` x `cols` a
/// page: at least one, as the run always writes "index.html".
int IndexPreviewPageCount(int photo_count, int rows, int cols);

/// The page links under the preview's grid for `pages` index pages, "" for a
/// single page (which has none); past five pages the middle ones are elided:
/// "Page [1] [2] [3] ... [40]".
std::string IndexPreviewPageLinks(int pages);

/// The blocks of the photo preview, stacked from the top of its frame.
enum class TPhotoPreviewBlock : uint8_t { Navigation, Thumbnails, Photo };

struct TPhotoPreviewBlockPlace {
  TPhotoPreviewBlock Block;
  int Top;
  int Height;
};

inline constexpr int kPhotoPreviewTopMargin = 8;
inline constexpr int kNavigationBlockHeight = 8;
inline constexpr int kThumbnailsBlockHeight = 21;
inline constexpr int kPhotoBlockHeight = 145;

/// Block heights in pixels; the window makes the text blocks taller for its font.
struct TPhotoPreviewHeights {
  int Navigation = kNavigationBlockHeight;
  int Thumbnails = kThumbnailsBlockHeight;
  int Photo = kPhotoBlockHeight;
};

/// The visible blocks from the top: the navigation above or below the photo, the
/// thumbnail strip (when shown) always between them.
std::vector<TPhotoPreviewBlockPlace> PhotoPreviewStack(bool thumb_navigation_bar, bool navigation_below_photo,
                                                       const TPhotoPreviewHeights& heights = {});

}  // namespace folivant
