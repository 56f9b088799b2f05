#include <QCollator>
#include <algorithm>

#include "app/shared/colorchooser.h"
#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"
#include "app/wizard/generate.h"
#include "platform/settingsstore.h"
#include "ui_generate.h"
#include "wizard/colorschemes.h"

// The colour page: the album's own colour scheme and the list of named schemes.

namespace folivant {

void TfrmGenerate::LoadSchemeList() {
  try {
    schemes_ = LoadSchemes(program_folder_, store_);
    for (const TColorScheme& shipped : LoadShippedSchemes(program_folder_)) shipped_names_.push_back(shipped.Name);
  } catch (const std::exception& error) {
    // The wizard opens all the same, with no named schemes.
    dialogs_.ShowError(ErrorBoxText(QString::fromStdString(error.what())));
  }
  const std::string warning = store_.TakeWarning();
  if (!warning.empty()) dialogs_.ShowError(ErrorBoxText(QString::fromStdString(warning)));
}

void TfrmGenerate::StoreSchemeList() { StoreSchemes(schemes_, store_); }

void TfrmGenerate::StoreChangedSchemeList(std::vector<TColorScheme> before) {
  try {
    StoreSchemeList();
  } catch (...) {
    schemes_ = std::move(before);  // a list that could not be stored stays as it was
    throw;
  }
}

void TfrmGenerate::SetupColorPage() {
  FillSchemeList();
  const TColorScheme& scheme = album_->Settings.ColorScheme;
  ui_->cmbSchemes->setEditText(QString::fromStdString(scheme.Name));
  SetColorChoosers(scheme);
  RefreshColorPreview();
}

void TfrmGenerate::FillSchemeList() {
  QComboBox& chooser = *ui_->cmbSchemes;
  if (schemes_.empty()) schemes_.emplace_back();  // "Default": white page, black text, blue and red links
  // The items carry their scheme's place in the list and show in alphabetical order.
  std::vector<int> order(schemes_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return collator.compare(QString::fromStdString(schemes_[a].Name), QString::fromStdString(schemes_[b].Name)) < 0;
  });
  chooser.clear();
  for (const int index : order) chooser.addItem(QString::fromStdString(schemes_[index].Name), index);

  const QString album_scheme = QString::fromStdString(album_->Settings.ColorScheme.Name);
  int selected = -1;
  for (int item = 0; item < chooser.count() && selected < 0; ++item)
    if (chooser.itemText(item).compare(album_scheme, Qt::CaseInsensitive) == 0) selected = item;
  chooser.setCurrentIndex(selected);
  RefreshColorPreview();
}

void TfrmGenerate::SetColorChoosers(const TColorScheme& scheme) {
  ui_->colPage->SetSelected(scheme.PageColor());
  ui_->colText->SetSelected(scheme.TextColor);
  ui_->colLink->SetSelected(scheme.LinkColor);
  ui_->colActiveLink->SetSelected(scheme.HotLinkColor);
}

TColorScheme TfrmGenerate::SchemeOfChoosers(const std::string& name) const {
  TColorScheme scheme;
  scheme.Name = name;
  scheme.SetPageColor(ui_->colPage->Selected());
  scheme.TextColor = ui_->colText->Selected();
  scheme.LinkColor = ui_->colLink->Selected();
  scheme.HotLinkColor = ui_->colActiveLink->Selected();
  return scheme;
}

void TfrmGenerate::cmbSchemesSelect(int item) {
  if (item < 0) return;
  const TColorScheme& picked = schemes_.at(ui_->cmbSchemes->itemData(item).toInt());
  SetColorChoosers(picked);
  album_->Settings.ColorScheme.Assign(picked);
  RefreshColorPreview();
}

void TfrmGenerate::cmbSchemesChange(const QString& text) { album_->Settings.ColorScheme.Name = text.toStdString(); }

void TfrmGenerate::btnSaveSchemeClick() {
  std::string name = ui_->cmbSchemes->currentText().toStdString();
  // A shipped scheme comes back as shipped at the next start, so colours saved
  // under its name would be lost: they are kept under a name of their own.
  if (std::find(shipped_names_.begin(), shipped_names_.end(), name) != shipped_names_.end()) {
    const std::string other = UnusedSchemeName(schemes_, name);
    if (!dialogs_.Ask(tr("\"%1\" comes with Folivant and stays as it is. Save your colours as \"%2\" instead?")
                          .arg(QString::fromStdString(name), QString::fromStdString(other))))
      return;
    name = other;
    ui_->cmbSchemes->setEditText(QString::fromStdString(name));
    album_->Settings.ColorScheme.Name = name;
  }
  const auto existing =
      std::find_if(schemes_.begin(), schemes_.end(), [&](const TColorScheme& scheme) { return scheme.Name == name; });
  if (existing != schemes_.end()) {
    const QString question =
        tr("Are you sure you want to overwrite the colour scheme, '%1'?").arg(QString::fromStdString(existing->Name));
    if (!dialogs_.Ask(question)) return;
    std::vector<TColorScheme> before = schemes_;
    existing->Assign(SchemeOfChoosers(name));
    StoreChangedSchemeList(std::move(before));
    return;
  }
  std::vector<TColorScheme> before = schemes_;
  schemes_.push_back(SchemeOfChoosers(name));
  StoreChangedSchemeList(std::move(before));
  FillSchemeList();
}

void TfrmGenerate::btnDeleteClick() {
  QComboBox& chooser = *ui_->cmbSchemes;
  const int item = chooser.currentIndex();
  if (item >= 0) {
    const int index = chooser.itemData(item).toInt();
    const QString name = QString::fromStdString(schemes_.at(index).Name);
    if (name.toLower() == chooser.currentText().toLower()) {
      if (!dialogs_.Ask(tr("Are you sure you want to delete the scheme '%1'?").arg(name))) return;
      std::vector<TColorScheme> before = schemes_;
      schemes_.erase(schemes_.begin() + index);
      StoreChangedSchemeList(std::move(before));
      FillSchemeList();
    }
  }
  chooser.setEditText(QString());
  SetColorChoosers(TColorScheme());
  RefreshColorPreview();
}

void TfrmGenerate::colPageChange(TColor color) {
  album_->Settings.ColorScheme.SetPageColor(color);
  RefreshColorPreview();
}

void TfrmGenerate::colTextChange(TColor color) {
  album_->Settings.ColorScheme.TextColor = color;
  RefreshColorPreview();
}

void TfrmGenerate::colLinkChange(TColor color) {
  album_->Settings.ColorScheme.LinkColor = color;
  RefreshColorPreview();
}

void TfrmGenerate::colActiveLinkChange(TColor color) {
  album_->Settings.ColorScheme.HotLinkColor = color;
  RefreshColorPreview();
}

void TfrmGenerate::RefreshColorPreview() {
  const Ui::TfrmGenerate& ui = *ui_;
  const auto css = [](TColor color) { return ToQColor(color).name(); };
  ui.pnlColorPreview->setStyleSheet(
      QStringLiteral("QFrame#pnlColorPreview { background-color: %1; }").arg(css(ui.colPage->Selected())));
  ui.lblSampleText->setStyleSheet(QStringLiteral("color: %1;").arg(css(ui.colText->Selected())));
  ui.lblSampleLink->setStyleSheet(
      QStringLiteral("color: %1; text-decoration: underline;").arg(css(ui.colLink->Selected())));
  ui.lblSampleHoverLink->setStyleSheet(
      QStringLiteral("color: %1; text-decoration: underline;").arg(css(ui.colActiveLink->Selected())));
}

}  // namespace folivant
