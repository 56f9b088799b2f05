// The main window's display of the current photograph, the tip of the day and
// the repair of missing photographs.

#include "app/mainwindow.h"
#include "app/photolistmodel.h"
#include "app/shared/dialogs.h"
#include "editor/tips.h"
#include "platform/filesystem.h"
#include "ui_mainwindow.h"

namespace folivant {

// A path on a line of its own, breakable after each "/" so that a long one wraps instead of widening the window.
static QString WrappablePath(const std::string& path) {
  return QString::fromStdString(path).replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

void TfrmFolivant::displayPhoto() {
  ui_->pnlStart->hide();
  TPhotograph* photo = currentPhoto();
  if (!photo) return;
  shown_photo_ = photo;
  ui_->pnlPhotoError->hide();
  ui_->pnlPhoto->show();
  try {
    ui_->imgPhotoPreview->ShowPhoto(photo->FileName, photo->Rotation);
  } catch (const std::exception&) {
    ui_->imgPhotoPreview->Clear();
    const QString reason = photo->Missing()
                               ? QStringLiteral(
                                     "This photograph could not be found. It may have been moved to a different "
                                     "folder or renamed since it was first added to this album.")
                               : QStringLiteral(
                                     "There was an error displaying this photograph. It may be corrupted or not "
                                     "a proper JPEG file.");
    ui_->lblPhotoError->setText(reason + QStringLiteral("\n\n") + WrappablePath(photo->FileName));
    ui_->pnlPhotoError->show();
    ui_->pnlPhoto->hide();
  }
  ui_->pnlError->setVisible(album_->AnyMissing());
  showPhotoTexts();
}

void TfrmFolivant::showPhotoTexts() {
  const TPhotograph* photo = currentPhoto();
  if (!photo) return;
  // Only a text that differs is put in, so that the cursor of a field being typed into stays where it is.
  const QString title = QString::fromStdString(photo->Title);
  if (ui_->edtTitle->text() != title) ui_->edtTitle->setText(title);
  const QString caption = QString::fromStdString(CaptionToField(photo->Caption));
  if (ui_->mmoCaption->toPlainText() != caption) ui_->mmoCaption->setPlainText(caption);
}

void TfrmFolivant::btnLocateClick() {
  TPhotograph* photo = currentPhoto();
  if (!photo) return;
  // Offer the photograph's own name, in its folder while that exists.
  const std::string folder = ExtractFilePath(photo->FileName);
  const std::string offered = DirectoryExists(folder) ? photo->FileName
                                                      : JoinPath(startFolder(TFileKind::Photographs).toStdString(),
                                                                 ExtractFileName(photo->FileName));
  const QStringList chosen =
      dialogs_.ChooseFilesToOpen(QString::fromUtf8(kPhotoFileFilter), false, QString::fromStdString(offered));
  if (chosen.isEmpty()) return;
  rememberFolder(TFileKind::Photographs, chosen.front());
  pushCommand(
      RelinkPhotos("Choose Another Photo", {{photo, chosen.front().toStdString()}}, TRelink::Adopt, highlight()));
  dialogs_.Inform(QStringLiteral("The photograph now comes from %1.").arg(QString::fromStdString(photo->FileName)));
}

// What "Find Missing Photos" found in `folder`, out of `missing` photographs.
static QString FoundMessage(const QString& folder, int missing, const QStringList& found) {
  if (found.isEmpty())
    return missing == 1 ? QStringLiteral("The missing photograph is not in %1.").arg(folder)
                        : QStringLiteral("None of the %1 missing photographs is in %2.").arg(missing).arg(folder);
  constexpr int kListed = 10;
  QString message =
      QStringLiteral("Found %1 of %2 missing photographs in %3:").arg(found.size()).arg(missing).arg(folder);
  for (const QString& name : found.mid(0, kListed)) message += QLatin1Char('\n') + name;
  if (found.size() > kListed) message += QStringLiteral("\nand %1 more").arg(found.size() - kListed);
  return message;
}

void TfrmFolivant::btnMissingPhotosClick() {
  const QString folder =
      dialogs_.ChooseFolder(QStringLiteral("Folivant will search for your missing photos in the folder you choose."),
                            startFolder(TFileKind::Photographs));
  if (folder.isEmpty()) {
    // Cancelled: the display is brought up to date all the same (a file may have come back).
    photo_model_->Refresh();
    displayPhoto();
    return;
  }
  rememberFolder(TFileKind::Photographs, folder);
  std::vector<std::pair<TPhotograph*, std::string>> files;
  for (int i = 0; i < album_->Photographs.Count(); ++i) {
    TPhotograph& photo = album_->Photographs[i];
    if (photo.Missing()) files.emplace_back(&photo, JoinPath(folder.toStdString(), ExtractFileName(photo.FileName)));
  }
  if (files.empty()) return;
  pushCommand(RelinkPhotos("Find Missing Photos", files, TRelink::Repoint, highlight()));
  QStringList found;
  for (const auto& [photo, path] : files)
    if (!photo->Missing()) found << QString::fromStdString(ExtractFileName(path));
  dialogs_.Inform(FoundMessage(folder, static_cast<int>(files.size()), found));
}

void TfrmFolivant::lblNextTipClick() { ui_->lblTip->setText(QString::fromStdString(tips_->NextTip())); }

void TfrmFolivant::showStartUpTip(bool show_tips) {
  const std::optional<std::string> tip = tips_->StartUpTip(show_tips);
  ui_->pnlTip->setVisible(tip.has_value());
  if (tip) ui_->lblTip->setText(QString::fromStdString(*tip));
}

}  // namespace folivant
