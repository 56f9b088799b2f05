#include "editor/findfiles.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>

#include "platform/filesystem.h"

namespace folivant {

namespace fs = std::filesystem;

int FindFiles(const std::string& folder, const std::string& pattern, bool recursive, std::vector<std::string>& list) {
  const std::string prefix = folder.empty() || folder.back() == kPathDelimiter ? folder : folder + kPathDelimiter;
  std::vector<std::string> files, folders;
  std::error_code error;
  for (fs::directory_iterator it(prefix.empty() ? "." : prefix, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code ignored;
    if (it->is_regular_file(ignored)) {
      if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) files.push_back(name);
    } else if (recursive && it->is_directory(ignored) && !it->is_symlink(ignored)) {
      folders.push_back(name);
    }
  }
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  int count = static_cast<int>(files.size());
  for (const std::string& name : files) list.push_back(prefix + name);
  for (const std::string& name : folders) count += FindFiles(prefix + name, pattern, recursive, list);
  return count;
}

std::vector<std::string> FindPhotographs(const std::string& folder) {
  std::vector<std::string> paths;
  FindFiles(folder, "*.jpg", false, paths);
  FindFiles(folder, "*.jpeg", false, paths);
  return paths;
}

}  // namespace folivant
