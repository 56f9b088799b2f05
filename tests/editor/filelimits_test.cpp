// The readers of the user's own files, whichever folder each lives in, refuse
// what is too large or not a file in the same words.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "editor/stylesheetfile.h"
#include "model/albumclasses.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/ini.h"
#include "platform/settingsstore.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

TEST(FileReaders, EachReaderOfAUserFileHasItsLimit) {
  struct Row {
    const char* what;
    uint64_t limit;
    std::string limit_text;
    std::function<std::string(const std::string&)> read;
  };
  const auto message_of = [](const std::function<void()>& read) {
    try {
      read();
    } catch (const TError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  const Row rows[] = {{"album file", 64 << 20, "64 MiB",
                       [&](const std::string& path) { return message_of([&] { TAlbum::LoadFromFile(path); }); }},
                      {"stylesheet or template file", 1 << 20, "1 MiB",
                       [&](const std::string& path) { return message_of([&] { ReadStylesheetFile(path); }); }},
                      {"INI data file", 4 << 20, "4 MiB",
                       [&](const std::string& path) { return message_of([&] { TIniFile::FromFile(path); }); }},
                      {"settings file", 64 << 20, "64 MiB", [](const std::string& path) {
                         TSettingsStore store(ExtractFilePath(path));
                         store.Load();
                         return store.TakeWarning();
                       }}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TTempDir folder;
    const std::string path = folder.Write("settings.json", "");
    std::filesystem::resize_file(path, row.limit + 1);
    EXPECT_TRUE(row.read(path).starts_with("Cannot read \"" + path + "\": it is " + std::to_string(row.limit + 1) +
                                           " bytes long, more than the " + row.limit_text + " allowed"));
    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_TRUE(row.read(path).starts_with("Cannot read \"" + path + "\": it is a named pipe, not a file"));
  }
}

}  // namespace
}  // namespace folivant
