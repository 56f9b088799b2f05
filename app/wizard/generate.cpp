#include "app/wizard/generate.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>
#include <iterator>

#include "app/shared/dialogfolders.h"
#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"
#include "generation/generationrun.h"
#include "generator/limits.h"
#include "platform/filesystem.h"
#include "ui_generate.h"
#include "wizard/photosizes.h"
#include "wizard/stylechoices.h"

// Construction, page navigation and the pages for title, index, photo pages and
// output folder. The colour page and the run live in files of their own.

namespace folivant {

namespace {

constexpr int kFirstPage = 1;
constexpr int kOutputPage = 5;
constexpr int kMinimumGridSide = 1;
// The size the pages were laid out for; larger fonts make the wizard larger.
constexpr QSize kDesignSize(600, 470);
// The entries of the thumbnail and photo size lists, in their order.
constexpr TPhotoSize kThumbSizeChoices[] = {TPhotoSize::Small, TPhotoSize::Medium, TPhotoSize::Large};

// The list entry of `size`, or -1 when the list has none.
template <size_t Count>
int ChoiceIndex(const TPhotoSize (&choices)[Count], TPhotoSize size) {
  const auto found = std::find(std::begin(choices), std::end(choices), size);
  return found == std::end(choices) ? -1 : static_cast<int>(found - std::begin(choices));
}

// The photo size list's text for a choice.
QString PhotoSizeLabel(TPageStyle style, const TPhotoSizeChoice& choice) {
  const auto sized = [&](const char* text) { return TfrmGenerate::tr(text).arg(choice.Width).arg(choice.Height); };
  if (choice.Size == TPhotoSize::Original) return TfrmGenerate::tr("Original Size");
  if (style == TPageStyle::Classic) {
    switch (choice.Size) {
      case TPhotoSize::Small: return sized(QT_TRANSLATE_NOOP("TfrmGenerate", "Small (%1 x %2)"));
      case TPhotoSize::Medium: return sized(QT_TRANSLATE_NOOP("TfrmGenerate", "Medium (%1 x %2)"));
      case TPhotoSize::Large: return sized(QT_TRANSLATE_NOOP("TfrmGenerate", "Large (%1 x %2)"));
      default: return sized(QT_TRANSLATE_NOOP("TfrmGenerate", "Extra Large (%1 x %2)"));
    }
  }
  if (choice.Width == choice.Height) return TfrmGenerate::tr("Up to %1 pixels").arg(choice.Width);
  return sized(QT_TRANSLATE_NOOP("TfrmGenerate", "%1 x %2"));
}

// What each page of choices is for: its step's name and a line of help.
struct TPageHeader {
  const char* step;
  const char* help;
};
constexpr TPageHeader kPageHeaders[kOutputPage] = {
    {QT_TRANSLATE_NOOP("TfrmGenerate", "Title and description"),
     QT_TRANSLATE_NOOP("TfrmGenerate",
                       "Give the album the title and the description its index pages show. Use \"Next\" and "
                       "\"Previous\" to move between the steps; when you are satisfied with your selections, "
                       "click \"Finish\" to begin the generation process.")},
    {QT_TRANSLATE_NOOP("TfrmGenerate", "Colours"),
     QT_TRANSLATE_NOOP("TfrmGenerate", "Choose the colours of the album's pages, or a colour scheme you saved.")},
    {QT_TRANSLATE_NOOP("TfrmGenerate", "Index pages"),
     QT_TRANSLATE_NOOP("TfrmGenerate",
                       "Choose the size and the grid of the thumbnails on the index pages, and a link back to "
                       "your home page.")},
    {QT_TRANSLATE_NOOP("TfrmGenerate", "Photo pages"),
     QT_TRANSLATE_NOOP("TfrmGenerate",
                       "Choose how large each photograph is shown on its own page, and where its navigation "
                       "links go.")},
    {QT_TRANSLATE_NOOP("TfrmGenerate", "Output folder"),
     QT_TRANSLATE_NOOP("TfrmGenerate",
                       "Choose the folder the album is written to, then click \"Finish\" to generate it.")}};

// The header's picture: two overlapping photographs with a landscape in each.
QPixmap HeaderPicture() {
  QPixmap pixmap(48, 48);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const auto photo = [&painter](const QRectF& frame, qreal angle) {
    painter.save();
    painter.translate(frame.center());
    painter.rotate(angle);
    const QRectF local(-frame.width() / 2, -frame.height() / 2, frame.width(), frame.height());
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(local);
    const QRectF picture = local.adjusted(3, 3, -3, -3);
    painter.fillRect(picture, QColor(0x8C, 0xC8, 0xF0));
    QPolygonF hills{picture.bottomLeft(), QPointF(picture.left() + picture.width() * 0.35, picture.center().y()),
                    QPointF(picture.left() + picture.width() * 0.6, picture.bottom() - picture.height() * 0.3),
                    QPointF(picture.right(), picture.center().y() - 2), picture.bottomRight()};
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3C, 0x9A, 0x50));
    painter.drawPolygon(hills);
    painter.setBrush(QColor(0xFF, 0xD2, 0x3C));
    painter.drawEllipse(QPointF(picture.right() - 5, picture.top() + 5), 3, 3);
    painter.restore();
  };
  photo(QRectF(4, 6, 30, 24), -10);
  photo(QRectF(14, 18, 30, 24), 8);
  return pixmap;
}

}  // namespace

