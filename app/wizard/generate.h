#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "editor/albumcommands.h"
#include "generation/runthread.h"
#include "model/albumclasses.h"

class QTimer;

namespace Ui {
class TfrmGenerate;
}

namespace folivant {

class TDialogs;
class TGenerationRun;
class TGlobalSettings;
class TSettingsStore;

/// The wizard page that shows the run's progress; the pages before it hold the choices.
inline constexpr int kGeneratingPage = 6;

/// The generation wizard: five pages that write every choice straight into the
/// album, then the generation run on a thread of its own with its progress and
/// finished pages. Created for one album, shown modally and discarded.
class TfrmGenerate : public QDialog {
  Q_OBJECT
 public:
  /// Loads the colour scheme list from "schemes.ini" in `program_folder` and
  /// from `store`; a load error is shown and the wizard opens all the same.
  /// Questions and messages go to `dialogs` (nullptr: the real message boxes,
  /// parented to the wizard). `dialogs` and `store` are borrowed and must
  /// outlive the wizard; `desktop_folder` is where a new album's folder goes by default.
  TfrmGenerate(TDialogs* dialogs, TSettingsStore& store, std::string program_folder, std::string desktop_folder,
               QWidget* parent = nullptr);
  ~TfrmGenerate() override;

  /// Borrows the album and the settings until the wizard is destroyed and shows page 1.
  void Prepare(TAlbum& album, const TGlobalSettings& global_settings);
  /// Makes page `page` (1..7) the current and only visible one, sets the buttons and loads its controls.
  void ShowPage(int page);
  int CurrentPage() const { return current_page_; }
  /// The named colour schemes, in list order.
  const std::vector<TColorScheme>& Schemes() const { return schemes_; }
  /// The run Finish started, or nullptr before Finish. Only to be read
  /// once the run's thread has ended (RunTimerActive false).
  const TGenerationRun* Run() const { return run_.get(); }
  /// The state of the run as its thread last showed it; the default before Finish.
  TRunState RunState() const;
  /// Whether the progress page still follows a run on its thread.
  bool RunTimerActive() const;

 public Q_SLOTS:
  /// Every way of closing ends here: stops the run and stores
  /// the scheme list. Before Finish has started a run, the album gets back
  /// the settings, title, description and saved state it had at Prepare.
  void reject() override;

 protected:
  bool event(QEvent* event) override;

 private:
  // Creation and page set-ups (generate.cpp).
  void ConnectHandlers();
  /// The header above the pages: what the step is and a line about it.
  void SetHeader(const QString& step, const QString& help);
  void SetupIndexPage();
  void SetupPhotoPage();
  void SetupOutputPage();
  void chkAlbumCopyClick(bool checked);
  void chkZipDownloadClick(bool checked);
  void chkOriginalDownloadsClick(bool checked);
  void edtWebAddressChange(const QString& text);
  void btnNextClick();
  void btnPreviousClick();
  void btnCancelClick();
  void btnSelectFolderClick();
  void edtTitleChange();
  void mmoDescriptionChange();
  void rdoModernClick(bool checked);
  void cmbThumbSizeChange(int item);
  void edtRowsChange();
  void edtColsChange();
  void chkHomeLinkClick(bool checked);
  void edtHomepageURLChange(const QString& text);
  void chkThumbNavigationClick(bool checked);
  void chkNavLoopClick(bool checked);
  void rdoAboveClick(bool checked);
  void rdoBelowClick(bool checked);
  void chkCameraDataClick(bool checked);
  void cmbPhotoSizeChange(int item);
  void RefreshIndexPreview();
  void RefreshPhotoPreview();
  /// A slot that runs `handler` through the error display, so no exception leaves Qt.
  template <typename... Args>
  auto Handler(void (TfrmGenerate::*handler)(Args...));
  /// A Handler for a control that edits the album: a change it makes marks the
  /// album modified, unless the wizard is loading a page's controls.
  template <typename... Args>
  auto Edit(void (TfrmGenerate::*handler)(Args...));

  // Colour page (generate_colors.cpp).
  void LoadSchemeList();
  void StoreSchemeList();
  /// Stores the changed list; when that fails, the list becomes `before` again and the error goes on.
  void StoreChangedSchemeList(std::vector<TColorScheme> before);
  void SetupColorPage();
  void FillSchemeList();
  void SetColorChoosers(const TColorScheme& scheme);
  TColorScheme SchemeOfChoosers(const std::string& name) const;
  void cmbSchemesSelect(int item);
  void cmbSchemesChange(const QString& text);
  void btnSaveSchemeClick();
  void btnDeleteClick();
  void colPageChange(TColor color);
  void colTextChange(TColor color);
  void colLinkChange(TColor color);
  void colActiveLinkChange(TColor color);
  void RefreshColorPreview();

  // The run and the last two pages (generate_run.cpp).
  void btnFinishClick();
  void StartRun();
  /// Shows what the run's thread did; once it has ended, its error or the finished page.
  void ShowRunState();
  /// "Photo n of N", and the time left once known; empty outside the photographs step.
  QString PhotoCountText() const;
  void ShowRunHeader();
  void ShowRunProgress();
  void SetupFinishedPage();
  void ShowLeftOutPhotographs();
  void lnkSkipClick();
  void Button1Click();
  void lnkHowToUploadClick();
  void FormCloseQuery();

  std::unique_ptr<Ui::TfrmGenerate> ui_;
  std::unique_ptr<TDialogs> own_dialogs_;
  TDialogs& dialogs_;
  TSettingsStore& store_;
  const std::string program_folder_;
  const std::string desktop_folder_;
  TAlbum* album_ = nullptr;
  const TGlobalSettings* global_settings_ = nullptr;
  /// What the album was when the wizard opened, which Cancel gives back.
  TAlbumLook opened_look_;
  bool opened_saved_ = true;
  std::vector<TColorScheme> schemes_;
  /// The names of the schemes that come with the program, which a save never replaces.
  std::vector<std::string> shipped_names_;
  int current_page_ = 1;
  std::unique_ptr<TGenerationRun> run_;
  /// Declared after the run, so that it stops before the run goes.
  std::unique_ptr<TRunThread> run_thread_;
  TRunState run_state_;
  bool skip_asked_ = false;
  QTimer* run_timer_ = nullptr;
  bool closed_ = false;
  /// A page is setting its controls from the album (ShowPage).
  bool loading_ = false;
};

}  // namespace folivant
