#pragma once

#include <QDialog>
#include <QIcon>
#include <memory>

#include "app/shared/dialogs.h"

namespace Ui {
class TfrmAbout;
}

namespace folivant {

/// The application's icon, carried in the program's resources.
QIcon ApplicationIcon();

/// The About box: product name and version, author, contact and web site links,
/// the donation note and a recommendation of the maker's web page editor.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  /// Borrows `dialogs`, through which the links are opened; it must outlive the box.
  TfrmAbout(QWidget* owner, TDialogs& dialogs);
  ~TfrmAbout() override;

 private:
  std::unique_ptr<Ui::TfrmAbout> ui_;
  TDialogs& dialogs_;
};

}  // namespace folivant