template <typename... Args>
auto TfrmGenerate::Handler(void (TfrmGenerate::*handler)(Args...)) {
  return CommandSlot(dialogs_, this, handler);
}

template <typename... Args>
auto TfrmGenerate::Edit(void (TfrmGenerate::*handler)(Args...)) {
  return [this, handler](Args... args) {
    RunCommand(dialogs_, [&] {
      const bool users_change = !loading_;
      const TAlbumLook before = TAlbumLook::Of(*album_);
      (this->*handler)(args...);
      // Only what the album file keeps counts; the same value typed again does not.
      if (users_change && TAlbumLook::Of(*album_) != before) album_->MarkModified();
    });
  };
}

TfrmGenerate::TfrmGenerate(TDialogs* dialogs, TSettingsStore& store, std::string program_folder,
                           std::string desktop_folder, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TfrmGenerate>()),
      own_dialogs_(dialogs ? nullptr : std::make_unique<TQtDialogs>(this)),
      dialogs_(dialogs ? *dialogs : *own_dialogs_),
      store_(store),
      program_folder_(std::move(program_folder)),
      desktop_folder_(std::move(desktop_folder)) {
  ui_->setupUi(this);
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  QFont step_font = ui_->lblStep->font();
  step_font.setBold(true);
  ui_->lblStep->setFont(step_font);
  ui_->imgHeader->setPixmap(HeaderPicture());
  QFont heading = ui_->lblCompleted->font();
  heading.setPointSizeF(heading.pointSizeF() * 1.6);
  heading.setBold(true);
  ui_->lblCompleted->setFont(heading);
  ui_->cmbSchemes->setCompleter(nullptr);  // the text is the user's own, never completed to an item
  ui_->colPage->Setup(dialogs_, kWhite);
  ui_->colText->Setup(dialogs_, kBlack);
  ui_->colLink->Setup(dialogs_, kBlue);
  ui_->colActiveLink->Setup(dialogs_, kRed);
  for (TUpDown* updown : {ui_->udRows, ui_->udCols}) updown->SetRange(kMinimumGridSide, kWizardMaxThumbnailGridSide);
  // Attached before the wizard's own handlers, so they read the position the text gave.
  ui_->udRows->Associate(ui_->edtRows);
  ui_->udCols->Associate(ui_->edtCols);
  ConnectHandlers();
  LoadSchemeList();
  resize(sizeHint().expandedTo(kDesignSize));
}

TfrmGenerate::~TfrmGenerate() {
  // A wizard released without being closed still keeps the user's scheme list.
  if (!closed_) RunCommand(dialogs_, [this] { StoreSchemeList(); });
}

