#include "platform/desktop.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "testutil.h"

namespace folivant {
namespace {

TEST(DesktopFolder, FollowsXdgUserDirs) {
  test::TTempDir dir;
  struct Row {
    const char* why;
    const char* config;
    const char* variable;
    const char* home;
    std::string desktop;
  };
  std::filesystem::create_directory(dir.File("with-file"));
  dir.Write("with-file/user-dirs.dirs",
            "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
            "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  std::filesystem::create_directory(dir.File("with-pipe"));
  ASSERT_EQ(::mkfifo(dir.File("with-pipe/user-dirs.dirs").c_str(), 0600), 0);
  const Row rows[] = {
      {"the user-dirs file wins, $HOME expanded", "with-file", "/elsewhere", "/home/ann", "/home/ann/Schreibtisch"},
      {"a named pipe in its place is passed over", "with-pipe", "/srv/desk", "/home/ann", "/srv/desk"},
      {"then the environment", "empty", "/srv/desk/", "/home/ann", "/srv/desk"},
      {"then Desktop in the home folder", "empty", nullptr, "/home/ann", "/home/ann/Desktop"},
      {"nothing known", "empty", nullptr, nullptr, ""},
  };
  test::TEnvironment config("XDG_CONFIG_HOME"), variable("XDG_DESKTOP_DIR"), home("HOME");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    config.Set(dir.File(row.config).c_str());
    variable.Set(row.variable);
    home.Set(row.home);
    EXPECT_EQ(DesktopFolder(), row.desktop);
  }
}

TEST(PicturesFolder, ReadsItsOwnLineThenFallsBackToPictures) {
  test::TTempDir dir;
  dir.Write("user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  test::TEnvironment config("XDG_CONFIG_HOME"), variable("XDG_PICTURES_DIR"), home("HOME");
  variable.Set(nullptr);
  home.Set("/home/ann");
  config.Set(dir.Path().c_str());
  EXPECT_EQ(PicturesFolder(), "/home/ann/Bilder");
  EXPECT_EQ(DesktopFolder(), "/home/ann/Schreibtisch");
  config.Set(dir.File("empty").c_str());
  EXPECT_EQ(PicturesFolder(), "/home/ann/Pictures");
}

}  // namespace
}  // namespace folivant
