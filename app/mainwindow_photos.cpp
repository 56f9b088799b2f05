// The main window's photo list commands: adding, importing, dropping,
// removing, moving, sorting, browsing and rotating photographs. Each change
// is a command on the undo stack; see mainwindow_edit.cpp.

#include <QCursor>
#include <QMenu>

#include "app/mainwindow.h"
#include "app/shared/dialogs.h"
#include "editor/findfiles.h"
#include "model/metadata/imgdata.h"
#include "platform/filesystem.h"
#include "ui_mainwindow.h"

namespace folivant {

std::unique_ptr<TPhotograph> TfrmFolivant::photoOfFile(const std::string& path) {
  auto photo = std::make_unique<TPhotograph>();
  photo->AdoptFile(path);
  return photo;
}

void TfrmFolivant::addPhotos(std::string_view verb, const std::vector<std::string>& paths) {
  std::vector<std::unique_ptr<TPhotograph>> photos;
  photos.reserve(paths.size());
  for (const std::string& path : paths) photos.push_back(photoOfFile(path));
  pushCommand(AddPhotos(verb, std::move(photos), highlight()));
}

void TfrmFolivant::itmAddPhotoClick() {
  const QStringList chosen =
      dialogs_.ChooseFilesToOpen(QString::fromUtf8(kPhotoFileFilter), true, startFolder(TFileKind::Photographs));
  if (chosen.isEmpty()) return;
  rememberFolder(TFileKind::Photographs, chosen.front());
  std::vector<std::string> paths;
  for (const QString& path : chosen) paths.push_back(path.toStdString());
  runBusy([&] { addPhotos("Add", paths); });
}

void TfrmFolivant::itmAddFolderOfPhotosClick() {
  const QString folder = dialogs_.ChooseFolder(
      QStringLiteral("Select a folder containing photos that you'd like to add."), startFolder(TFileKind::Photographs));
  if (folder.isEmpty()) return;
  rememberFolder(TFileKind::Photographs, folder);
  runBusy([&] {
    // The paths as the folder lists them: a QString would lose bytes that are not UTF-8.
    const std::vector<std::string> paths = FindPhotographs(folder.toStdString());
    if (paths.empty()) {
      dialogs_.Message(QStringLiteral("Couldn't find any JPEG photos in ") + folder + QLatin1Char('.'));
      return;
    }
    addPhotos("Import", paths);
    repaint();
  });
}

void TfrmFolivant::dropFiles(const QStringList& paths) {
  std::vector<std::string> photos;
  for (const QString& path : paths) {
    std::string name = path.toStdString();
    // A folder is skipped even when its name looks like a photograph's.
    if (IsJpegName(name) && !DirectoryExists(name)) photos.push_back(std::move(name));
  }
  if (!photos.empty()) addPhotos("Add", photos);
}

void TfrmFolivant::itmRemovePhotoClick() {
  // Only what is highlighted: the current row alone is no selection.
  const THighlight highlighted = highlight();
  if (highlighted.Selected.empty()) return;
  pushCommand(RemovePhotos(highlighted.Selected, highlighted));
}

void TfrmFolivant::movePhotos(TDirection direction) {
  if (album_->Photographs.Empty()) return;
  pushCommand(MovePhotos(direction, highlight()));
}

void TfrmFolivant::itmMoveUpClick() { movePhotos(TDirection::Up); }

void TfrmFolivant::itmMoveDownClick() { movePhotos(TDirection::Down); }

void TfrmFolivant::sortPhotos(const char* name, void (TAlbum::*sort)()) {
  runBusy([&] { pushCommand(SortPhotos(name, sort, highlight())); });
}

void TfrmFolivant::popitmSortByTitleClick() { sortPhotos("Sort by Title", &TAlbum::SortByTitle); }
void TfrmFolivant::popitmSortByDateClick() { sortPhotos("Sort by Date Taken", &TAlbum::SortByDate); }
void TfrmFolivant::popitmSortByFilenameClick() { sortPhotos("Sort by Filename", &TAlbum::SortByFileName); }

void TfrmFolivant::lnkSortClick() { popSort_->exec(QCursor::pos()); }
void TfrmFolivant::lnkRotateSelectedPhotoClick() { popRotate_->exec(QCursor::pos()); }

// Next and Previous wrap around and highlight the photograph they go to alone,
// so that the next command acts on the photograph on screen.
void TfrmFolivant::itmNextPhotoClick() {
  const int count = album_->Photographs.Count();
  if (count == 0) return;
  selectOnly(currentRow() < count - 1 ? currentRow() + 1 : 0);
  lstPhotosClick();
}

void TfrmFolivant::itmPrevPhotoClick() {
  const int count = album_->Photographs.Count();
  if (count == 0) return;
  selectOnly(currentRow() <= 0 ? count - 1 : currentRow() - 1);
  lstPhotosClick();
}

void TfrmFolivant::rotatePhotos(TRotation step) {
  std::vector<TPhotograph*> photos = photosToActOn();
  if (photos.empty()) return;
  runBusy([&] { pushCommand(RotatePhotos(std::move(photos), step, highlight())); });
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

}  // namespace folivant
