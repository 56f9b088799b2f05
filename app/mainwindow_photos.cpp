// The main window's photo list commands: adding, importing, dropping,
// removing, moving, sorting, browsing and rotating photographs, and editing
// a photograph's title and caption.

#include <QCursor>
#include <QMenu>
#include <algorithm>

#include "app/mainwindow.h"
#include "app/shared/dialogs.h"
#include "editor/findfiles.h"
#include "model/metadata/imgdata.h"
#include "platform/filesystem.h"
#include "ui_mainwindow.h"

namespace folivant {

// The photographs in album order, to tell whether a command changed it.
static std::vector<const TPhotograph*> PhotoOrder(const TAlbum& album) {
  std::vector<const TPhotograph*> order;
  order.reserve(static_cast<size_t>(album.Photographs.Count()));
  for (int i = 0; i < album.Photographs.Count(); ++i) order.push_back(&album.Photographs[i]);
  return order;
}

void TfrmFolivant::addPhotoFile(const std::string& path) {
  auto photo = std::make_unique<TPhotograph>();
  photo->AdoptFile(path);
  const QString title = QString::fromStdString(photo->DisplayTitle());
  album_->Photographs.Add(std::move(photo));
  ++list_updates_;
  ui_->lstPhotos->addItem(title);
  --list_updates_;
}

void TfrmFolivant::refreshPhotoList() {
  ++list_updates_;
  ui_->lstPhotos->clear();
  for (int i = 0; i < album_->Photographs.Count(); ++i)
    ui_->lstPhotos->addItem(QString::fromStdString(album_->Photographs[i].DisplayTitle()));
  --list_updates_;
  selectOnly(0);
  if (ui_->lstPhotos->count() > 0) displayPhoto();
}

TRowSelection TfrmFolivant::rowSelection() const {
  TRowSelection selected(static_cast<size_t>(ui_->lstPhotos->count()));
  for (int row = 0; row < ui_->lstPhotos->count(); ++row)
    selected[static_cast<size_t>(row)] = ui_->lstPhotos->item(row)->isSelected();
  return selected;
}

int TfrmFolivant::focusRow() const { return ui_->lstPhotos->currentRow(); }

void TfrmFolivant::setFocusRow(int row) {
  ++list_updates_;
  ui_->lstPhotos->selectionModel()->setCurrentIndex(ui_->lstPhotos->model()->index(row, 0),
                                                    QItemSelectionModel::NoUpdate);
  --list_updates_;
}

TPhotograph* TfrmFolivant::currentPhoto() const {
  const int row = focusRow();
  if (row < 0 || row >= ui_->lstPhotos->count() || row >= album_->Photographs.Count()) return nullptr;
  return &album_->Photographs[row];
}

void TfrmFolivant::updateMoveCommands() {
  const TMoveCommands enabled = UpdateMoveCommands(rowSelection());
  ui_->itmMoveUp->setEnabled(enabled.Up);
  ui_->itmMoveDown->setEnabled(enabled.Down);
}

void TfrmFolivant::itmAddPhotoClick() {
  const QStringList chosen =
      dialogs_.ChooseFilesToOpen(QString::fromUtf8(kPhotoFileFilter), true, startFolder(TFileKind::Photographs));
  if (chosen.isEmpty()) return;
  rememberFolder(TFileKind::Photographs, chosen.front());
  runBusy([&] {
    for (const QString& path : chosen) addPhotoFile(path.toStdString());
    showEditor();
    album_->MarkModified();
  });
}

void TfrmFolivant::itmAddFolderOfPhotosClick() {
  const QString folder = dialogs_.ChooseFolder(
      QStringLiteral("Select a folder containing photos that you'd like to add."), startFolder(TFileKind::Photographs));
  if (folder.isEmpty()) return;
  rememberFolder(TFileKind::Photographs, folder);
  runBusy([&] {
    const std::vector<std::string> paths = FindPhotographs(folder.toStdString());
    if (paths.empty()) {
      dialogs_.Message(QStringLiteral("Couldn't find any JPEG photos in ") + folder + QLatin1Char('.'));
      return;
    }
    // The paths as the folder lists them: a QString would lose bytes that are not UTF-8.
    for (const std::string& path : paths) addPhotoFile(path);
    showEditor();
    // Imported photographs are unsaved work like added ones.
    album_->MarkModified();
    repaint();
  });
}

void TfrmFolivant::dropFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    const std::string name = path.toStdString();
    // A folder is skipped even when its name looks like a photograph's.
    if (IsJpegName(name) && !DirectoryExists(name)) addPhotoFile(name);
  }
  if (ui_->lstPhotos->count() == 0) return;
  showEditor();
  displayPhoto();
  album_->MarkModified();
}

