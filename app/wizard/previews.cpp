#include "app/wizard/previews.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include "app/shared/colorchooser.h"
#include "app/shared/photopreview.h"
#include "app/shared/thumbnailloader.h"

namespace folivant {

namespace {

constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kGrey = 0x808080;
constexpr int kScrollBarThickness = 12;

// Index preview frame: the texts above the grid area, the page links under it.
constexpr int kFrameMargin = 4;
constexpr int kTitleTop = 3;
constexpr int kIndexFrameWidth = TIndexPagePreview::kGridWidth + 2 * kFrameMargin;

// Photo preview frame: the tallest stack with a margin under it.
constexpr int kPhotoFrameWidth = 151;
constexpr int kPhotoFrameBottomMargin = 8;
constexpr int kPhotoPictureHeight = 90;

// The previews' texts: the desktop's small font, which is meant to stay readable.
QFont PreviewFont(bool bold = false) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont);
  font.setBold(bold);
  return font;
}

// Lines the sample caption may take under the photo preview's picture.
constexpr int kCaptionLines = 4;

// The first `count` photographs of the album from `first`, in album order; a
// missing one keeps its place with an empty name and is drawn as a grey box.
std::vector<TPreviewPhoto> PreviewPhotos(const TAlbum& album, int first, int count) {
  std::vector<TPreviewPhoto> photos;
  for (int i = std::max(0, first); i < album.Photographs.Count() && i < first + count; ++i) {
    const TPhotograph& photo = album.Photographs[i];
    photos.push_back({photo.Missing() ? std::string() : photo.FileName, photo.Rotation});
  }
  return photos;
}

// Draws the photograph's thumbnail fitted and centred in `area` over the page
// colour; false (nothing drawn) while it is not there yet or cannot be had.
bool PaintThumbnail(QPainter& painter, const QRect& area, const TPreviewPhoto& photo) {
  if (photo.FileName.empty()) return false;
  const TThumbnailStore::TLookup found = TThumbnailStore::Shared().Find(photo.FileName, true);
  if (found.State != TThumbnailStore::TState::Ready) return false;
  const QImage turned = TurnedImage(found.Picture, photo.Rotation);
  const QSize fitted = turned.size().scaled(area.size(), Qt::KeepAspectRatio);
  const QRect target(area.left() + (area.width() - fitted.width()) / 2,
                     area.top() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height());
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, turned);
  painter.restore();
  return true;
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

TIndexPagePreview::TIndexPagePreview(QWidget* parent) : QWidget(parent) {
  LayOutTexts();
  connect(&TThumbnailStore::Shared(), &TThumbnailStore::Arrived, this, qOverload<>(&QWidget::update));
}

void TIndexPagePreview::LayOutTexts() {
  const int line = QFontMetrics(PreviewFont()).height();
  layout_.Title = QFontMetrics(PreviewFont(true)).height();
  layout_.Description = 2 * line;
  layout_.BackToHome = line;
  layout_.PageLinks = line + 2;
  layout_.GridTop = kTitleTop + layout_.Title + layout_.Description + layout_.BackToHome + 2;
  layout_.FrameHeight = layout_.GridTop + kGridHeight + layout_.PageLinks;
  setFixedSize(sizeHint());
}

QSize TIndexPagePreview::sizeHint() const {
  return {kIndexFrameWidth + 1 + kScrollBarThickness, layout_.FrameHeight + 1 + kScrollBarThickness};
}

QRect TIndexPagePreview::Frame() const { return {0, 0, kIndexFrameWidth, layout_.FrameHeight}; }

QRect TIndexPagePreview::GridArea() const { return {kFrameMargin, layout_.GridTop, kGridWidth, kGridHeight}; }

