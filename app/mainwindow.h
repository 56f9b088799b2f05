#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "editor/listcommands.h"
#include "editor/startfolder.h"
#include "model/albumclasses.h"

class QMenu;

namespace Ui {
class TfrmFolivant;
}

namespace folivant {

class TDialogs;
class TGlobalSettings;
class TSettingsStore;
class TTips;

/// The main window: the album editor with its photo list, start page, preview
/// and commands. It owns the album being edited, the global settings and the
/// tip source for the whole run. Its code is split by command group:
/// mainwindow.cpp (start-up, views, shutdown), mainwindow_file.cpp,
/// mainwindow_photos.cpp, mainwindow_preview.cpp and mainwindow_help.cpp.
class TfrmFolivant : public QMainWindow {
  Q_OBJECT

 public:
  /// Window size when no placement is stored, in pixels.
  static constexpr int kDesignWidth = 760;
  static constexpr int kDesignHeight = 560;

  /// Builds the window on `dialogs` (nullptr: the real message boxes and file
  /// dialogs), reads its placement and the tip from the settings store in
  /// DefaultSettingsFolder(), starts a new album and opens `arguments`' first
  /// entry when it names an existing file. `program_folder` ends with "/".
  TfrmFolivant(std::string program_folder, const QStringList& arguments, TDialogs* dialogs = nullptr);
  /// Writes the placement and the tip index, then releases the tip source, the
  /// global settings and the album, in this order.
  ~TfrmFolivant() override;

  TAlbum& Album() { return *album_; }
  /// The photograph of the photo list's focus row; nullptr when there is none.
  TPhotograph* currentPhoto() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The commands; connectCommands connects each through CommandSlot.
  // File
  void btnNewClick();
  void itmOpenClick();
  void itmSaveClick();
  void itmSaveAsClick();
  void btnGenerateClick();
  void itmExitClick();
  void itmRemoveMissingAlbumsClick();
  void itmClearRecentAlbumsClick();
  // Photos
  void itmAddPhotoClick();
  void itmAddFolderOfPhotosClick();
  void itmRemovePhotoClick();
  void popitmSortByTitleClick();
  void popitmSortByDateClick();
  void popitmSortByFilenameClick();
  void itmMoveUpClick();
  void itmMoveDownClick();
  void itmNextPhotoClick();
  void itmPrevPhotoClick();
  void lnkSortClick();
  void lnkRotateSelectedPhotoClick();
  void lstPhotosClick();
  void edtTitleChange();
  void mmoCaptionChange();
  // Preview and missing photographs
  void btnLocateClick();
  void btnMissingPhotosClick();
  void lblNextTipClick();
  /// Shows the tip box with the next tip, or hides it when there is none to show.
  void showStartUpTip(bool show_tips);
  // Stylesheet editor, help, web links and About box
  void itmStylesheetTemplateClick();
  void itmHelpClick();
  void itmWebsiteClick();
  void itmSupportForumsClick();
  void itmUpdatesClick();
  void itmDonationClick();
  void btnAboutClick();

 private:
  std::unique_ptr<Ui::TfrmFolivant> ui_;
  std::unique_ptr<TDialogs> own_dialogs_;
  TDialogs& dialogs_;
  std::unique_ptr<TSettingsStore> settings_store_;
  std::unique_ptr<TAlbum> album_;
  std::unique_ptr<TGlobalSettings> globalSettings_;
  std::unique_ptr<TTips> tips_;
  QMenu* popSort_ = nullptr;
  QMenu* popRotate_ = nullptr;
  /// Above zero while the program itself changes the photo list, whose
  /// selection signals then must not run the user's selection handling.
  int list_updates_ = 0;
  bool shown_once_ = false;

  // Construction and wiring (mainwindow.cpp)
  void setUpLooks();
  void connectCommands();
  void loadWindowState();
  void saveWindowState();

  /// The title names the album's file ("Untitled" before its first save) and
  /// marks unsaved changes; run after every command.
  void updateTitle();

  // View operations shared by the commands (mainwindow.cpp)
  void resetAlbum();
  void openAlbumFile(const QString& path);
  void showStartPage();
  void showEditor();
  void startBusy();
  void endBusy();
  /// Runs one command, showing its error in the error box, then updates the
  /// title. Every command of the window runs through here.
  void run(const std::function<void()>& command);
  /// Runs `command` inside the busy state, which ends on failure too.
  void runBusy(const std::function<void()>& command);

  // Album files (mainwindow_file.cpp)
  /// Asks Save / Discard / Cancel when the album has unsaved changes; true
  /// when the album may be left (saved, or the changes discarded).
  bool mayLeaveAlbum();
  /// Open and the recent albums: leaves the album first, then opens `path`.
  void openAlbum(const QString& path);
  /// Puts `path` first in the recent albums and remembers its folder.
  void rememberAlbum(const std::string& path);
  /// Rebuilds the "Recent Albums" menu from the settings file.
  void refreshRecentAlbums();
  void changeRecentAlbums(const std::function<std::vector<std::string>(std::vector<std::string>)>& change);
  QString startFolder(TFileKind kind);
  void rememberFolder(TFileKind kind, const QString& chosen);

  // Photo list (mainwindow_photos.cpp)
  void addPhotoFile(const std::string& path);
  void refreshPhotoList();
  void updateMoveCommands();
  void rotateCurrentPhoto(TRotation step);
  void sortPhotos(void (TAlbum::*sort)());
  void dropFiles(const QStringList& paths);
  void moveSelected(std::vector<int> (*plan)(TRowSelection&), int offset);
  TRowSelection rowSelection() const;
  /// Moves the focus row without touching the selection.
  void setFocusRow(int row);
  /// Makes `row` the focus row and the only selected one, so that the row
  /// highlighted, the photograph shown and the row edits go to are one.
  void selectOnly(int row);
  int focusRow() const;
  void storeCaption();
  bool lstPhotosKeyDown(int key);

  // Preview (mainwindow_preview.cpp)
  void displayPhoto();
  void refreshPhotoCaptions();
};

}  // namespace folivant
