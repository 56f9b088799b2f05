// The main window's stylesheet template editor, help, web links and About box.

#include "app/about.h"
#include "app/mainwindow.h"
#include "app/settings.h"
#include "app/shared/dialogs.h"
#include "app/shared/help.h"

namespace folivant {

void TfrmFolivant::itmStylesheetTemplateClick() {
  run([this] {
    TfrmStylesheet editor(this, *globalSettings_, dialogs_);
    editor.exec();
  });
}

void TfrmFolivant::itmHelpClick() {
  run([this] { ShowHelpFile(dialogs_, globalSettings_->ProgramFolder()); });
}

void TfrmFolivant::itmWebsiteClick() {
  run([this] { dialogs_.Open(ProductPageUrl(kWebsitePath)); });
}

void TfrmFolivant::itmSupportForumsClick() {
  run([this] { dialogs_.Open(ProductPageUrl(kSupportForumsPath)); });
}

void TfrmFolivant::itmUpdatesClick() {
  run([this] { dialogs_.Open(ProductPageUrl(VersionCheckPath())); });
}

void TfrmFolivant::itmDonationClick() {
  run([this] { dialogs_.Open(ProductPageUrl(kDonationPath)); });
}

void TfrmFolivant::btnAboutClick() {
  run([this] {
    TfrmAbout about(this, dialogs_);
    about.exec();
  });
}

}  // namespace folivant
