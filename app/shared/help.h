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

/// Pages of the user manual opened by the windows, and the section of the
/// upload page that the wizard's "How do I upload" link shows.
inline constexpr std::string_view kManualContents = "index.html";
inline constexpr std::string_view kManualUploadPage = "upload.html";
inline constexpr std::string_view kManualUploadSection = "upload";

/// Opens `page` of the user manual (FindManualPage) in the user's browser, at
/// `section` when one is given, or tells that the manual could not be found.
void ShowManual(TDialogs& dialogs, const std::string& program_folder, std::string_view page = kManualContents,
                std::string_view section = {});

}  // namespace folivant
