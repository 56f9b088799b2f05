#pragma once

#include <string>

namespace folivant {

/// The folder of the running program file with a trailing "/" (through
/// /proc/self/exe); "" when the system does not tell.
std::string ProgramFolder();

/// The data file `name` shipped beside the program: in `program_folder`, else in
/// `program_folder`../share/folivant/ (the installed layout). When it is in
/// neither, the path in `program_folder`, so that callers report a missing file there.
std::string FindDataFile(const std::string& program_folder, const std::string& name);

/// The page `page` of the user manual: in `program_folder`manual/ (the build
/// tree assembles the manual there), else in `program_folder`../share/doc/folivant/manual/
/// (the installed layout); "" when it is in neither.
std::string FindManualPage(const std::string& program_folder, const std::string& page);

}  // namespace folivant
