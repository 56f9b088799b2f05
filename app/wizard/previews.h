#pragma once

#include <QString>
#include <QWidget>

#include "app/wizard/modernpreviews.h"
#include "model/albumclasses.h"
#include "wizard/previewgeometry.h"

namespace folivant {

/// The index page preview: a schematic index page in the album's colours,
/// with pictures of scroll bars beside and under it when the grid is cut off.
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
  /// Where the grid area lies in the widget.
  QRect GridArea() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect Frame() const;

  QString title_;
  QString description_;
  bool back_to_home_ = false;
  TColorScheme colors_;
  TIndexPreviewGrid grid_;
  TPageStyle style_ = TPageStyle::Classic;
  TModernPreview modern_;
};

/// The photo page preview: navigation strip, thumbnail strip and photo block
/// stacked in the album's order and colours.
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

  TColorScheme colors_;
  std::vector<TPhotoPreviewBlockPlace> stack_;
  TPageStyle style_ = TPageStyle::Classic;
  TModernPreview modern_;
};

}  // namespace folivant
