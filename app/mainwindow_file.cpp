// The main window's album file commands: New, Open, the recent albums, Save,
// Save As, Generate, Exit, and the question before unsaved work is left.

#include <QMenu>
#include <QUndoStack>
#include <functional>

#include "app/mainwindow.h"
#include "app/shared/dialogfolders.h"
#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"
#include "app/wizard/generate.h"
#include "editor/listcommands.h"
#include "editor/recentalbums.h"
#include "model/globalsettings.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "platform/settingsstore.h"
#include "platform/text.h"
#include "ui_mainwindow.h"

namespace folivant {

static const QString kAlbumFileFilter = QStringLiteral("Web Album Files|*.alb");

bool TfrmFolivant::mayLeaveAlbum() {
  if (album_->Saved) return true;
  switch (
      dialogs_.AskToSave(QStringLiteral("The current album has not been saved. Do you want to save your changes?"))) {
    case TSaveAnswer::Discard: return true;
    case TSaveAnswer::Cancel: return false;
    case TSaveAnswer::Save: break;
  }
  // A save that fails or whose file choice is cancelled keeps the album open.
  return RunCommand(dialogs_, [this] { itmSaveClick(); }) && album_->Saved;
}

void TfrmFolivant::btnNewClick() {
  if (!album_ || mayLeaveAlbum()) resetAlbum();
}

void TfrmFolivant::itmOpenClick() {
  if (!mayLeaveAlbum()) return;
  const QStringList chosen = dialogs_.ChooseFilesToOpen(kAlbumFileFilter, false, startFolder(TFileKind::Albums));
  if (!chosen.isEmpty()) openAlbumFile(chosen.front());
}

void TfrmFolivant::openAlbum(const QString& path) {
  if (mayLeaveAlbum()) openAlbumFile(path);
}

void TfrmFolivant::itmSaveClick() {
  if (TrimBlanks(album_->FileName).empty()) {
    itmSaveAsClick();
    return;
  }
  album_->SaveToFile();
  undo_stack_->setClean();
  rememberAlbum(album_->FileName);
}

void TfrmFolivant::itmSaveAsClick() {
  // A new album is offered a name made from its title.
  const QString offered = QString::fromStdString(
      TrimBlanks(album_->FileName).empty()
          ? JoinPath(startFolder(TFileKind::Albums).toStdString(), album_->AlbumFileBaseName() + ".alb")
          : album_->FileName);
  const QString chosen = dialogs_.ChooseFileToSave(kAlbumFileFilter, false, offered);
  if (chosen.isEmpty()) return;
  // The extension is added here, so the dialog cannot know the final name: ask about it here.
  const std::string path = WithAlbumExtension(chosen.toStdString());
  if (FileExists(path) && !dialogs_.Ask(QStringLiteral("The file '%1' already exists. Do you want to replace it?")
                                            .arg(QString::fromStdString(ExtractFileName(path)))))
    return;
  album_->FileName = path;
  album_->SaveToFile();
  undo_stack_->setClean();
  rememberAlbum(path);
}

void TfrmFolivant::btnGenerateClick() {
  const TAlbumLook before = TAlbumLook::Of(*album_);
  const bool saved = album_->Saved;
  {
    // With the real dialogs the wizard makes its own, so that its message boxes stand over it.
    TfrmGenerate wizard(own_dialogs_ ? nullptr : &dialogs_, *settings_store_, globalSettings_->ProgramFolder(),
                        DesktopFolder(), this);
    wizard.Prepare(*album_, *globalSettings_);
    wizard.exec();
  }
  // What the wizard kept is one step; settings set back as they were are none.
  TAlbumLook after = TAlbumLook::Of(*album_);
  album_->Saved = saved;
  if (after != before) pushCommand(ChangeAlbumLook(before, std::move(after), highlight()));
}

void TfrmFolivant::itmExitClick() { close(); }

QString TfrmFolivant::startFolder(TFileKind kind) { return DialogStartFolder(*settings_store_, kind); }

void TfrmFolivant::rememberFolder(TFileKind kind, const QString& chosen) {
  RememberDialogFolder(*settings_store_, dialogs_, kind, chosen);
}

void TfrmFolivant::rememberAlbum(const std::string& path) {
  changeRecentAlbums([&](std::vector<std::string> paths) { return WithRecentAlbum(std::move(paths), path); });
  rememberFolder(TFileKind::Albums, QString::fromStdString(path));
}

// The album file itself is opened or saved by now; a settings file that
// cannot be written is shown and the command goes on.
void TfrmFolivant::changeRecentAlbums(const std::function<std::vector<std::string>(std::vector<std::string>)>& change) {
  RunCommand(dialogs_, [&] {
    TSettingsKey& root = settings_store_->Load();
    WriteRecentAlbums(root, change(ReadRecentAlbums(root)));
    settings_store_->Save();
  });
  refreshRecentAlbums();
}

void TfrmFolivant::itmRemoveMissingAlbumsClick() { changeRecentAlbums(&WithoutMissingAlbums); }

void TfrmFolivant::itmClearRecentAlbumsClick() {
  changeRecentAlbums([](const std::vector<std::string>&) { return std::vector<std::string>(); });
}

// Rebuilt each time the menu opens, so that files removed since show greyed.
void TfrmFolivant::refreshRecentAlbums() {
  // The album entries stand before the separator; the two list commands after it.
  QAction* separator = nullptr;
  for (QAction* entry : ui_->mnuRecentAlbums->actions()) {
    if (entry->isSeparator()) {
      separator = entry;
      break;
    }
    ui_->mnuRecentAlbums->removeAction(entry);
    entry->deleteLater();  // it may be the entry being triggered
  }
  const std::vector<std::string> paths = ReadRecentAlbums(settings_store_->Load());
  bool any_missing = false;
  for (size_t index = 0; index < paths.size(); ++index) {
    const QString path = QString::fromStdString(paths[index]);
    const QString name =
        QString::fromStdString(ExtractFileName(paths[index])).replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* entry = new QAction(QStringLiteral("&%1 %2").arg(index + 1).arg(name), ui_->mnuRecentAlbums);
    entry->setToolTip(path);
    entry->setStatusTip(path);
    const bool exists = FileExists(paths[index]);
    entry->setEnabled(exists);
    any_missing = any_missing || !exists;
    connect(entry, &QAction::triggered, this, [this, path] { run([this, path] { openAlbum(path); }); });
    ui_->mnuRecentAlbums->insertAction(separator, entry);
  }
  ui_->mnuRecentAlbums->menuAction()->setEnabled(!paths.empty());
  ui_->itmRemoveMissingAlbums->setEnabled(any_missing);
}

}  // namespace folivant