void TfrmFolivant::itmRemovePhotoClick() {
  const TRowSelection selected = rowSelection();
  if (std::find(selected.begin(), selected.end(), true) == selected.end()) return;
  for (int row = static_cast<int>(selected.size()) - 1; row >= 0; --row)
    if (selected[static_cast<size_t>(row)]) album_->Photographs.Remove(&album_->Photographs[row]);
  refreshPhotoList();
  // Removing photographs is unsaved work too.
  album_->MarkModified();
}

void TfrmFolivant::moveSelected(std::vector<int> (*plan)(TRowSelection&), int offset) {
  if (ui_->lstPhotos->count() == 0) return;
  const TPhotograph* current = currentPhoto();
  TRowSelection selected = rowSelection();
  for (int row : plan(selected)) album_->Photographs.Move(row, row + offset);
  // Rows stay where they are; their texts and selection follow the photographs.
  ++list_updates_;
  for (int row = 0; row < ui_->lstPhotos->count(); ++row) {
    QListWidgetItem* item = ui_->lstPhotos->item(row);
    item->setText(QString::fromStdString(album_->Photographs[row].DisplayTitle()));
    item->setSelected(selected[static_cast<size_t>(row)]);
  }
  --list_updates_;
  updateMoveCommands();
  setFocusRow(album_->Photographs.IndexOf(current));
  album_->MarkModified();
}

void TfrmFolivant::itmMoveUpClick() { moveSelected(&MoveSelectedUp, -1); }

void TfrmFolivant::itmMoveDownClick() { moveSelected(&MoveSelectedDown, +1); }

void TfrmFolivant::sortPhotos(void (TAlbum::*sort)()) {
  runBusy([&] {
    const auto before = PhotoOrder(*album_);
    (album_.get()->*sort)();
    refreshPhotoList();
    // A new order is unsaved work; sorting an album already in order is not.
    if (PhotoOrder(*album_) != before) album_->MarkModified();
  });
}

void TfrmFolivant::popitmSortByTitleClick() { sortPhotos(&TAlbum::SortByTitle); }
void TfrmFolivant::popitmSortByDateClick() { sortPhotos(&TAlbum::SortByDate); }
void TfrmFolivant::popitmSortByFilenameClick() { sortPhotos(&TAlbum::SortByFileName); }

void TfrmFolivant::lnkSortClick() { popSort_->exec(QCursor::pos()); }
void TfrmFolivant::lnkRotateSelectedPhotoClick() { popRotate_->exec(QCursor::pos()); }

void TfrmFolivant::itmNextPhotoClick() {
  const int count = ui_->lstPhotos->count();
  if (count == 0) return;
  setFocusRow(focusRow() < count - 1 ? focusRow() + 1 : 0);
  displayPhoto();
}

void TfrmFolivant::itmPrevPhotoClick() {
  const int count = ui_->lstPhotos->count();
  if (count == 0) return;
  setFocusRow(focusRow() <= 0 ? count - 1 : focusRow() - 1);
  displayPhoto();
}

void TfrmFolivant::rotateCurrentPhoto(TRotation step) {
  if (ui_->lstPhotos->count() == 0 || focusRow() < 0) return;
  runBusy([&] {
    TPhotograph* photo = currentPhoto();
    if (!photo) return;
    photo->Rotate(step);
    displayPhoto();
    // The turn is kept only in the album file: unsaved work.
    album_->MarkModified();
  });
}

void TfrmFolivant::lstPhotosClick() {
  // Re-captioning the focus row keeps its selection state.
  displayPhoto();
  updateMoveCommands();
}

bool TfrmFolivant::lstPhotosKeyDown(int key) {
  if (key == Qt::Key_Delete && ui_->itmRemovePhoto->isEnabled()) {
    run([this] { itmRemovePhotoClick(); });
    return true;
  }
  if (key == Qt::Key_Insert && ui_->itmAddPhoto->isEnabled()) {
    run([this] { itmAddPhotoClick(); });
    return true;
  }
  return false;
}

// The fields report every change of their text, also the text displayPhoto
// puts in; only a text that differs from the photograph's marks the album modified.
void TfrmFolivant::edtTitleChange() {
  TPhotograph* photo = currentPhoto();
  const std::string title = ui_->edtTitle->text().toStdString();
  if (!photo || photo->Title == title) return;
  photo->Title = title;
  ui_->lstPhotos->item(focusRow())->setText(QString::fromStdString(photo->DisplayTitle()));
  album_->MarkModified();
}

void TfrmFolivant::mmoCaptionChange() { storeCaption(); }

void TfrmFolivant::storeCaption() {
  TPhotograph* photo = currentPhoto();
  const std::string text = ui_->mmoCaption->toPlainText().toStdString();
  if (!photo || CaptionToField(photo->Caption) == text) return;
  photo->Caption = CaptionFromField(text);
  album_->MarkModified();
}

}  // namespace folivant
