#include "platform/desktop.h"

#include <sstream>

#include "platform/environment.h"
#include "platform/error.h"
#include "platform/filesystem.h"

namespace folivant {

// A dozen lines; read in full only when it is a plain file of a sane size.
constexpr size_t kMaxUserDirsSize = 64 << 10;

// user-dirs.dirs is a shell fragment of lines such as
// XDG_DESKTOP_DIR="$HOME/Schreibtisch"; xdg-user-dir sources it, and only
// "$HOME" is ever expanded in it. `variable` is the name before "=".
static std::string FromUserDirs(const std::string& variable, const std::string& home) {
  const std::string config = EnvironmentValue("XDG_CONFIG_HOME");
  const std::string folder = !config.empty() ? config : (home.empty() ? "" : home + "/.config");
  if (folder.empty()) return "";
  std::string text;
  try {
    text = ReadFileBytes(JoinPath(folder, "user-dirs.dirs"), kMaxUserDirsSize);
  } catch (const TError&) {
    return "";  // as xdg-user-dir, which falls back when it cannot read the file
  }
  std::istringstream in(text);
  const std::string key = variable + "=";
  std::string found;
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0) value.replace(0, 5, home);
    found = value;  // the shell keeps the last assignment
  }
  return found;
}

// The folder `xdg-user-dir` reports for XDG_<name>_DIR, else `fallback` in the home folder.
static std::string UserFolder(const std::string& name, const char* fallback) {
  const std::string variable = "XDG_" + name + "_DIR";
  const std::string home = EnvironmentValue("HOME");
  std::string folder = FromUserDirs(variable, home);
  if (folder.empty()) folder = EnvironmentValue(variable.c_str());
  if (folder.empty() && !home.empty()) folder = JoinPath(home, fallback);
  while (folder.size() > 1 && folder.back() == kPathDelimiter) folder.pop_back();
  return folder;
}

std::string DesktopFolder() { return UserFolder("DESKTOP", "Desktop"); }

std::string PicturesFolder() { return UserFolder("PICTURES", "Pictures"); }

}  // namespace folivant
