#include "app/shared/help.h"

#include "platform/filesystem.h"
#include "platform/product.h"
#include "platform/programfolder.h"

namespace folivant {

std::string VersionCheckPath() { return "/software/folivant/versioncheck.php?version=" + std::string(kProgramVersion); }

QUrl ProductPageUrl(std::string_view path) {
  return QUrl(QString::fromUtf8(kProductWebAddress) + QString::fromUtf8(path.data(), std::ssize(path)));
}

void ShowHelpFile(TDialogs& dialogs, const std::string& program_folder) {
  const std::string help_file = FindDataFile(program_folder, "folivant.chm");
  if (FileExists(help_file))
    dialogs.Open(QUrl::fromLocalFile(QString::fromStdString(help_file)));
  else
    dialogs.Inform(
        QStringLiteral("The help file for could not be found. Please re-install Folivant to correct this problem."));
}

}  // namespace folivant
