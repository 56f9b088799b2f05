// The main window's start-up, wiring, shared view operations and shutdown.

#include "app/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QUndoStack>
#include <algorithm>

#include "app/about.h"
#include "app/photolistmodel.h"
#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"
#include "app/shared/icons.h"
#include "app/shared/thumbnailloader.h"
#include "editor/tips.h"
#include "editor/windowstate.h"
#include "model/globalsettings.h"
#include "platform/filesystem.h"
#include "platform/settingsstore.h"
#include "platform/text.h"
#include "ui_mainwindow.h"

namespace folivant {

TfrmFolivant::TfrmFolivant(std::string program_folder, const QStringList& arguments, TDialogs* dialogs)
    : ui_(std::make_unique<Ui::TfrmFolivant>()),
      own_dialogs_(dialogs ? nullptr : std::make_unique<TQtDialogs>(this)),
      dialogs_(dialogs ? *dialogs : *own_dialogs_),
      settings_store_(std::make_unique<TSettingsStore>()) {
  ui_->setupUi(this);
  setUpLooks();
  setUpUndo();
  setUpShortcuts();
  connectCommands();

  globalSettings_ = std::make_unique<TGlobalSettings>(std::move(program_folder), *settings_store_);
  loadWindowState();
  run([this] { refreshRecentAlbums(); });
  run([this] { btnNewClick(); });
  if (!arguments.isEmpty() && FileExists(arguments.front().toStdString()))
    run([&] { openAlbumFile(arguments.front()); });
}

TfrmFolivant::~TfrmFolivant() {
  run([this] { saveWindowState(); });
  // The commands go while the album they name is still there, and tell the window nothing more.
  undo_stack_->disconnect();
  delete undo_stack_;
  tips_.reset();
  globalSettings_.reset();
  album_.reset();
}

void TfrmFolivant::setUpLooks() {
  setWindowIcon(QIcon::fromTheme(QStringLiteral("folivant"), ApplicationIcon()));
  ui_->itmNew->setIcon(ThemeIcon(QStringLiteral("document-new")));
  ui_->itmOpen->setIcon(ThemeIcon(QStringLiteral("document-open")));
  ui_->itmSave->setIcon(ThemeIcon(QStringLiteral("document-save")));
  ui_->itmSaveAs->setIcon(ThemeIcon(QStringLiteral("document-save-as")));
  ui_->itmGenerate->setIcon(ThemeIcon(QStringLiteral("applications-internet")));
  ui_->itmExit->setIcon(ThemeIcon(QStringLiteral("application-exit")));
  ui_->itmAddPhoto->setIcon(ThemeIcon(QStringLiteral("list-add")));
  ui_->itmRemovePhoto->setIcon(ThemeIcon(QStringLiteral("list-remove")));
  ui_->itmAddFolderOfPhotos->setIcon(ThemeIcon(QStringLiteral("folder-open")));
  ui_->itmMoveUp->setIcon(ThemeIcon(QStringLiteral("go-up")));
  ui_->itmMoveDown->setIcon(ThemeIcon(QStringLiteral("go-down")));
  ui_->itmNextPhoto->setIcon(ThemeIcon(QStringLiteral("go-next")));
  ui_->itmPrevPhoto->setIcon(ThemeIcon(QStringLiteral("go-previous")));
  ui_->itmRotateLeft->setIcon(ThemeIcon(QStringLiteral("object-rotate-left")));
  ui_->itmRotateRight->setIcon(ThemeIcon(QStringLiteral("object-rotate-right")));
  ui_->itmHelp->setIcon(ThemeIcon(QStringLiteral("help-contents")));
  ui_->itmAbout->setIcon(ThemeIcon(QStringLiteral("help-about")));
  ui_->btnMoveUp->setIcon(ui_->itmMoveUp->icon());
  ui_->btnMoveDown->setIcon(ui_->itmMoveDown->icon());
  ui_->lnkAddPhotos->setIcon(ui_->itmAddPhoto->icon());
  ui_->lnkRemovePhotos->setIcon(ui_->itmRemovePhoto->icon());
  ui_->lnkSortPhotos->setIcon(ThemeIcon(QStringLiteral("view-sort-ascending")));
  ui_->lnkRotateSelectedPhoto->setIcon(ui_->itmRotateRight->icon());
  ui_->lnkGenerate->setIcon(ui_->itmGenerate->icon());
  for (QToolButton* link : {ui_->lnkStartAddPhotos, ui_->lnkStartOpen, ui_->lnkStartHelp, ui_->lnkStartForums})
    link->setIcon(ThemeIcon(QStringLiteral("go-next")));
  ui_->imgWarning->setPixmap(ThemeIcon(QStringLiteral("dialog-warning")).pixmap(32, 32));
  ui_->imgTip->setPixmap(ThemeIcon(QStringLiteral("folivant-tip")).pixmap(32, 32));

  // Task links: flat, link-coloured, underlined under the pointer.
  const QString link_style = QStringLiteral(
      "QToolButton { border: none; padding: 3px 6px; color: palette(link); background: transparent; }"
      "QToolButton:hover { text-decoration: underline; }"
      "QToolButton:disabled { color: palette(mid); }");
  for (QToolButton* link :
       {ui_->lnkAddPhotos, ui_->lnkRemovePhotos, ui_->lnkSortPhotos, ui_->lnkRotateSelectedPhoto, ui_->lnkGenerate,
        ui_->lnkStartAddPhotos, ui_->lnkStartOpen, ui_->lnkStartHelp, ui_->lnkStartForums}) {
    link->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    link->setIconSize(QSize(16, 16));
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(link_style);
    link->parentWidget()->layout()->setAlignment(link, Qt::AlignLeft);
  }
  const QString heading_style = QStringLiteral(
      "QLabel { background: palette(highlight); color: palette(highlighted-text); font-weight: bold; padding: 4px 0; "
      "}");
  ui_->lblActionsHeading->setStyleSheet(heading_style);
  ui_->lblPhotographsHeading->setStyleSheet(heading_style);
  ui_->pnlActions->setMinimumHeight(60);
  // The task links keep the height they need; the photo list takes the rest.
  ui_->pnlActionLinks->ensurePolished();
  ui_->splitSideBar->setStretchFactor(0, 0);
  ui_->splitSideBar->setStretchFactor(1, 1);
  ui_->splitSideBar->setSizes(
      {ui_->pnlActionLinks->sizeHint().height() + 2 * ui_->pnlActions->frameWidth(), kDesignHeight});
  ui_->splitMain->setSizes({210, kDesignWidth - 210});
  ui_->splitMain->setStretchFactor(1, 1);

  // The warning banner and the tip of the day stand out in the theme's own
  // alternate colour, so that they stay readable in dark themes too.
  for (QFrame* box : {ui_->pnlError, ui_->pnlTip}) {
    box->setBackgroundRole(QPalette::AlternateBase);
    box->setAutoFillBackground(true);
    for (QLabel* label : box->findChildren<QLabel*>()) label->setForegroundRole(QPalette::Text);
  }
  ui_->layError->setStretch(1, 1);
  ui_->layTip->setStretch(1, 1);
  QFont bold = font();
  bold.setBold(true);
  ui_->lblWarningHeading->setFont(bold);
  ui_->lblPhotoErrorHeading->setFont(bold);

  // The start page: white, with somewhat larger text than the rest of the window.
  QPalette start_palette = ui_->pnlStart->palette();
  start_palette.setColor(QPalette::Window, start_palette.color(QPalette::Base));
  ui_->pnlStart->setPalette(start_palette);
  QFont start_font = font();
  start_font.setPointSizeF(start_font.pointSizeF() + 1);
  ui_->pnlStart->setFont(start_font);
  QFont welcome_font = start_font;
  welcome_font.setPointSizeF(start_font.pointSizeF() + 5);
  welcome_font.setBold(true);
  ui_->lblWelcome->setFont(welcome_font);
  QFont tip_heading_font = start_font;
  tip_heading_font.setBold(true);
  ui_->lblTipHeading->setFont(tip_heading_font);

  // The preview's surroundings take the workspace colour of the desktop.
  QPalette photo_palette = ui_->pnlPhoto->palette();
  photo_palette.setColor(QPalette::Window, photo_palette.color(QPalette::Dark));
  ui_->pnlPhoto->setPalette(photo_palette);

  popSort_ = new QMenu(this);
  popSort_->addActions({ui_->popitmSortByTitle, ui_->popitmSortByDate, ui_->popitmSortByFilename});
  popRotate_ = new QMenu(this);
  popRotate_->addActions({ui_->popitmRotateRight, ui_->popitmRotateLeft, ui_->popitmRotateUpsideDown});

  photo_model_ = new TPhotoListModel(this);
  ui_->lstPhotos->setModel(photo_model_);
  // Row r shows the thumbnail of photograph r of whichever album is open.
  new TPhotoListThumbnails(ui_->lstPhotos, [this](int row) { return photo_model_->Photo(row); });
  ui_->lstPhotos->setAcceptDrops(true);
  ui_->lstPhotos->viewport()->setAcceptDrops(true);
  ui_->lstPhotos->installEventFilter(this);
  ui_->lstPhotos->viewport()->installEventFilter(this);
  ui_->edtTitle->installEventFilter(this);
  ui_->mmoCaption->installEventFilter(this);
}

// The desktop's keys for a command, or `fallback` where the platform theme has
// none (Save As and Quit under some themes, Help under others).
static QList<QKeySequence> KeysOr(QKeySequence::StandardKey standard, const QKeySequence& fallback) {
  const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
  return keys.isEmpty() ? QList<QKeySequence>{fallback} : keys;
}

void TfrmFolivant::setUpShortcuts() {
  ui_->itmNew->setShortcuts(KeysOr(QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N)));
  ui_->itmOpen->setShortcuts(KeysOr(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
  ui_->itmSave->setShortcuts(KeysOr(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
  ui_->itmSaveAs->setShortcuts(KeysOr(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
  ui_->itmExit->setShortcuts(KeysOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
  ui_->itmUndo->setShortcuts(KeysOr(QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
  ui_->itmRedo->setShortcuts(KeysOr(QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
  ui_->itmHelp->setShortcuts(KeysOr(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
}

void TfrmFolivant::connectCommands() {
  // Each command runs through `run`, which shows its error and updates the title.
  const auto command = [this](void (TfrmFolivant::*slot)()) {
    return [this, slot] { run([this, slot] { (this->*slot)(); }); };
  };
  const auto on = [&](QAction* action, void (TfrmFolivant::*slot)()) {
    connect(action, &QAction::triggered, this, command(slot));
  };
  const auto on_click = [&](QAbstractButton* button, void (TfrmFolivant::*slot)()) {
    connect(button, &QAbstractButton::clicked, this, command(slot));
  };
  on(ui_->itmNew, &TfrmFolivant::btnNewClick);
  on(ui_->itmOpen, &TfrmFolivant::itmOpenClick);
  on(ui_->itmSave, &TfrmFolivant::itmSaveClick);
  on(ui_->itmSaveAs, &TfrmFolivant::itmSaveAsClick);
  on(ui_->itmGenerate, &TfrmFolivant::btnGenerateClick);
  on(ui_->itmStylesheetTemplate, &TfrmFolivant::itmStylesheetTemplateClick);
  on(ui_->itmExit, &TfrmFolivant::itmExitClick);
  on(ui_->itmUndo, &TfrmFolivant::itmUndoClick);
  on(ui_->itmRedo, &TfrmFolivant::itmRedoClick);
  on(ui_->itmAddPhoto, &TfrmFolivant::itmAddPhotoClick);
  on(ui_->itmAddFolderOfPhotos, &TfrmFolivant::itmAddFolderOfPhotosClick);
  on(ui_->itmRemovePhoto, &TfrmFolivant::itmRemovePhotoClick);
  on(ui_->popitmSortByTitle, &TfrmFolivant::popitmSortByTitleClick);
  on(ui_->popitmSortByDate, &TfrmFolivant::popitmSortByDateClick);
  on(ui_->popitmSortByFilename, &TfrmFolivant::popitmSortByFilenameClick);
  on(ui_->itmMoveUp, &TfrmFolivant::itmMoveUpClick);
  on(ui_->itmMoveDown, &TfrmFolivant::itmMoveDownClick);
  on(ui_->itmNextPhoto, &TfrmFolivant::itmNextPhotoClick);
  on(ui_->itmPrevPhoto, &TfrmFolivant::itmPrevPhotoClick);
  on(ui_->itmHelp, &TfrmFolivant::itmHelpClick);
  on(ui_->itmWebsite, &TfrmFolivant::itmWebsiteClick);
  on(ui_->itmSupportForums, &TfrmFolivant::itmSupportForumsClick);
  on(ui_->itmUpdates, &TfrmFolivant::itmUpdatesClick);
  on(ui_->itmDonation, &TfrmFolivant::itmDonationClick);
  on(ui_->itmAbout, &TfrmFolivant::btnAboutClick);
  const std::pair<QAction*, TRotation> rotations[] = {{ui_->itmRotateLeft, TRotation::Left},
                                                      {ui_->popitmRotateLeft, TRotation::Left},
                                                      {ui_->itmRotateRight, TRotation::Right},
                                                      {ui_->popitmRotateRight, TRotation::Right},
                                                      {ui_->itmRotateUpsideDown, TRotation::UpsideDown},
                                                      {ui_->popitmRotateUpsideDown, TRotation::UpsideDown}};
  for (const auto& [action, step] : rotations)
    connect(action, &QAction::triggered, this, [this, step = step] { run([this, step] { rotatePhotos(step); }); });
  on(ui_->itmRemoveMissingAlbums, &TfrmFolivant::itmRemoveMissingAlbumsClick);
  on(ui_->itmClearRecentAlbums, &TfrmFolivant::itmClearRecentAlbumsClick);
  connect(ui_->mnuRecentAlbums, &QMenu::aboutToShow, this, [this] { run([this] { refreshRecentAlbums(); }); });

  on_click(ui_->lnkAddPhotos, &TfrmFolivant::itmAddPhotoClick);
  on_click(ui_->lnkRemovePhotos, &TfrmFolivant::itmRemovePhotoClick);
  on_click(ui_->lnkSortPhotos, &TfrmFolivant::lnkSortClick);
  on_click(ui_->lnkRotateSelectedPhoto, &TfrmFolivant::lnkRotateSelectedPhotoClick);
  on_click(ui_->lnkGenerate, &TfrmFolivant::btnGenerateClick);
  on_click(ui_->lnkStartAddPhotos, &TfrmFolivant::itmAddPhotoClick);
  on_click(ui_->lnkStartOpen, &TfrmFolivant::itmOpenClick);
  on_click(ui_->lnkStartHelp, &TfrmFolivant::itmHelpClick);
  on_click(ui_->lnkStartForums, &TfrmFolivant::itmSupportForumsClick);
  on_click(ui_->btnMoveUp, &TfrmFolivant::itmMoveUpClick);
  on_click(ui_->btnMoveDown, &TfrmFolivant::itmMoveDownClick);
  on_click(ui_->btnLocate, &TfrmFolivant::btnLocateClick);
  on_click(ui_->btnMissingPhotos, &TfrmFolivant::btnMissingPhotosClick);
  connect(ui_->lblNextTip, &QLabel::linkActivated, this, command(&TfrmFolivant::lblNextTipClick));
  ui_->lnkSortPhotos->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->lnkSortPhotos, &QWidget::customContextMenuRequested, this, command(&TfrmFolivant::lnkSortClick));

  const auto user_selection = [this] {
    if (list_updates_ == 0) run([this] { lstPhotosClick(); });
  };
  connect(ui_->lstPhotos->selectionModel(), &QItemSelectionModel::currentChanged, this, user_selection);
  connect(ui_->lstPhotos->selectionModel(), &QItemSelectionModel::selectionChanged, this, user_selection);
  connect(ui_->edtTitle, &QLineEdit::textChanged, this, command(&TfrmFolivant::edtTitleChange));
  connect(ui_->mmoCaption, &QPlainTextEdit::textChanged, this, command(&TfrmFolivant::mmoCaptionChange));
}

// The available area of every screen, the primary one first.
static std::vector<TScreenRect> AvailableScreenAreas() {
  QList<QScreen*> screens = QGuiApplication::screens();
  std::stable_partition(screens.begin(), screens.end(),
                        [](const QScreen* screen) { return screen == QGuiApplication::primaryScreen(); });
  std::vector<TScreenRect> areas;
  for (const QScreen* screen : screens) {
    const QRect area = screen->availableGeometry();
    areas.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  return areas;
}

// The desktop's scale in percent: 200 where a logical pixel is two of the screen's.
static int32_t ScalePercent(qreal device_pixel_ratio) { return qRound(device_pixel_ratio * 100); }

void TfrmFolivant::loadWindowState() {
  const QScreen& primary = *QGuiApplication::primaryScreen();
  const QRect screen = primary.geometry();
  const TWindowState stored =
      ReadWindowState(settings_store_->Load(), {kDesignWidth, kDesignHeight}, {screen.width(), screen.height()});
  const TWindowState state =
      FitOnScreen(AtScale(stored, ScalePercent(primary.devicePixelRatio())), AvailableScreenAreas());
  const std::string warning = settings_store_->TakeWarning();
  if (!warning.empty()) dialogs_.ShowError(ErrorBoxText(QString::fromStdString(warning)));
  move(state.Left, state.Top);
  resize(state.Width, state.Height);
  if (state.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
  tips_ = std::make_unique<TTips>(globalSettings_->ProgramFolder(), state.CurrentTip);
  const bool show_tips = ReadShowTips(settings_store_->Root());
  ui_->chkShowTips->setChecked(show_tips);
  run([this, show_tips] { showStartUpTip(show_tips); });
}

void TfrmFolivant::saveWindowState() {
  TWindowState state;
  state.CurrentTip = tips_->CurrentIndex();
  state.Maximized = isMaximized();
  state.Top = y();
  state.Left = x();
  state.Width = width();
  state.Height = height();
  state.Scale = ScalePercent(devicePixelRatioF());
  // Read afresh, so that what other windows stored since start-up stays.
  WriteWindowState(settings_store_->Load(), state);
  WriteShowTips(settings_store_->Root(), ui_->chkShowTips->isChecked());
  settings_store_->Save();
}

void TfrmFolivant::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  // Only shown: the photo list itself handles the two keys.
  ui_->itmAddPhoto->setText(ui_->itmAddPhoto->text() + QStringLiteral("\tIns"));
  ui_->itmRemovePhoto->setText(ui_->itmRemovePhoto->text() + QStringLiteral("\tDel"));
}

void TfrmFolivant::closeEvent(QCloseEvent* event) {
  const bool leave = mayLeaveAlbum();
  updateTitle();  // a save may have named the album
  if (leave)
    event->accept();
  else
    event->ignore();
}

bool TfrmFolivant::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->lstPhotos && event->type() == QEvent::KeyPress)
    return lstPhotosKeyDown(static_cast<QKeyEvent*>(event)->key());
  if (watched == ui_->edtTitle || watched == ui_->mmoCaption) {
    if (event->type() == QEvent::FocusOut) endTyping();
    // The fields' own undo would know only what was typed since the photograph
    // was shown; Undo and Redo undo the album's steps there too.
    if (event->type() == QEvent::ShortcutOverride) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) return true;
    }
  }
  if (watched == ui_->lstPhotos->viewport()) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDropEvent*>(event);
      if (!drag->mimeData()->hasUrls()) return false;
      drag->setDropAction(Qt::CopyAction);
      drag->accept();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      QStringList paths;
      for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      run([&] { dropFiles(paths); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmFolivant::run(const std::function<void()>& command) {
  RunCommand(dialogs_, command);
  // Also after a failure: a failed Save As has named the album all the same.
  updateTitle();
}

void TfrmFolivant::updateTitle() {
  if (!album_) return;  // start-up, before the first album
  const std::string name = TrimBlanks(album_->FileName).empty() ? "Untitled" : ExtractFileName(album_->FileName);
  setWindowTitle(QString::fromStdString(name) + QStringLiteral("[*] \u2014 Folivant"));
  setWindowModified(!album_->Saved);
}

void TfrmFolivant::runBusy(const std::function<void()>& command) {
  struct TBusy {
    TfrmFolivant& window;
    explicit TBusy(TfrmFolivant& w) : window(w) { window.startBusy(); }
    ~TBusy() { window.endBusy(); }
  } busy(*this);
  command();
}

// Commands hold photographs of the album they were made on: the stack is
// emptied before another album takes its place.
void TfrmFolivant::resetAlbum() {
  undo_stack_->clear();
  takeAlbum(std::make_unique<TAlbum>());
  showStartPage();
}

void TfrmFolivant::openAlbumFile(const QString& path) {
  // Read first: a file that fails leaves the window and its album as they were.
  std::unique_ptr<TAlbum> opened = TAlbum::LoadFromFile(path.toStdString());
  undo_stack_->clear();
  takeAlbum(std::move(opened));
  showStartPage();
  rememberAlbum(path.toStdString());
  if (album_->Photographs.Empty()) return;
  showEditor();
  selectOnly(0);
  displayPhoto();
  updateCommands();
}

void TfrmFolivant::takeAlbum(std::unique_ptr<TAlbum> album) {
  ++list_updates_;
  photo_model_->SetAlbum(nullptr);
  album_ = std::move(album);
  shown_photo_ = nullptr;
  photo_model_->SetAlbum(album_.get());
  --list_updates_;
}

void TfrmFolivant::showStartPage() {
  ui_->pnlError->hide();
  ui_->imgPhotoPreview->Clear();
  ui_->pnlStart->show();
  ui_->pnlPhotoEdit->hide();
  updateCommands();
}

void TfrmFolivant::showEditor() {
  ui_->pnlStart->hide();
  ui_->pnlPhotoEdit->show();
}

void TfrmFolivant::startBusy() {
  ui_->pnlMain->setEnabled(false);
  ui_->pnlSideBar->setEnabled(false);
  ui_->lstPhotos->hide();
  setCursor(Qt::WaitCursor);
  // Paint the change now; user input waits until the work is done.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmFolivant::endBusy() {
  ui_->pnlMain->setEnabled(true);
  ui_->pnlSideBar->setEnabled(true);
  ui_->lstPhotos->show();
  unsetCursor();
}

}  // namespace folivant