void TfrmGenerate::ConnectHandlers() {
  const Ui::TfrmGenerate& ui = *ui_;
  connect(ui.btnNext, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnNextClick));
  connect(ui.btnPrevious, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnPreviousClick));
  connect(ui.btnFinish, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnFinishClick));
  connect(ui.btnCancel, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnCancelClick));
  connect(ui.Button2, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnCancelClick));
  connect(ui.Button1, &QPushButton::clicked, this, Handler(&TfrmGenerate::Button1Click));
  connect(ui.lnkSkip, &QPushButton::clicked, this, Handler(&TfrmGenerate::lnkSkipClick));
  connect(ui.lnkHowToUpload, &QPushButton::clicked, this, Handler(&TfrmGenerate::lnkHowToUploadClick));

  connect(ui.edtTitle, &QLineEdit::textChanged, this, Edit(&TfrmGenerate::edtTitleChange));
  connect(ui.mmoDescription, &QPlainTextEdit::textChanged, this, Edit(&TfrmGenerate::mmoDescriptionChange));
  connect(ui.rdoModern, &QRadioButton::toggled, this, Edit(&TfrmGenerate::rdoModernClick));

  connect(ui.cmbSchemes, &QComboBox::activated, this, Edit(&TfrmGenerate::cmbSchemesSelect));
  connect(ui.cmbSchemes->lineEdit(), &QLineEdit::textEdited, this, Edit(&TfrmGenerate::cmbSchemesChange));
  connect(ui.btnSaveScheme, &QPushButton::clicked, this, Edit(&TfrmGenerate::btnSaveSchemeClick));
  connect(ui.btnDelete, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnDeleteClick));
  connect(ui.colPage, &TColorChooser::ColorPicked, this, Edit(&TfrmGenerate::colPageChange));
  connect(ui.colText, &TColorChooser::ColorPicked, this, Edit(&TfrmGenerate::colTextChange));
  connect(ui.colLink, &TColorChooser::ColorPicked, this, Edit(&TfrmGenerate::colLinkChange));
  connect(ui.colActiveLink, &TColorChooser::ColorPicked, this, Edit(&TfrmGenerate::colActiveLinkChange));

  connect(ui.cmbThumbSize, &QComboBox::activated, this, Edit(&TfrmGenerate::cmbThumbSizeChange));
  connect(ui.edtRows, &QLineEdit::textChanged, this, Edit(&TfrmGenerate::edtRowsChange));
  connect(ui.edtCols, &QLineEdit::textChanged, this, Edit(&TfrmGenerate::edtColsChange));
  connect(ui.chkHomeLink, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkHomeLinkClick));
  connect(ui.edtHomepageURL, &QLineEdit::textChanged, this, Edit(&TfrmGenerate::edtHomepageURLChange));

  connect(ui.chkThumbNavigation, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkThumbNavigationClick));
  connect(ui.chkNavLoop, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkNavLoopClick));
  connect(ui.rdoAbove, &QRadioButton::toggled, this, Edit(&TfrmGenerate::rdoAboveClick));
  connect(ui.rdoBelow, &QRadioButton::toggled, this, Edit(&TfrmGenerate::rdoBelowClick));
  connect(ui.chkCameraData, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkCameraDataClick));
  connect(ui.cmbPhotoSize, &QComboBox::activated, this, Edit(&TfrmGenerate::cmbPhotoSizeChange));

  connect(ui.btnSelectFolder, &QPushButton::clicked, this, Handler(&TfrmGenerate::btnSelectFolderClick));
  connect(ui.chkAlbumCopy, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkAlbumCopyClick));
  connect(ui.chkZipDownload, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkZipDownloadClick));
  connect(ui.chkOriginalDownloads, &QCheckBox::toggled, this, Edit(&TfrmGenerate::chkOriginalDownloadsClick));
  connect(ui.edtWebAddress, &QLineEdit::textChanged, this, Edit(&TfrmGenerate::edtWebAddressChange));
}

void TfrmGenerate::Prepare(TAlbum& album, const TGlobalSettings& global_settings) {
  album_ = &album;
  global_settings_ = &global_settings;
  opened_look_ = TAlbumLook::Of(album);
  opened_saved_ = album.Saved;
  ShowPage(kFirstPage);
}

void TfrmGenerate::ShowPage(int page) {
  Ui::TfrmGenerate& ui = *ui_;
  current_page_ = page;
  ui.pnlPages->setCurrentIndex(page - 1);
  const bool choosing = page < kGeneratingPage;
  ui.btnPrevious->setEnabled(choosing && page > kFirstPage);
  ui.btnNext->setEnabled(choosing && page < kOutputPage);
  ui.btnFinish->setEnabled(choosing);
  ui.btnCancel->setEnabled(true);
  // Once the run starts no choice can change; only Skip and Cancel act.
  for (int i = 0; i < kOutputPage; ++i) ui.pnlPages->widget(i)->setEnabled(choosing);
  if (choosing)
    SetHeader(tr("Step %1 of %2: %3").arg(page).arg(kOutputPage).arg(tr(kPageHeaders[page - 1].step)),
              tr(kPageHeaders[page - 1].help));
  // Setting the controls calls their change handlers; that is no change by the user.
  const QScopedValueRollback<bool> loading(loading_, true);
  switch (page) {
    case 1:
      ui.edtTitle->setText(QString::fromStdString(album_->Title));
      ui.mmoDescription->setPlainText(QString::fromStdString(album_->Description));
      (album_->Settings.PageStyle == TPageStyle::Modern ? ui.rdoModern : ui.rdoClassic)->setChecked(true);
      break;
    case 2: SetupColorPage(); break;
    case 3: SetupIndexPage(); break;
    case 4: SetupPhotoPage(); break;
    case 5: SetupOutputPage(); break;
    case 6: ShowRunProgress(); break;
    case 7: SetupFinishedPage(); break;
  }
  // The page's new texts reach the wizard's own layout, whose request then lets it grow (event).
  ui.pnlPages->updateGeometry();
}

