#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "app/wizard/modernpreviews.h"
#include "model/albumclasses.h"
#include "wizard/previewgeometry.h"

namespace folivant {

/// A photograph a preview draws in place of a grey box, by its thumbnail.
struct TPreviewPhoto {
  std::string FileName;
  TRotation Rotation = TRotation::None;
};

/// The index page preview: a schematic index page in the album's colours with
/// the album's first thumbnails and its real page links, and pictures of
/// scroll bars beside and under it when the grid is cut off.
class TIndexPagePreview : public QWidget {
  Q_OBJECT
 public:
  /// The grid area inside the frame, in pixels; the grid geometry depends on it.
  static constexpr int kGridWidth = 143;
  static constexpr int kGridHeight = 131;

  explicit TIndexPagePreview(QWidget* parent = nullptr);

  /// Takes what the preview shows from the album and repaints.
  void ShowAlbum(const TAlbum& album);
  const TIndexPreviewGrid& Grid() const { return grid_; }
  /// The page style drawn: the album's.
  TPageStyle Style() const { return style_; }
  bool BackToHomeVisible() const { return back_to_home_; }
  /// The page links under the grid, "" for an album of one index page.
  const QString& PageLinks() const { return page_links_; }
  /// Where the grid area lies in the widget.
  QRect GridArea() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  /// The frame's text heights follow the font, so the texts are never cut.
  struct TTextLayout {
    int Title = 0;
    int Description = 0;
    int BackToHome = 0;
    int PageLinks = 0;
    int GridTop = 0;
    int FrameHeight = 0;
  };
  void LayOutTexts();
  QRect Frame() const;

  QString title_;
  QString description_;
  bool back_to_home_ = false;
  QString page_links_;
  TColorScheme colors_;
  TIndexPreviewGrid grid_;
  /// The photographs of the cells, row by row, as far as the album has them.
  std::vector<TPreviewPhoto> photos_;
  TTextLayout layout_;
  TPageStyle style_ = TPageStyle::Classic;
  TModernPreview modern_;
};

/// The photo page preview: navigation strip, thumbnail strip and photo block
/// stacked in the album's order and colours, with the album's first photographs.
class TPhotoPagePreview : public QWidget {
  Q_OBJECT
 public:
  explicit TPhotoPagePreview(QWidget* parent = nullptr);

  void ShowAlbum(const TAlbum& album);
  const std::vector<TPhotoPreviewBlockPlace>& Stack() const { return stack_; }
  TPageStyle Style() const { return style_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintNavigation(QPainter& painter, const QRect& block) const;
  void PaintThumbnails(QPainter& painter, const QRect& block) const;
  void PaintPhoto(QPainter& painter, const QRect& block) const;
  /// Block heights for the widget's font.
  TPhotoPreviewHeights Heights() const;

  TColorScheme colors_;
  std::vector<TPhotoPreviewBlockPlace> stack_;
  /// The photographs of the thumbnail strip's five places; the middle one is the page's photograph.
  std::vector<TPreviewPhoto> strip_;
  TPageStyle style_ = TPageStyle::Classic;
  TModernPreview modern_;
};

}  // namespace folivant
