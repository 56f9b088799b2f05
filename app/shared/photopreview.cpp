#include "app/shared/photopreview.h"

#include <QPainter>
#include <QTransform>
#include <cstring>

#include "editor/previewscale.h"
#include "generator/jpegcodec.h"

namespace folivant {

TPhotoPreview::TPhotoPreview(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(16, 16);
}

QImage ToImage(const TRaster& raster) {
  QImage image(raster.Width, raster.Height, QImage::Format_RGB32);
  for (int32_t y = 0; y < raster.Height; ++y)
    std::memcpy(image.scanLine(y), raster.Row(y), static_cast<size_t>(raster.Width) * sizeof(uint32_t));
  return image;
}

// Left is a quarter turn anticlockwise; Qt turns clockwise for positive angles.
QImage TurnedImage(const QImage& image, TRotation rotation) {
  switch (rotation) {
    case TRotation::Left: return image.transformed(QTransform().rotate(-90));
    case TRotation::Right: return image.transformed(QTransform().rotate(90));
    case TRotation::UpsideDown: return image.transformed(QTransform().rotate(180));
    case TRotation::None: break;
  }
  return image;
}

QSize TPhotoPreview::Area() const { return isVisible() ? size() : window()->size(); }

void TPhotoPreview::ShowPhoto(const std::string& path, TRotation rotation) {
  // An eighth-size decode is cheap and tells the full size to within 7 pixels,
  // which is enough to choose the scale; often it is all the preview needs.
  constexpr int kProbeDenom = 8;
  TRaster raster = LoadPicture(path, kProbeDenom);
  const int denom = PreviewScaleDenom(raster.Width * kProbeDenom, raster.Height * kProbeDenom, rotation, Area().width(),
                                      Area().height());
  if (denom != kProbeDenom) raster = LoadPicture(path, denom);
  picture_ = TurnedImage(ToImage(raster), rotation);
  path_ = path;
  rotation_ = rotation;
  scale_denom_ = denom;
  scaled_ = QPixmap();
  update();
}

void TPhotoPreview::Clear() {
  path_.clear();
  picture_ = QImage();
  scaled_ = QPixmap();
  update();
}

QRect TPhotoPreview::PictureRect() const {
  if (picture_.isNull()) return {};
  const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
  return {QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted};
}

void TPhotoPreview::paintEvent(QPaintEvent*) {
  const QRect target = PictureRect();
  if (target.isEmpty()) return;
  if (scaled_.size() != target.size())
    scaled_ = QPixmap::fromImage(picture_.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  QPainter(this).drawPixmap(target.topLeft(), scaled_);
}

void TPhotoPreview::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QRect target = PictureRect();
  // A picture decoded smaller than the file is decoded again when it no longer covers the widget.
  if (scale_denom_ > 1 && !path_.empty() &&
      (target.width() > picture_.width() || target.height() > picture_.height())) {
    try {
      ShowPhoto(path_, rotation_);
    } catch (const std::exception&) {
      // The file changed since it was shown: keep showing what was read then.
    }
  }
}

}  // namespace folivant
