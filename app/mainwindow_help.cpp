// The main window's stylesheet template editor, help, web links and About box.

#include "app/about.h"
#include "app/mainwindow.h"
#include "app/shared/dialogs.h"
#include "app/shared/help.h"
#include "app/stylesheeteditor.h"

namespace folivant {

void TfrmFolivant::itmStylesheetTemplateClick() {
  TfrmStylesheet editor(this, *globalSettings_, dialogs_, album_->Settings.PageStyle);
  editor.exec();
}

void TfrmFolivant::itmHelpClick() { ShowManual(dialogs_, globalSettings_->ProgramFolder()); }

void TfrmFolivant::itmWebsiteClick() { dialogs_.Open(ProductPageUrl(kWebsitePath)); }

void TfrmFolivant::itmSupportForumsClick() { dialogs_.Open(ProductPageUrl(kSupportForumsPath)); }

void TfrmFolivant::itmUpdatesClick() { dialogs_.Open(ProductPageUrl(VersionCheckPath())); }

void TfrmFolivant::itmDonationClick() { dialogs_.Open(ProductPageUrl(kDonationPath)); }

void TfrmFolivant::btnAboutClick() {
  TfrmAbout about(this, dialogs_);
  about.exec();
}

}  // namespace folivant
