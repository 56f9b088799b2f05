#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "testutil.h"

namespace folivant {
namespace {

/// Sets an environment variable for one scope and restores it afterwards.
class TScopedEnvironment {
 public:
  TScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~TScopedEnvironment() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DesktopFolder, FollowsXdgUserDirs) {
  test::TTempDir dir;
  struct Row {
    const char* why;
    const char* config;
    std::optional<std::string> variable;
    std::optional<std::string> home;
    std::string desktop;
  };
  std::filesystem::create_directory(dir.File("with-file"));
  dir.Write("with-file/user-dirs.dirs",
            "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
            "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  const Row rows[] = {
      {"the user-dirs file wins, $HOME expanded", "with-file", "/elsewhere", "/home/ann", "/home/ann/Schreibtisch"},
      {"then the environment", "empty", "/srv/desk/", "/home/ann", "/srv/desk"},
      {"then Desktop in the home folder", "empty", std::nullopt, "/home/ann", "/home/ann/Desktop"},
      {"nothing known", "empty", std::nullopt, std::nullopt, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const TScopedEnvironment config("XDG_CONFIG_HOME", dir.File(row.config));
    const TScopedEnvironment variable("XDG_DESKTOP_DIR", row.variable);
    const TScopedEnvironment home("HOME", row.home);
    EXPECT_EQ(DesktopFolder(), row.desktop);
  }
}

}  // namespace
}  // namespace folivant
