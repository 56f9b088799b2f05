#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <string>

#include "generator/raster.h"
#include "model/albumclasses.h"

namespace folivant {

/// The raster as an opaque picture.
QImage ToImage(const TRaster& raster);
/// `image` turned as `rotation` says: Left a quarter turn anticlockwise.
QImage TurnedImage(const QImage& image, TRotation rotation);

/// The preview of the current photograph: the whole picture, turned, scaled to
/// fit the widget keeping its proportions (small pictures are enlarged) and
/// centred; the rest of the widget shows its parent's background.
class TPhotoPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TPhotoPreview(QWidget* parent = nullptr);

  /// Decodes the JPEG file at `path` (".jpg" or ".jpeg") at the smallest scale
  /// that still covers the widget, and turns it by `rotation`. Throws TError
  /// (unknown extension, unreadable or damaged file); the picture is then unchanged.
  void ShowPhoto(const std::string& path, TRotation rotation);
  /// Shows nothing.
  void Clear();
  /// The decoded, turned picture, before scaling to the widget.
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::string path_;
  TRotation rotation_ = TRotation::None;
  /// How many times smaller than the file the picture was decoded.
  int scale_denom_ = 1;
  QImage picture_;
  /// The picture at the size it is painted, made once per size.
  QPixmap scaled_;

  /// The area the picture must cover: the widget, or the whole window while the widget is not laid out yet.
  QSize Area() const;
  QRect PictureRect() const;
};

}  // namespace folivant
