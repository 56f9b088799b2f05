#include "platform/desktop.h"

#include <cstdlib>
#include <sstream>

#include "platform/error.h"
#include "platform/filesystem.h"

namespace folivant {

static std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A dozen lines; read in full only when it is a plain file of a sane size.
constexpr size_t kMaxUserDirsSize = 64 << 10;

// user-dirs.dirs is a shell fragment of lines such as
// XDG_DESKTOP_DIR="$HOME/Schreibtisch"; xdg-user-dir sources it, and only
// "$HOME" is ever expanded in it.
static std::string DesktopFromUserDirs(const std::string& home) {
  const std::string config = Environment("XDG_CONFIG_HOME");
  const std::string folder = !config.empty() ? config : (home.empty() ? "" : home + "/.config");
  if (folder.empty()) return "";
  std::string text;
  try {
    text = ReadFileBytes(JoinPath(folder, "user-dirs.dirs"), kMaxUserDirsSize);
  } catch (const TError&) {
    return "";  // as xdg-user-dir, which falls back when it cannot read the file
  }
  std::istringstream in(text);
  const std::string key = "XDG_DESKTOP_DIR=";
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

std::string DesktopFolder() {
  const std::string home = Environment("HOME");
  std::string desktop = DesktopFromUserDirs(home);
  if (desktop.empty()) desktop = Environment("XDG_DESKTOP_DIR");
  if (desktop.empty() && !home.empty()) desktop = JoinPath(home, "Desktop");
  while (desktop.size() > 1 && desktop.back() == kPathDelimiter) desktop.pop_back();
  return desktop;
}

}  // namespace folivant