bool TfrmGenerate::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  // A page's texts may need more room than the wizard has: it grows, and never shrinks under the user.
  if (event->type() == QEvent::LayoutRequest) resize(size().expandedTo(sizeHint()));
  return handled;
}

void TfrmGenerate::SetHeader(const QString& step, const QString& help) {
  ui_->lblStep->setText(step);
  ui_->lblHeader->setText(help);
}

void TfrmGenerate::btnNextClick() {
  if (current_page_ >= kOutputPage) return;
  ShowPage(current_page_ + 1);
}

void TfrmGenerate::btnPreviousClick() {
  if (current_page_ <= kFirstPage || current_page_ > kOutputPage) return;
  ShowPage(current_page_ - 1);
}

void TfrmGenerate::btnCancelClick() { reject(); }

void TfrmGenerate::edtTitleChange() { album_->Title = ui_->edtTitle->text().toStdString(); }

void TfrmGenerate::mmoDescriptionChange() { album_->Description = ui_->mmoDescription->toPlainText().toStdString(); }

void TfrmGenerate::rdoModernClick(bool checked) {
  album_->Settings.SetPageStyle(checked ? TPageStyle::Modern : TPageStyle::Classic);
  RefreshIndexPreview();
  RefreshPhotoPreview();
}

void TfrmGenerate::SetupIndexPage() {
  Ui::TfrmGenerate& ui = *ui_;
  TAlbumSettings& settings = album_->Settings;
  // Other sizes come only from album files; the list keeps its selection.
  if (const int index = ChoiceIndex(kThumbSizeChoices, settings.ThumbSize); index >= 0)
    ui.cmbThumbSize->setCurrentIndex(index);
  // A number outside 1..25 from an album file becomes the nearest one the
  // fields can show, so the album holds what the page shows.
  ui.udRows->SetPosition(settings.ThumbnailRows);
  ui.udCols->SetPosition(settings.ThumbnailCols);
  settings.ThumbnailRows = ui.udRows->Position();
  settings.ThumbnailCols = ui.udCols->Position();
  const std::string home_url = settings.HomeURL;
  ui.chkHomeLink->setChecked(!home_url.empty());
  ui.edtHomepageURL->setEnabled(!home_url.empty());
  ui.lblHomePageURL->setEnabled(!home_url.empty());
  ui.edtHomepageURL->setText(home_url.empty() ? QStringLiteral("http://") : QString::fromStdString(home_url));
  RefreshIndexPreview();
}

void TfrmGenerate::cmbThumbSizeChange(int item) {
  if (item < 0 || item >= std::ssize(kThumbSizeChoices)) return;
  album_->Settings.SetThumbSize(kThumbSizeChoices[item]);
  RefreshIndexPreview();
}

void TfrmGenerate::edtRowsChange() {
  album_->Settings.ThumbnailRows = ui_->udRows->Position();
  RefreshIndexPreview();
}

void TfrmGenerate::edtColsChange() {
  album_->Settings.ThumbnailCols = ui_->udCols->Position();
  RefreshIndexPreview();
}

void TfrmGenerate::chkHomeLinkClick(bool checked) {
  ui_->edtHomepageURL->setEnabled(checked);
  ui_->lblHomePageURL->setEnabled(checked);
  if (!checked) album_->Settings.HomeURL.clear();
  RefreshIndexPreview();
}

void TfrmGenerate::edtHomepageURLChange(const QString& text) {
  // "http://" alone is the field's hint, not an address: the last real one stays.
  if (text != QStringLiteral("http://")) album_->Settings.HomeURL = text.toStdString();
  RefreshIndexPreview();
}

void TfrmGenerate::RefreshIndexPreview() { ui_->imgIndexPreview->ShowAlbum(*album_); }

