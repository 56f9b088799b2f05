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
/// the template of one page style, the one the album being edited uses. Whatever
/// the editor holds when the dialog closes becomes that template and is saved;
/// there is no cancel.
class TfrmStylesheet : public QDialog {
  Q_OBJECT

 public:
  /// Borrows `globalSettings` and `dialogs`, which must outlive the dialog.
  TfrmStylesheet(QWidget* owner, TGlobalSettings& globalSettings, TDialogs& dialogs,
                 TPageStyle style = TPageStyle::Classic);
  ~TfrmStylesheet() override;

  /// Every close, by "OK", the title bar or Escape, sets and saves the template.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<Ui::TfrmStylesheet> ui_;
  TGlobalSettings& globalSettings_;
  TDialogs& dialogs_;
  const TPageStyle style_;

  void Button1Click();  // "Default"
  void Button2Click();  // "Open"
  void Button3Click();  // "Save to File"
  void mmoStylesheetExit();

  TLineList editorLines() const;
  void setEditorLines(const TLineList& lines);
};

}  // namespace folivant
