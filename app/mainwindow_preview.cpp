// The main window's display of the current photograph, the tip of the day and
// the repair of missing photographs.

#include "app/mainwindow.h"
#include "app/shared/dialogs.h"
#include "editor/tips.h"
#include "platform/filesystem.h"
#include "ui_mainwindow.h"

namespace folivant {

void TfrmFolivant::displayPhoto() {
  ui_->pnlStart->hide();
  TPhotograph* photo = currentPhoto();
  if (!photo) return;
  ui_->pnlPhotoError->hide();
  ui_->pnlPhoto->show();
  try {
    ui_->imgPhotoPreview->ShowPhoto(photo->FileName, photo->Rotation);
  } catch (const std::exception&) {
    ui_->imgPhotoPreview->Clear();
    ui_->lblPhotoError->setText(
        photo->Missing() ? QStringLiteral("This photograph could not be found. It may have been moved to a different "
                                          "folder or renamed since it was first added to this album.")
                         : QStringLiteral("There was an error displaying this photograph. It may be corrupted or not "
                                          "a proper JPEG file."));
    ui_->pnlPhotoError->show();
    ui_->pnlPhoto->hide();
  }
  ui_->pnlError->setVisible(album_->AnyMissing());
  ui_->lstPhotos->item(focusRow())->setText(QString::fromStdString(photo->DisplayTitle()));
  // Filling the fields runs their change handling, which finds nothing changed.
  ui_->edtTitle->setText(QString::fromStdString(photo->Title));
  const QString caption = QString::fromStdString(CaptionToField(photo->Caption));
  if (ui_->mmoCaption->toPlainText() != caption) ui_->mmoCaption->setPlainText(caption);
}

void TfrmFolivant::refreshPhotoCaptions() {
  for (int row = 0; row < ui_->lstPhotos->count() && row < album_->Photographs.Count(); ++row)
    ui_->lstPhotos->item(row)->setText(QString::fromStdString(album_->Photographs[row].DisplayTitle()));
}

void TfrmFolivant::btnLocateClick() {
  TPhotograph* photo = currentPhoto();
  if (!photo) return;
  const QStringList chosen =
      dialogs_.ChooseFilesToOpen(QString::fromUtf8(kPhotoFileFilter), false, QString::fromStdString(photo->FileName));
  if (chosen.isEmpty()) return;
  photo->SetFileName(chosen.front().toStdString());
  // The new file name is kept only in the album file: unsaved work.
  album_->MarkModified();
  displayPhoto();
}

void TfrmFolivant::btnMissingPhotosClick() {
  const QString folder = dialogs_.ChooseFolder(
      QStringLiteral("Folivant will search for your missing photos in the folder you choose."), QString());
  if (!folder.isEmpty()) {
    for (int i = 0; i < album_->Photographs.Count(); ++i) {
      TPhotograph& photo = album_->Photographs[i];
      if (!photo.Missing()) continue;
      const std::string moved = JoinPath(folder.toStdString(), ExtractFileName(photo.FileName));
      // A new file name is kept only in the album file: unsaved work.
      if (moved != photo.FileName) album_->MarkModified();
      photo.SetFileName(moved);
    }
  }
  displayPhoto();
  refreshPhotoCaptions();
}

void TfrmFolivant::lblNextTipClick() { ui_->lblTip->setText(QString::fromStdString(tips_->NextTip())); }

void TfrmFolivant::showStartUpTip(bool show_tips) {
  const std::optional<std::string> tip = tips_->StartUpTip(show_tips);
  ui_->pnlTip->setVisible(tip.has_value());
  if (tip) ui_->lblTip->setText(QString::fromStdString(*tip));
}

}  // namespace folivant
