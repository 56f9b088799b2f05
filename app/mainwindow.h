#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/albumcommands.h"
#include "editor/listcommands.h"
#include "editor/startfolder.h"
#include "model/albumclasses.h"

class QLabel;
class QMenu;
class QUndoStack;

namespace Ui {
class TfrmFolivant;
}

namespace folivant {

class TDialogs;
class TGlobalSettings;
class TPhotoListModel;
class TSettingsStore;
class TTips;

/// The main window: the album editor with its photo list, start page, preview
/// and commands. It owns the album being edited, the global settings and the
/// tip source for the whole run. Every change to the album is a command on its
/// undo stack. Its code is split by command group: mainwindow.cpp (start-up,
/// views, shutdown), mainwindow_file.cpp, mainwindow_edit.cpp (undo, the
/// highlight, titles and captions), mainwindow_photos.cpp,
/// mainwindow_preview.cpp and mainwindow_help.cpp.
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
  /// The photograph on screen: the photo list's current row; nullptr when there is none.
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
  // Edit
  void itmUndoClick();
  void itmRedoClick();
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
  /// Either field lost the keyboard focus: what is typed next is another step.
  void endTyping();
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
  TPhotoListModel* photo_model_ = nullptr;
  QUndoStack* undo_stack_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  /// Changed when typing into a field ends, so that what is typed next is a step of its own.
  int typing_ = 0;
  /// The photograph whose picture the preview shows, or nullptr.
  const TPhotograph* shown_photo_ = nullptr;
  QMenu* popSort_ = nullptr;
  QMenu* popRotate_ = nullptr;
  /// Above zero while the program itself changes the photo list, whose
  /// selection signals then must not run the user's selection handling.
  int list_updates_ = 0;
  bool shown_once_ = false;

  // Construction and wiring (mainwindow.cpp)
  void setUpLooks();
  void setUpShortcuts();
  void connectCommands();
  void loadWindowState();
  void saveWindowState();

  /// The title names the album's file ("Untitled" before its first save) and
  /// marks unsaved changes; run after every command.
  void updateTitle();

  // View operations shared by the commands (mainwindow.cpp)
  void resetAlbum();
  /// Makes `album` the one edited and shown in the list.
  void takeAlbum(std::unique_ptr<TAlbum> album);
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

  // Undo, the highlight and the commands' states (mainwindow_edit.cpp)
  void setUpUndo();
  /// Does `command` and keeps it on the undo stack, unless it changed nothing.
  void pushCommand(std::unique_ptr<TAlbumCommand> command);
  /// Shows what a command did or undid: the list, `highlight` and the photograph on screen.
  void showCommand(const TAlbumCommand& command, const THighlight& highlight);
  /// The photographs highlighted in the photo list and the one on screen.
  THighlight highlight() const;
  /// Highlights the photographs, makes the current one the list's current row and shows it.
  void showHighlight(const THighlight& highlight);
  /// The photographs commands act on: the highlighted ones, else the one on screen.
  std::vector<TPhotograph*> photosToActOn() const;
  /// Keeps the current row among the highlighted ones, so that what is shown is acted on.
  void keepCurrentHighlighted();
  /// Enables the list commands as the list and its highlight allow, and tells the status bar.
  void updateCommands();
  /// Makes `row` the current row and the only highlighted one.
  void selectOnly(int row);
  int currentRow() const;

  // Photo list (mainwindow_photos.cpp)
  /// A photograph of the file at `path`, its metadata read, to add.
  static std::unique_ptr<TPhotograph> photoOfFile(const std::string& path);
  void addPhotos(std::string_view verb, const std::vector<std::string>& paths);
  void rotatePhotos(TRotation step);
  void sortPhotos(const char* name, void (TAlbum::*sort)());
  void dropFiles(const QStringList& paths);
  void movePhotos(TDirection direction);
  bool lstPhotosKeyDown(int key);

  // Preview (mainwindow_preview.cpp)
  /// Shows the current photograph: its picture, decoded afresh, and its texts.
  void displayPhoto();
  /// Puts the current photograph's title and caption into the fields, where they differ.
  void showPhotoTexts();
};

}  // namespace folivant
