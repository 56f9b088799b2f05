#pragma once

#include <string>
#include <vector>

namespace folivant {

/// Appends folder + "/" + name for every file in `folder` whose name matches
/// the wildcard `pattern` ("*" and "?"), letter case ignored, hidden files
/// included; with `recursive` the sub-folders too (symbolic links to folders
/// are not followed). Names are taken in byte order within each folder, so the
/// result does not depend on the file system. Returns the number of paths
/// appended; an unreadable folder adds none.
int FindFiles(const std::string& folder, const std::string& pattern, bool recursive, std::vector<std::string>& list);

/// The photographs a folder import adds: the ".jpg" files of `folder` (not its
/// sub-folders), then its ".jpeg" files, each group as FindFiles orders it.
std::vector<std::string> FindPhotographs(const std::string& folder);

}  // namespace folivant
