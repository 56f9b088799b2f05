// The main window's album file commands: New, Open, Save, Save As, Generate, Exit.

#include "app/mainwindow.h"
#include "app/shared/dialogs.h"
#include "app/wizard/generate.h"
#include "editor/listcommands.h"
#include "model/globalsettings.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "platform/ini.h"
#include "platform/settingsstore.h"
#include "ui_mainwindow.h"

namespace folivant {

static const QString kAlbumFileFilter = QStringLiteral("Web Album Files|*.alb");

void TfrmFolivant::btnNewClick() {
  if (!album_ || album_->Saved ||
      dialogs_.Ask(QStringLiteral("The current album has not been saved. Are you sure you want to create a new one?")))
    resetAlbum();
}

void TfrmFolivant::itmOpenClick() {
  if (!album_->Saved &&
      !dialogs_.Ask(QStringLiteral("The current album has not been saved. Are you sure you want to open a new one?")))
    return;
  const QStringList chosen = dialogs_.ChooseFilesToOpen(kAlbumFileFilter, false, QString());
  if (!chosen.isEmpty()) openAlbumFile(chosen.front());
}

void TfrmFolivant::itmSaveClick() {
  if (TrimBlanks(album_->FileName).empty())
    itmSaveAsClick();
  else
    album_->SaveToFile();
}

void TfrmFolivant::itmSaveAsClick() {
  const QString chosen = dialogs_.ChooseFileToSave(kAlbumFileFilter, false);
  if (chosen.isEmpty()) return;
  // The extension is added here, so the dialog cannot know the final name: ask about it here.
  const std::string path = WithAlbumExtension(chosen.toStdString());
  if (FileExists(path) && !dialogs_.Ask(QStringLiteral("The file '%1' already exists. Do you want to replace it?")
                                            .arg(QString::fromStdString(ExtractFileName(path)))))
    return;
  album_->FileName = path;
  album_->SaveToFile();
}

void TfrmFolivant::btnGenerateClick() {
  // With the real dialogs the wizard makes its own, so that its message boxes stand over it.
  TfrmGenerate wizard(own_dialogs_ ? nullptr : &dialogs_, *settings_store_, globalSettings_->ProgramFolder(),
                      DesktopFolder(), this);
  wizard.Prepare(*album_, *globalSettings_);
  wizard.exec();
}

void TfrmFolivant::itmExitClick() { close(); }

}  // namespace folivant
