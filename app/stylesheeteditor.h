#pragma once

#include <QDialog>
#include <memory>

#include "app/shared/dialogs.h"
#include "generator/utilities.h"
#include "model/globalsettings.h"

namespace Ui {
class TfrmStylesheet;
}

namespace folivant {

/// The stylesheet template editor, a modal dialog created for one use. It edits
/// the template of one page style, the one the album being edited uses. "OK"
/// makes the editor's text the template and saves it; "Cancel", Escape and the
/// title bar's close button leave the template as it was when the dialog opened.
class TfrmStylesheet : public QDialog {
  Q_OBJECT

 public:
  /// Borrows `globalSettings` and `dialogs`, which must outlive the dialog.
  TfrmStylesheet(QWidget* owner, TGlobalSettings& globalSettings, TDialogs& dialogs,
                 TPageStyle style = TPageStyle::Classic);
  ~TfrmStylesheet() override;

  /// Accepted: sets and saves the template. Any other close puts back the template it started with.
  void done(int result) override;

 private:
  std::unique_ptr<Ui::TfrmStylesheet> ui_;
  TGlobalSettings& globalSettings_;
  TDialogs& dialogs_;
  const TPageStyle style_;
  /// The template when the dialog opened; "Default" changes the one in memory.
  const TLineList original_;

  void Button1Click();  // "Default"
  void Button2Click();  // "Open"
  void Button3Click();  // "Save to File"

  TLineList editorLines() const;
  void setEditorLines(const TLineList& lines);
};

}  // namespace folivant
