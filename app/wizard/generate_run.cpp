#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"
#include "app/shared/help.h"
#include "app/wizard/generate.h"
#include "model/globalsettings.h"
#include "ui_generate.h"
#include "wizard/generationrun.h"

// Finish, the run on its timer, the progress page, the finished page and closing.

namespace folivant {

namespace {

constexpr int kFinishedPage = 7;
constexpr int kTickMilliseconds = 10;
// The finished page names at most this many photographs that got no images.
constexpr int kListedPhotographs = 8;

void ShowProgress(QProgressBar& bar, const TProgress& progress) {
  // A maximum of 0 would turn the bar into a busy indicator.
  bar.setMaximum(std::max(progress.Maximum, 1));
  bar.setValue(progress.Position);
}

}  // namespace

void TfrmGenerate::btnFinishClick() {
  if (run_) return;  // a wizard performs one run
  const std::string field = ui_->edtOutputDirectory->text().toStdString();
  const TFinishCheck check = CheckFinish(*album_, field, desktop_folder_, [this](const std::string& question) {
    return dialogs_.Ask(QString::fromStdString(question));
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
  run_ = std::make_unique<TGenerationRun>(*album_, global_settings_->StylesheetTemplate(),
                                          TRunOptions{.Prune = ui_->chkPrune->isChecked()});
  run_timer_ = new QTimer(this);
  run_timer_->setInterval(kTickMilliseconds);
  connect(run_timer_, &QTimer::timeout, this, &TfrmGenerate::RunTick);
  run_timer_->start();
}

bool TfrmGenerate::RunTimerActive() const { return run_timer_ && run_timer_->isActive(); }

void TfrmGenerate::RunTick() {
  // No tick may arrive while this one works, and none follows a failed one.
  run_timer_->stop();
  bool more = false;
  RunCommand(dialogs_, [this, &more] { more = run_->RunTick(); });
  ShowRunProgress();
  if (run_->Completed()) {
    ShowPage(kFinishedPage);
    if (!run_->Notice().empty()) dialogs_.Inform(QString::fromStdString(run_->Notice()));
  } else if (more) {
    run_timer_->start();
  }
}

void TfrmGenerate::ShowRunProgress() {
  if (!run_) return;
  Ui::TfrmGenerate& ui = *ui_;
  ShowProgress(*ui.pbImageProgress, run_->ImageProgress());
  ShowProgress(*ui.pbPageProgress, run_->PageProgress());
  ui.lblGenerateImage->setText(QString::fromStdString(run_->ImageLabel()));
  const bool can_skip = run_->SkipEnabled();
  ui.lnkSkip->setEnabled(can_skip);
  ui.lnkSkip->setCursor(can_skip ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmGenerate::lnkSkipClick() {
  if (!run_) return;
  run_->Skip();
  ShowRunProgress();
}

void TfrmGenerate::SetupFinishedPage() {
  QLabel& label = *ui_->lblPhotographsWithoutImages;
  const std::vector<TPhotographWithoutImages>& without_images =
      run_ ? run_->PhotographsWithoutImages() : std::vector<TPhotographWithoutImages>();
  const bool pruned = run_ && ui_->chkPrune->isChecked();
  label.setVisible(!without_images.empty() || pruned);
  const QString removed = pruned ? tr("Files of earlier runs removed: %1.").arg(run_->PrunedCount()) : QString();
  label.setText(removed);
  if (without_images.empty()) return;
  ui_->lblCompleted->setText(tr("Web Album Made Without Some Photographs"));
  QStringList lines{tr("The album was made, but these photographs have no pictures in it:")};
  const int listed = std::min(static_cast<int>(without_images.size()), kListedPhotographs);
  for (int i = 0; i < listed; ++i) {
    const TPhotographWithoutImages& left_out = without_images[static_cast<size_t>(i)];
    lines << tr("    %1 (%2)")
                 .arg(QString::fromStdString(album_->Photographs[left_out.Index].FileName),
                      QString::fromStdString(left_out.Reason));
  }
  const int unlisted = static_cast<int>(without_images.size()) - listed;
  if (unlisted > 0) lines << tr("    and %n more", nullptr, unlisted);
  if (pruned) lines << removed;
  label.setText(lines.join(QLatin1Char('\n')));
}

void TfrmGenerate::Button1Click() {
  const std::string index_page = album_->Settings.OutputDirectory + "index.html";
  dialogs_.Open(QUrl::fromLocalFile(QString::fromStdString(index_page)));
}

void TfrmGenerate::lnkHowToUploadClick() { ShowHelpFile(dialogs_, program_folder_); }

void TfrmGenerate::reject() {
  FormCloseQuery();
  QDialog::reject();
}

void TfrmGenerate::FormCloseQuery() {
  // The run stops between two ticks; what it has written stays.
  if (run_timer_) run_timer_->stop();
  if (closed_) return;
  closed_ = true;
  RunCommand(dialogs_, [this] { StoreSchemeList(); });
}

}  // namespace folivant
