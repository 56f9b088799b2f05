#include "app/wizard/previews.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "app/shared/colorchooser.h"

namespace folivant {

namespace {

constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kGrey = 0x808080;
constexpr int kScrollBarThickness = 12;

// Index preview frame: the texts above the grid area, the page links under it.
constexpr int kFrameMargin = 4;
constexpr int kTitleTop = 3;
constexpr int kTitleHeight = 12;
constexpr int kDescriptionHeight = 18;
constexpr int kBackToHomeHeight = 10;
constexpr int kPageLinksHeight = 14;
constexpr int kGridTop = kTitleTop + kTitleHeight + kDescriptionHeight + kBackToHomeHeight + 2;
constexpr int kIndexFrameWidth = TIndexPagePreview::kGridWidth + 2 * kFrameMargin;
constexpr int kIndexFrameHeight = kGridTop + TIndexPagePreview::kGridHeight + kPageLinksHeight;

// Photo preview frame: the tallest stack with a margin under it.
constexpr int kPhotoFrameWidth = 151;
constexpr int kPhotoFrameHeight =
    kPhotoPreviewTopMargin + kNavigationBlockHeight + kThumbnailsBlockHeight + kPhotoBlockHeight + 8;

QFont SmallFont(const QFont& base, int pixel_size, bool bold = false) {
  QFont font = base;
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

// A silver box with a grey one-pixel outline covering exactly `area`.
void PaintPlaceholder(QPainter& painter, const QRect& area) {
  painter.fillRect(area, QColor(kSilver));
  painter.setPen(QColor(kGrey));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area.adjusted(0, 0, -1, -1));
}

// The preview's page: the page colour inside a grey frame.
void PaintPage(QPainter& painter, const QRect& frame, TColor page_color) {
  painter.fillRect(frame, ToQColor(page_color));
  painter.setPen(QColor(kGrey));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

void PaintScrollBarPicture(QPainter& painter, const QWidget& widget, const QRect& area, Qt::Orientation orientation) {
  // Styles lay the parts of a scroll bar out from its own top left corner.
  painter.save();
  painter.translate(area.topLeft());
  QStyleOptionSlider option;
  option.initFrom(&widget);
  option.rect = QRect(QPoint(0, 0), area.size());
  option.orientation = orientation;
  option.minimum = 0;
  option.maximum = 100;
  option.pageStep = 40;
  option.sliderPosition = 0;
  option.sliderValue = 0;
  option.subControls = QStyle::SC_All;
  option.state |= QStyle::State_Enabled;
  if (orientation == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
  widget.style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, &widget);
  painter.restore();
}

}  // namespace

TIndexPagePreview::TIndexPagePreview(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

QSize TIndexPagePreview::sizeHint() const {
  return {kIndexFrameWidth + 1 + kScrollBarThickness, kIndexFrameHeight + 1 + kScrollBarThickness};
}

QRect TIndexPagePreview::Frame() const { return {0, 0, kIndexFrameWidth, kIndexFrameHeight}; }

QRect TIndexPagePreview::GridArea() const { return {kFrameMargin, kGridTop, kGridWidth, kGridHeight}; }

void TIndexPagePreview::ShowAlbum(const TAlbum& album) {
  const TAlbumSettings& settings = album.Settings;
  title_ = QString::fromStdString(album.Title);
  description_ = QString::fromStdString(album.Description);
  back_to_home_ = !settings.HomeURL.empty();
  colors_.Assign(settings.ColorScheme);
  grid_ = IndexPreviewGrid(kGridWidth, kGridHeight, settings.ThumbSize, settings.ThumbnailRows, settings.ThumbnailCols);
  style_ = settings.PageStyle;
  modern_ = TModernPreview::Of(album);
  update();
}

void TIndexPagePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = Frame();
  PaintPage(painter, frame, colors_.PageColor());
  if (style_ == TPageStyle::Modern) {
    PaintModernIndexPreview(painter, frame, font(), modern_);
    return;
  }

  const int text_width = frame.width() - 2 * kFrameMargin;
  painter.setPen(ToQColor(colors_.TextColor));
  painter.setFont(SmallFont(font(), 10, true));
  painter.drawText(QRect(kFrameMargin, kTitleTop, text_width, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(title_, Qt::ElideRight, text_width));
  painter.setFont(SmallFont(font(), 7));
  painter.drawText(QRect(kFrameMargin, kTitleTop + kTitleHeight, text_width, kDescriptionHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, description_);

  painter.setPen(ToQColor(colors_.LinkColor));
  if (back_to_home_)
    painter.drawText(QRect(kFrameMargin, kTitleTop + kTitleHeight + kDescriptionHeight, text_width, kBackToHomeHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, tr("Back to Home"));
  painter.drawText(QRect(kFrameMargin, kGridTop + kGridHeight, text_width, kPageLinksHeight), Qt::AlignCenter,
                   tr("Page [1] [2] [3]"));

  const QRect area = GridArea();
  painter.fillRect(area, ToQColor(colors_.PageColor()));
  for (int row = 0; row < grid_.ShownRows; ++row) {
    for (int col = 0; col < grid_.ShownCols; ++col) {
      const TPreviewRect cell = grid_.Cell(row, col);
      PaintPlaceholder(painter, QRect(area.left() + cell.Left, area.top() + cell.Top, cell.Width(), cell.Height()));
    }
  }

  if (grid_.VerticalScrollBar)
    PaintScrollBarPicture(painter, *this, QRect(frame.right() + 2, 0, kScrollBarThickness, frame.height()),
                          Qt::Vertical);
  if (grid_.HorizontalScrollBar)
    PaintScrollBarPicture(painter, *this, QRect(0, frame.bottom() + 2, frame.width(), kScrollBarThickness),
                          Qt::Horizontal);
}

TPhotoPagePreview::TPhotoPagePreview(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

QSize TPhotoPagePreview::sizeHint() const { return {kPhotoFrameWidth, kPhotoFrameHeight}; }

void TPhotoPagePreview::ShowAlbum(const TAlbum& album) {
  const TAlbumSettings& settings = album.Settings;
  colors_.Assign(settings.ColorScheme);
  stack_ = PhotoPreviewStack(settings.ThumbNavigationBar, settings.NavigationBelowPhoto);
  style_ = settings.PageStyle;
  modern_ = TModernPreview::Of(album);
  update();
}

void TPhotoPagePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect();
  PaintPage(painter, frame, colors_.PageColor());
  if (style_ == TPageStyle::Modern) {
    PaintModernPhotoPreview(painter, frame, font(), modern_);
    return;
  }
  for (const TPhotoPreviewBlockPlace& place : stack_) {
    const QRect block(1, place.Top, frame.width() - 2, place.Height);
    painter.fillRect(block, ToQColor(colors_.PageColor()));
    switch (place.Block) {
      case TPhotoPreviewBlock::Navigation: PaintNavigation(painter, block); break;
      case TPhotoPreviewBlock::Thumbnails: PaintThumbnails(painter, block); break;
      case TPhotoPreviewBlock::Photo: PaintPhoto(painter, block); break;
    }
  }
}

void TPhotoPagePreview::PaintNavigation(QPainter& painter, const QRect& block) const {
  painter.setPen(ToQColor(colors_.LinkColor));
  painter.setFont(SmallFont(font(), 7));
  const QRect text = block.adjusted(6, -1, -6, 1);
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("<<"));
  painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, tr("Index"));
  painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral(">>"));
}

void TPhotoPagePreview::PaintThumbnails(QPainter& painter, const QRect& block) const {
  constexpr int kSmall = 13;
  constexpr int kLarge = 17;
  constexpr int kGap = 4;
  const int width = 4 * kSmall + kLarge + 4 * kGap;
  int left = block.center().x() - width / 2;
  for (int i = 0; i < 5; ++i) {
    const int side = i == 2 ? kLarge : kSmall;
    PaintPlaceholder(painter, QRect(left, block.center().y() - side / 2, side, side));
    left += side + kGap;
  }
}

void TPhotoPagePreview::PaintPhoto(QPainter& painter, const QRect& block) const {
  painter.setPen(ToQColor(colors_.TextColor));
  painter.setFont(SmallFont(font(), 9, true));
  painter.drawText(QRect(block.left(), block.top() + 4, block.width(), 12), Qt::AlignCenter, tr("Picture Title"));
  const QRect photo(block.left() + 16, block.top() + 20, block.width() - 32, 90);
  PaintPlaceholder(painter, photo);
  painter.setPen(ToQColor(colors_.TextColor));
  painter.setFont(SmallFont(font(), 7));
  painter.drawText(QRect(block.left() + 8, photo.bottom() + 5, block.width() - 16, block.bottom() - photo.bottom() - 5),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   tr("This is a sample caption describing the photograph above."));
}

}  // namespace folivant
