// The main window's stylesheet template editor, help, web links and About box.

#include "app/dialogs.h"
#include "app/mainwindow.h"

namespace folivant {

static void NotInThisBuild(TDialogs& dialogs) {
  dialogs.Inform(QStringLiteral("This part of Folivant is not part of this build yet."));
}

void TfrmFolivant::itmStylesheetTemplateClick() { NotInThisBuild(dialogs_); }
void TfrmFolivant::itmHelpClick() { NotInThisBuild(dialogs_); }
void TfrmFolivant::itmWebsiteClick() { NotInThisBuild(dialogs_); }
void TfrmFolivant::itmSupportForumsClick() { NotInThisBuild(dialogs_); }
void TfrmFolivant::itmUpdatesClick() { NotInThisBuild(dialogs_); }
void TfrmFolivant::itmDonationClick() { NotInThisBuild(dialogs_); }
void TfrmFolivant::btnAboutClick() { NotInThisBuild(dialogs_); }

}  // namespace folivant
