#pragma once

#include <string>

namespace folivant {

/// The folder of the running program file with a trailing "/" (through
/// /proc/self/exe); "" when the system does not tell.
std::string ProgramFolder();

/// Where an installation keeps the programs, their data files and the user
/// manual, each with a trailing "/".
struct TInstallFolders {
  std::string Programs;
  std::string Data;
  std::string Manual;
};

/// The folders the build was configured to install to, e.g. "/usr/bin/" and
/// "/usr/share/folivant/".
TInstallFolders ConfiguredInstallFolders();

/// The data file `name` ("tips.ini") of the program in `program_folder`:
/// - a program in the configured program folder reads `installed.Data`;
/// - one beside a share/folivant/ folder (an installation under another
///   prefix, unpacked packages) reads `program_folder`../share/folivant/;
/// - any other (the build tree's bin/) reads its own folder.
/// The path is returned whether or not the file exists, so that callers
/// report a missing file where it belongs.
std::string FindDataFile(const std::string& program_folder, const std::string& name,
                         const TInstallFolders& installed = ConfiguredInstallFolders());

/// The page `page` of the user manual, found by the rule of FindDataFile:
/// `installed.Manual` for the installed program, share/doc/folivant/manual/
/// beside the bin/ folder of another installation, else `program_folder`manual/
/// (the build tree assembles the manual there); "" when the page is missing.
std::string FindManualPage(const std::string& program_folder, const std::string& page,
                           const TInstallFolders& installed = ConfiguredInstallFolders());

}  // namespace folivant
