#include "app/wizard/modernpreviews.h"

#include <algorithm>

#include "app/shared/colorchooser.h"

namespace folivant {

namespace {

constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kCardBorder = 0xD7D7D7;  // the border of the stylesheet's thumbnail cells
constexpr int kMargin = 4;
constexpr int kCard = 22;
constexpr int kGap = 4;
constexpr int kTitleHeight = 14;
constexpr int kLineHeight = 10;
constexpr int kThumbStripHeight = 20;

QFont Sized(const QFont& base, int pixel_size, bool bold = false) {
  QFont font = base;
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

// A thumbnail cell: a light frame around a silver picture of the given proportion.
void PaintCard(QPainter& painter, const QRect& cell, double aspect, bool selected) {
  painter.setPen(selected ? QColor(0x80, 0x80, 0x80) : QColor(kCardBorder));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  const QRect inner = cell.adjusted(3, 3, -3, -3);
  const int width = std::min(inner.width(), static_cast<int>(inner.height() * aspect));
  const int height = std::min(inner.height(), static_cast<int>(inner.width() / aspect));
  painter.fillRect(QRect(inner.center().x() - width / 2, inner.center().y() - height / 2, width, height),
                   QColor(kSilver));
}

// Takes a band of `height` pixels off the top of `area` and hands it back.
QRect TakeTop(QRect& area, int height) {
  const QRect band(area.left(), area.top(), area.width(), height);
  area.setTop(area.top() + height);
  return band;
}

QRect TakeBottom(QRect& area, int height) {
  const QRect band(area.left(), area.bottom() - height + 1, area.width(), height);
  area.setBottom(area.bottom() - height);
  return band;
}

// The bar under the photograph: the link to the index, the title and the counter.
void PaintBar(QPainter& painter, const QRect& band, const QFont& base, const TModernPreview& preview) {
  const QRect text = band.adjusted(kMargin, 0, -kMargin, 0);
  painter.setFont(Sized(base, 7));
  painter.setPen(ToQColor(preview.Colors.LinkColor));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("\u2190 Index"));
  painter.setPen(ToQColor(preview.Colors.TextColor));
  painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("3 / 24"));
  painter.setFont(Sized(base, 8, true));
  painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Picture Title"));
}

// The previous and next controls over the photograph's edges.
void PaintSteps(QPainter& painter, const QRect& photo) {
  const int side = std::max(6, std::min(12, photo.height() / 5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 115));
  for (const int x : {photo.left() + 3, photo.right() - 3 - side})
    painter.drawEllipse(QRect(x, photo.center().y() - side / 2, side, side));
  painter.setBrush(Qt::NoBrush);
}

void PaintThumbnailStrip(QPainter& painter, const QRect& band) {
  constexpr int kCount = 5;
  const int side = band.height() - 2;
  int left = band.center().x() - (kCount * side + (kCount - 1) * 2) / 2;
  for (int i = 0; i < kCount; ++i, left += side + 2)
    PaintCard(painter, QRect(left, band.top() + 1, side, side), i % 2 ? 0.7 : 1.5, i == kCount / 2);
}

}  // namespace

TModernPreview TModernPreview::Of(const TAlbum& album) {
  const TAlbumSettings& settings = album.Settings;
  TModernPreview preview;
  preview.Title = QString::fromStdString(album.Title);
  preview.Description = QString::fromStdString(album.Description);
  preview.Colors.Assign(settings.ColorScheme);
  preview.BackToHome = !settings.HomeURL.empty();
  preview.ThumbnailBar = settings.ThumbNavigationBar;
  preview.CameraData = settings.ShowCameraData;
  preview.Rows = settings.ThumbnailRows;
  preview.Cols = settings.ThumbnailCols;
  return preview;
}

void PaintModernIndexPreview(QPainter& painter, const QRect& frame, const QFont& base, const TModernPreview& preview) {
  QRect area = frame.adjusted(kMargin, 2, -kMargin, -2);
  painter.setPen(ToQColor(preview.Colors.TextColor));
  painter.setFont(Sized(base, 10, true));
  const QRect title = TakeTop(area, kTitleHeight);
  painter.drawText(title, Qt::AlignCenter,
                   painter.fontMetrics().elidedText(preview.Title, Qt::ElideRight, title.width()));
  painter.setFont(Sized(base, 7));
  painter.drawText(TakeTop(area, 2 * kLineHeight), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   preview.Description);
  painter.setPen(ToQColor(preview.Colors.LinkColor));
  if (preview.BackToHome) painter.drawText(TakeTop(area, kLineHeight), Qt::AlignCenter, QStringLiteral("Back to Home"));
  painter.drawText(TakeBottom(area, kLineHeight + 2), Qt::AlignCenter, QStringLiteral("1   2   Next \u2192"));

  // The grid reflows: as many of the album's columns as the width holds, and
  // the rows that fit; the page scrolls down for the rest, never sideways.
  const int cols = std::clamp((area.width() + kGap) / (kCard + kGap), 1, std::max(1, preview.Cols));
  const int rows = std::clamp((area.height() + kGap) / (kCard + kGap), 1, std::max(1, preview.Rows));
  const int left = area.center().x() - (cols * kCard + (cols - 1) * kGap) / 2;
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < cols; ++col)
      PaintCard(painter, QRect(left + col * (kCard + kGap), area.top() + 4 + row * (kCard + kGap), kCard, kCard),
                (row + col) % 3 == 1 ? 0.7 : 1.5, false);
}

void PaintModernPhotoPreview(QPainter& painter, const QRect& frame, const QFont& base, const TModernPreview& preview) {
  QRect area = frame.adjusted(1, 1, -1, -2);
  // The photograph (3:2 here) first, as large as the width allows and the
  // bar under it leaves of the height, with its controls over it.
  const int width = std::min(area.width(), (area.height() - kLineHeight - 2) * 3 / 2);
  const QRect photo(area.center().x() - width / 2, area.top(), width, width * 2 / 3);
  painter.fillRect(photo, QColor(kSilver));
  PaintSteps(painter, photo);
  area.setTop(photo.bottom() + 1);
  PaintBar(painter, TakeTop(area, kLineHeight + 4), base, preview);

  painter.setPen(ToQColor(preview.Colors.TextColor));
  painter.setFont(Sized(base, 7));
  painter.drawText(TakeTop(area, 2 * kLineHeight), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("This is a sample caption describing the photograph above."));
  if (preview.CameraData) {
    painter.setFont(Sized(base, 6));
    painter.drawText(TakeTop(area, kLineHeight), Qt::AlignCenter,
                     QStringLiteral("Camera \u00b7 50 mm \u00b7 f/4 \u00b7 1/250 s \u00b7 ISO 100"));
  }
  if (preview.ThumbnailBar && area.height() >= kThumbStripHeight)
    PaintThumbnailStrip(painter, TakeTop(area, kThumbStripHeight));
}

}  // namespace folivant
