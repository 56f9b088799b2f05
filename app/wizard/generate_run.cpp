#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <thread>

#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"
#include "app/shared/help.h"
#include "app/wizard/generate.h"
#include "generation/generationrun.h"
#include "generation/runthread.h"
#include "model/globalsettings.h"
#include "ui_generate.h"

// Finish, the run on its thread, the progress page, the finished page and closing.

namespace folivant {

namespace {

constexpr int kFinishedPage = 7;
// How often the progress page shows the run's state.
constexpr int kShowStateMilliseconds = 20;

void ShowProgress(QProgressBar& bar, const TProgress& progress) {
  // A maximum of 0 would turn the bar into a busy indicator.
  bar.setMaximum(std::max(progress.Maximum, 1));
  bar.setValue(progress.Position);
}

// Rounded as an estimate deserves: to 5 seconds, then to minutes.
QString TimeLeftText(int seconds) {
  if (seconds <= 5) return TfrmGenerate::tr("a few seconds left");
  if (seconds < 60) return TfrmGenerate::tr("about %1 seconds left").arg((seconds + 4) / 5 * 5);
  const int minutes = (seconds + 30) / 60;
  if (minutes == 1) return TfrmGenerate::tr("about a minute left");
  return TfrmGenerate::tr("about %1 minutes left").arg(minutes);
}

}  // namespace

void TfrmGenerate::btnFinishClick() {
  if (run_) return;  // a wizard performs one run
  const std::string field = ui_->edtOutputDirectory->text().toStdString();
  const TFinishCheck check = CheckFinish(*album_, field, desktop_folder_, [this](const std::string& question) {
    // Writing into a folder that holds files may replace them: No is the default.
    return dialogs_.AskDefaultNo(QString::fromStdString(question));
  });
  switch (check) {
    case TFinishCheck::NoPhotographs:
      dialogs_.Inform(QString::fromUtf8(kNoPhotographsMessage));
      ShowPage(current_page_);
      return;
    case TFinishCheck::FolderRefused: ShowPage(current_page_); return;
    case TFinishCheck::Ready: break;
  }
  ShowPage(kGeneratingPage);
  StartRun();
}

void TfrmGenerate::StartRun() {
  // On every processor, as the command-line generator runs; the run's own
  // thread waits for the photographs rendered ahead and writes the files, so
  // this one only paints.
  const int jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  run_ = std::make_unique<TGenerationRun>(*album_, global_settings_->StylesheetTemplate(album_->Settings.PageStyle),
                                          TRunOptions{.Jobs = jobs, .Prune = ui_->chkPrune->isChecked()});
  run_thread_ = std::make_unique<TRunThread>(*run_);
  run_timer_ = new QTimer(this);
  run_timer_->setInterval(kShowStateMilliseconds);
  connect(run_timer_, &QTimer::timeout, this, &TfrmGenerate::ShowRunState);
  run_timer_->start();
}

bool TfrmGenerate::RunTimerActive() const { return run_timer_ && run_timer_->isActive(); }

TRunState TfrmGenerate::RunState() const { return run_thread_ ? run_thread_->State() : TRunState{}; }

void TfrmGenerate::ShowRunState() {
  run_state_ = run_thread_->State();
  ShowRunProgress();
  if (!run_state_.Ended) return;
  run_timer_->stop();
  run_thread_->Stop();  // the thread has ended: the run is this thread's again
  if (run_state_.Error) {
    RunCommand(dialogs_, [this] { std::rethrow_exception(run_state_.Error); });
  } else if (run_->Completed()) {
    ShowPage(kFinishedPage);
    if (!run_->Notice().empty()) dialogs_.Inform(QString::fromStdString(run_->Notice()));
  }
}

void TfrmGenerate::ShowRunHeader() {
  if (run_state_.Error) {
    SetHeader(tr("Generation stopped"), tr("The generation stopped at the error shown. The files written so far "
                                           "stay; close the wizard with \"Cancel\"."));
    return;
  }
  SetHeader(tr("Generating the album"),
            tr("The album is being written to \"%1\". \"Skip This Step\" leaves the photographs not prepared "
               "yet without pictures; \"Cancel\" stops the generation.")
                .arg(QString::fromStdString(album_->Settings.OutputDirectory)));
}

QString TfrmGenerate::PhotoCountText() const {
  if (run_state_.Photo == 0 || skip_asked_) return {};
  QString photo = tr("Photo %1 of %2").arg(run_state_.Photo).arg(run_state_.Photos);
  if (!run_state_.SecondsLeft) return photo;
  return tr("%1, %2").arg(photo, TimeLeftText(*run_state_.SecondsLeft));
}

void TfrmGenerate::ShowRunProgress() {
  ShowRunHeader();
  if (!run_thread_) return;
  Ui::TfrmGenerate& ui = *ui_;
  ShowProgress(*ui.pbImageProgress, run_state_.Images);
  ShowProgress(*ui.pbPageProgress, run_state_.Pages);
  QString label = QString::fromStdString(run_state_.ImageLabel);
  // A Skip shows at once, before the run's thread has come to it.
  if (skip_asked_ && !label.endsWith(QLatin1String(kSkippedSuffix))) label += QLatin1String(kSkippedSuffix);
  ui.lblGenerateImage->setText(label);
  ui.lblPhotoCount->setText(PhotoCountText());
  const bool can_skip = run_state_.SkipEnabled && !skip_asked_ && !run_state_.Ended;
  ui.lnkSkip->setEnabled(can_skip);
  ui.lnkSkip->setCursor(can_skip ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmGenerate::lnkSkipClick() {
  if (!run_thread_) return;
  run_thread_->Skip();
  skip_asked_ = true;
  ShowRunProgress();
}

void TfrmGenerate::SetupFinishedPage() {
  // The run is over: closing is all that is left, through "Close This Window".
  ui_->btnCancel->setEnabled(false);
  SetHeader(tr("The album is ready"),
            tr("The album has been written to \"%1\".").arg(QString::fromStdString(album_->Settings.OutputDirectory)));
  ShowLeftOutPhotographs();
}

void TfrmGenerate::ShowLeftOutPhotographs() {
  Ui::TfrmGenerate& ui = *ui_;
  const std::vector<TPhotographWithoutImages>& without_images =
      run_ ? run_->PhotographsWithoutImages() : std::vector<TPhotographWithoutImages>();
  const bool skipped = run_ && !run_->SkipEnabled();
  const bool pruned = run_ && ui.chkPrune->isChecked();
  const int unfinished = run_ ? run_->RemovedTemporariesCount() : 0;
  ui.lstPhotographsWithoutImages->setVisible(!without_images.empty());
  QStringList notes;
  if (!without_images.empty()) {
    ui.lblCompleted->setText(tr("Web Album Made Without Some Photographs"));
    notes << (without_images.size() == 1
                  ? tr("This photograph was left out: its page is in the album, but without the picture.")
                  : tr("These %1 photographs were left out: their pages are in the album, but without the pictures.")
                        .arg(without_images.size()));
  }
  if (skipped)
    notes << tr(
        "The preparing of the photographs was skipped: the photographs not prepared by then have no "
        "pictures in the album.");
  if (pruned) notes << tr("Files of earlier runs removed: %1.").arg(run_->PrunedCount());
  if (unfinished > 0) notes << tr("Unfinished files of an interrupted run removed: %1.").arg(unfinished);
  ui.lblPhotographsWithoutImages->setVisible(!notes.isEmpty());
  ui.lblPhotographsWithoutImages->setText(notes.join(QLatin1Char('\n')));
  ui.lstPhotographsWithoutImages->clear();
  for (const TPhotographWithoutImages& left_out : without_images)
    ui.lstPhotographsWithoutImages->addItem(tr("%1 (%2)").arg(
        QString::fromStdString(album_->Photographs[left_out.Index].FileName), QString::fromStdString(left_out.Reason)));
}

void TfrmGenerate::Button1Click() {
  const std::string index_page = album_->Settings.OutputDirectory + "index.html";
  dialogs_.Open(QUrl::fromLocalFile(QString::fromStdString(index_page)));
}

void TfrmGenerate::lnkHowToUploadClick() {
  ShowManual(dialogs_, program_folder_, kManualUploadPage, kManualUploadSection);
}

void TfrmGenerate::reject() {
  FormCloseQuery();
  QDialog::reject();
}

void TfrmGenerate::FormCloseQuery() {
  // The run stops at its next stop point or step; what it has written stays.
  if (run_timer_) run_timer_->stop();
  if (run_thread_) run_thread_->Stop();
  if (closed_) return;
  closed_ = true;
  // Closed before a run began, the wizard was cancelled: the album is as it found it.
  if (!run_ && album_) {
    opened_look_.ApplyTo(*album_);
    album_->Saved = opened_saved_;
  }
  RunCommand(dialogs_, [this] { StoreSchemeList(); });
}

}  // namespace folivant
