#include "app/shared/help.h"

#include "platform/product.h"
#include "platform/programfolder.h"

namespace folivant {

std::string VersionCheckPath() { return "/software/folivant/versioncheck.php?version=" + std::string(kProgramVersion); }

QUrl ProductPageUrl(std::string_view path) {
  return QUrl(QString::fromUtf8(kProductWebAddress) + QString::fromUtf8(path.data(), std::ssize(path)));
}

void ShowManual(TDialogs& dialogs, const std::string& program_folder, std::string_view page, std::string_view section) {
  const std::string path = FindManualPage(program_folder, std::string(page));
  if (path.empty()) {
    dialogs.Inform(QStringLiteral(
        "The help file for Folivant could not be found. Please re-install Folivant to correct this problem."));
    return;
  }
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
  if (!section.empty()) url.setFragment(QString::fromUtf8(section.data(), std::ssize(section)));
  dialogs.Open(url);
}

}  // namespace folivant