void TIndexPagePreview::ShowAlbum(const TAlbum& album) {
  const TAlbumSettings& settings = album.Settings;
  title_ = QString::fromStdString(album.Title);
  description_ = QString::fromStdString(album.Description);
  back_to_home_ = !settings.HomeURL.empty();
  colors_.Assign(settings.ColorScheme);
  grid_ = IndexPreviewGrid(kGridWidth, kGridHeight, settings.ThumbSize, settings.ThumbnailRows, settings.ThumbnailCols);
  page_links_ = QString::fromStdString(IndexPreviewPageLinks(
      IndexPreviewPageCount(album.Photographs.Count(), settings.ThumbnailRows, settings.ThumbnailCols)));
  // The shown cells hold the first page's first photographs, row by row.
  photos_.clear();
  for (int row = 0; row < grid_.ShownRows; ++row) {
    const int first = row * std::max(1, settings.ThumbnailCols);
    for (TPreviewPhoto& photo : PreviewPhotos(album, first, grid_.ShownCols)) photos_.push_back(std::move(photo));
    if (first + grid_.ShownCols >= album.Photographs.Count()) break;
  }
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
  painter.setFont(PreviewFont(true));
  painter.drawText(QRect(kFrameMargin, kTitleTop, text_width, layout_.Title), Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(title_, Qt::ElideRight, text_width));
  painter.setFont(PreviewFont());
  // Only whole lines of a long description: the clip hides the line that does not fit.
  const QRect description(kFrameMargin, kTitleTop + layout_.Title, text_width, layout_.Description);
  painter.setClipRect(description);
  painter.drawText(description, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, description_);
  painter.setClipping(false);

  painter.setPen(ToQColor(colors_.LinkColor));
  if (back_to_home_)
    painter.drawText(
        QRect(kFrameMargin, kTitleTop + layout_.Title + layout_.Description, text_width, layout_.BackToHome),
        Qt::AlignLeft | Qt::AlignVCenter, tr("Back to Home"));
  painter.drawText(QRect(kFrameMargin, layout_.GridTop + kGridHeight, text_width, layout_.PageLinks), Qt::AlignCenter,
                   painter.fontMetrics().elidedText(page_links_, Qt::ElideMiddle, text_width));

  const QRect area = GridArea();
  painter.fillRect(area, ToQColor(colors_.PageColor()));
  for (int row = 0; row < grid_.ShownRows; ++row) {
    for (int col = 0; col < grid_.ShownCols; ++col) {
      const TPreviewRect cell = grid_.Cell(row, col);
      const QRect place(area.left() + cell.Left, area.top() + cell.Top, cell.Width(), cell.Height());
      const size_t index = static_cast<size_t>(row) * static_cast<size_t>(grid_.ShownCols) + static_cast<size_t>(col);
      if (index >= photos_.size() || !PaintThumbnail(painter, place, photos_[index])) PaintPlaceholder(painter, place);
    }
  }

  if (grid_.VerticalScrollBar)
    PaintScrollBarPicture(painter, *this, QRect(frame.right() + 2, 0, kScrollBarThickness, frame.height()),
                          Qt::Vertical);
  if (grid_.HorizontalScrollBar)
    PaintScrollBarPicture(painter, *this, QRect(0, frame.bottom() + 2, frame.width(), kScrollBarThickness),
                          Qt::Horizontal);
}

// The strip's five places: the page's photograph in the middle, its neighbours beside it.
constexpr int kStripPlaces = 5;
constexpr int kStripMiddle = 2;

TPhotoPagePreview::TPhotoPagePreview(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  connect(&TThumbnailStore::Shared(), &TThumbnailStore::Arrived, this, qOverload<>(&QWidget::update));
}

TPhotoPreviewHeights TPhotoPagePreview::Heights() const {
  const int line = QFontMetrics(PreviewFont()).height();
  const int title = QFontMetrics(PreviewFont(true)).height();
  TPhotoPreviewHeights heights;
  heights.Navigation = std::max(kNavigationBlockHeight, line);
  // Title, picture and caption, as PaintPhoto places them.
  heights.Photo = std::max(kPhotoBlockHeight, 4 + title + 4 + kPhotoPictureHeight + 5 + kCaptionLines * line + 4);
  return heights;
}

QSize TPhotoPagePreview::sizeHint() const {
  const TPhotoPreviewHeights heights = Heights();
  return {kPhotoFrameWidth,
          kPhotoPreviewTopMargin + heights.Navigation + heights.Thumbnails + heights.Photo + kPhotoFrameBottomMargin};
}

void TPhotoPagePreview::ShowAlbum(const TAlbum& album) {
  const TAlbumSettings& settings = album.Settings;
  colors_.Assign(settings.ColorScheme);
  stack_ = PhotoPreviewStack(settings.ThumbNavigationBar, settings.NavigationBelowPhoto, Heights());
  // The page of the third photograph (or of the last, in a shorter album) shows two neighbours on each side.
  const int current = std::min(kStripMiddle, album.Photographs.Count() - 1);
  strip_.assign(kStripPlaces, TPreviewPhoto());
  const std::vector<TPreviewPhoto> shown = PreviewPhotos(album, 0, current + kStripMiddle + 1);
  for (size_t i = 0; i < shown.size(); ++i) strip_[i + static_cast<size_t>(kStripMiddle - current)] = shown[i];
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
  painter.setFont(PreviewFont());
  const QRect text = block.adjusted(6, 0, -6, 0);
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
  for (int i = 0; i < kStripPlaces; ++i) {
    const int side = i == kStripMiddle ? kLarge : kSmall;
    const QRect place(left, block.center().y() - side / 2, side, side);
    if (!PaintThumbnail(painter, place, strip_[static_cast<size_t>(i)])) PaintPlaceholder(painter, place);
    left += side + kGap;
  }
}

void TPhotoPagePreview::PaintPhoto(QPainter& painter, const QRect& block) const {
  painter.setPen(ToQColor(colors_.TextColor));
  painter.setFont(PreviewFont(true));
  const int title_height = painter.fontMetrics().height();
  painter.drawText(QRect(block.left(), block.top() + 4, block.width(), title_height), Qt::AlignCenter,
                   tr("Picture Title"));
  const QRect photo(block.left() + 16, block.top() + 4 + title_height + 4, block.width() - 32, kPhotoPictureHeight);
  if (!PaintThumbnail(painter, photo, strip_[kStripMiddle])) PaintPlaceholder(painter, photo);
  painter.setPen(ToQColor(colors_.TextColor));
  painter.setFont(PreviewFont());
  painter.drawText(QRect(block.left() + 8, photo.bottom() + 5, block.width() - 16, block.bottom() - photo.bottom() - 5),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   tr("This is a sample caption describing the photograph above."));
}

}  // namespace folivant
