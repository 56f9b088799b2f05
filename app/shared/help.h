#pragma once

#include <QUrl>
#include <string>
#include <string_view>

#include "app/shared/dialogs.h"

namespace folivant {

// Pages of the product web site opened by the Help menu.
inline constexpr std::string_view kWebsitePath = "/";
inline constexpr std::string_view kSupportForumsPath = "/forums/";
inline constexpr std::string_view kDonationPath = "/donations.html";
/// The version check page, told the program's version in the query.
std::string VersionCheckPath();

/// The product web address followed by `path`, which starts with "/".
QUrl ProductPageUrl(std::string_view path);

/// Opens "folivant.chm" from the program's folder (or the installed data folder)
/// with the desktop's viewer, or tells that it could not be found.
void ShowHelpFile(TDialogs& dialogs, const std::string& program_folder);

}  // namespace folivant