void TfrmGenerate::SetupPhotoPage() {
  Ui::TfrmGenerate& ui = *ui_;
  const TAlbumSettings& settings = album_->Settings;
  const bool below = settings.NavigationBelowPhoto;
  const bool thumb_navigation = settings.ThumbNavigationBar;
  const bool loop = settings.NavigateInLoop;
  ui.chkThumbNavigation->setChecked(thumb_navigation);
  ui.chkNavLoop->setChecked(loop);
  (below ? ui.rdoBelow : ui.rdoAbove)->setChecked(true);
  ui.chkCameraData->setChecked(settings.ShowCameraData);
  // A choice the album's style does not use stays with the album all the same, for the other style.
  const bool navigation_place = StyleUsesChoice(settings.PageStyle, TStyleChoice::NavigationPlace);
  ui.rdoAbove->setEnabled(navigation_place);
  ui.rdoBelow->setEnabled(navigation_place);
  ui.chkCameraData->setEnabled(StyleUsesChoice(settings.PageStyle, TStyleChoice::CameraData));
  ui.cmbPhotoSize->clear();
  for (const TPhotoSizeChoice& choice : PhotoSizeChoices(settings))
    ui.cmbPhotoSize->addItem(PhotoSizeLabel(settings.PageStyle, choice));
  ui.cmbPhotoSize->setCurrentIndex(PhotoSizeChoiceIndex(settings));
  RefreshPhotoPreview();
}

void TfrmGenerate::chkThumbNavigationClick(bool checked) {
  album_->Settings.ThumbNavigationBar = checked;
  RefreshPhotoPreview();
}

void TfrmGenerate::chkNavLoopClick(bool checked) {
  album_->Settings.NavigateInLoop = checked;
  RefreshPhotoPreview();
}

void TfrmGenerate::rdoAboveClick(bool checked) {
  album_->Settings.NavigationBelowPhoto = !checked;
  RefreshPhotoPreview();
}

void TfrmGenerate::rdoBelowClick(bool checked) {
  album_->Settings.NavigationBelowPhoto = checked;
  RefreshPhotoPreview();
}

void TfrmGenerate::chkCameraDataClick(bool checked) {
  album_->Settings.ShowCameraData = checked;
  RefreshPhotoPreview();
}

void TfrmGenerate::cmbPhotoSizeChange(int item) {
  const std::vector<TPhotoSizeChoice> choices = PhotoSizeChoices(album_->Settings);
  if (item < 0 || item >= std::ssize(choices)) return;
  // Every classic choice, Custom too, starts from its standard width and height.
  ApplyPhotoSizeChoice(album_->Settings, choices[static_cast<size_t>(item)]);
  RefreshPhotoPreview();
}

void TfrmGenerate::RefreshPhotoPreview() { ui_->imgPhotoPreview->ShowAlbum(*album_); }

void TfrmGenerate::SetupOutputPage() {
  const std::string& folder = album_->Settings.OutputDirectory;
  ui_->edtOutputDirectory->setText(
      QString::fromStdString(folder.empty() ? DefaultOutputFolder(*album_, desktop_folder_) : folder));
  ui_->chkAlbumCopy->setChecked(album_->Settings.AlbumCopy);
  // A choice the album's style does not use stays with the album all the same, for the other style.
  const TPageStyle style = album_->Settings.PageStyle;
  ui_->chkZipDownload->setEnabled(StyleUsesChoice(style, TStyleChoice::Downloads));
  ui_->chkOriginalDownloads->setEnabled(StyleUsesChoice(style, TStyleChoice::Downloads));
  ui_->lblWebAddress->setEnabled(StyleUsesChoice(style, TStyleChoice::WebAddress));
  ui_->edtWebAddress->setEnabled(StyleUsesChoice(style, TStyleChoice::WebAddress));
  ui_->chkZipDownload->setChecked(album_->Settings.ZipDownload);
  ui_->chkOriginalDownloads->setChecked(album_->Settings.OriginalDownloads);
  ui_->edtWebAddress->setText(QString::fromStdString(album_->Settings.WebAddress));
}

void TfrmGenerate::chkAlbumCopyClick(bool checked) { album_->Settings.AlbumCopy = checked; }

void TfrmGenerate::chkZipDownloadClick(bool checked) { album_->Settings.ZipDownload = checked; }

void TfrmGenerate::chkOriginalDownloadsClick(bool checked) { album_->Settings.OriginalDownloads = checked; }

void TfrmGenerate::edtWebAddressChange(const QString& text) {
  album_->Settings.WebAddress = text.trimmed().toStdString();
}

void TfrmGenerate::btnSelectFolderClick() {
  const QString folder =
      dialogs_.ChooseFolder(tr("Select a folder"), DialogStartFolder(store_, TFileKind::OutputFolder));
  if (folder.isEmpty()) return;
  RememberDialogFolder(store_, dialogs_, TFileKind::OutputFolder, folder);
  ui_->edtOutputDirectory->setText(QString::fromStdString(JoinPath(folder.toStdString(), album_->AlbumFileBaseName())));
}

}  // namespace folivant
