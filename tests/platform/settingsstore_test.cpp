#include "platform/settingsstore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include "platform/filesystem.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TEnvironment;

using test::ReadFile;
using test::TTempDir;

const char* const kValidFile = R"({
  "Settings": {
    "CurrentTip": "4"
  }
}
)";

TEST(SettingsStore, NamesIgnoreCaseAndKeepTheirOrderAcrossSaves) {
  TTempDir folder;
  TSettingsStore store(folder.File("config"));
  TSettingsKey& root = store.Load();
  for (const char* name : {"WindowPos", "Settings", "ColourSchemes"}) root.CreateKey(name);
  root.CreateKey("SETTINGS").WriteString("CurrentTip", "7");
  root.OpenKey("settings")->WriteString("currenttip", "8");
  store.Save();

  TSettingsStore reopened(folder.File("config"));
  const TSettingsKey& loaded = reopened.Load();
  EXPECT_EQ(loaded.SubkeyNames(), (std::vector<std::string>{"WindowPos", "Settings", "ColourSchemes"}));
  EXPECT_EQ(loaded.OpenKey("sEtTiNgS")->ValueNames(), std::vector<std::string>{"CurrentTip"});
  EXPECT_EQ(loaded.OpenKey("Settings")->ReadString("CURRENTTIP"), "8");
  EXPECT_EQ(loaded.OpenKey("Settings")->ReadString("Maximized"), std::nullopt);
  EXPECT_EQ(loaded.OpenKey("Missing"), nullptr);
  EXPECT_EQ(reopened.TakeWarning(), "");
  EXPECT_EQ(
      ReadFile(folder.File("config/settings.json")),
      "{\n  \"WindowPos\": {},\n  \"Settings\": {\n    \"CurrentTip\": \"8\"\n  },\n  \"ColourSchemes\": {}\n}\n");
}

TEST(SettingsStore, DeleteKeyRemovesTheWholeSubtree) {
  TTempDir folder;
  TSettingsStore store(folder.Path());
  TSettingsKey& schemes = store.Load().CreateKey("ColourSchemes");
  schemes.CreateKey("Ocean").CreateKey("Nested").WriteString("Page", "1");
  schemes.CreateKey("Sand").WriteString("Page", "2");
  schemes.CreateKey("Moss").WriteString("Page", "3");
  EXPECT_TRUE(schemes.DeleteKey("OCEAN"));
  EXPECT_FALSE(schemes.DeleteKey("Ocean"));
  EXPECT_EQ(schemes.OpenKey("ocean"), nullptr);
  EXPECT_EQ(schemes.OpenKey("moss")->ReadString("Page"), "3") << "the keys after it are still found";
  schemes.CreateKey("Ocean");
  store.Save();
  EXPECT_EQ(store.Load().OpenKey("ColourSchemes")->SubkeyNames(), (std::vector<std::string>{"Sand", "Moss", "Ocean"}));
}

TEST(SettingsStore, RefusesNamesThatCannotBeKeys) {
  TSettingsKey root("");
  EXPECT_THROW_MSG(root.CreateKey(""), "\"\" is not a valid settings key name.");
  EXPECT_THROW_MSG(root.CreateKey("a\\b"), "\"a\\b\" is not a valid settings key name.");
  root.WriteString("Both", "1");
  EXPECT_THROW_MSG(root.CreateKey("both"), "The settings name \"both\" is used by both a key and a value.");
  EXPECT_TRUE(root.SubkeyNames().empty());
}

TEST(SettingsStore, HandWrittenNumbersAndFlagsReadAsText) {
  TTempDir folder;
  folder.Write("settings.json", R"({"WindowPos": {"Top": 120, "Left": -4}, "Settings": {"Maximized": true}})");
  TSettingsStore store(folder.Path());
  const TSettingsKey& root = store.Load();
  EXPECT_EQ(root.OpenKey("WindowPos")->ReadString("Top"), "120");
  EXPECT_EQ(root.OpenKey("WindowPos")->ReadString("Left"), "-4");
  EXPECT_EQ(root.OpenKey("Settings")->ReadString("Maximized"), "1");
  EXPECT_EQ(store.TakeWarning(), "");
}

TEST(SettingsStore, DamagedFileIsSetAsideOnceAndNothingElseTouched) {
  struct Row {
    const char* why;
    std::string bytes;
  };
  const Row rows[] = {{"not JSON", "Folivant settings"},
                      {"truncated", std::string(kValidFile).substr(0, 30)},
                      {"a list at the top", "[1, 2]"},
                      {"a text at the top", R"("Settings")"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir folder;
    const std::string path = folder.Write("settings.json", row.bytes);
    folder.Write("settings.json.damaged", "an older damaged file");
    folder.Write("album.alb", "unrelated");

    TSettingsStore store(folder.Path());
    EXPECT_TRUE(store.Load().SubkeyNames().empty());
    EXPECT_EQ(store.TakeWarning(), "The settings file \"" + path + "\" was damaged. It has been renamed to \"" + path +
                                       ".2.damaged\" and Folivant uses its default settings.");
    EXPECT_EQ(store.TakeWarning(), "");
    EXPECT_EQ(ReadFile(path + ".2.damaged"), row.bytes);
    EXPECT_EQ(ReadFile(path + ".damaged"), "an older damaged file");
    EXPECT_EQ(ReadFile(folder.File("album.alb")), "unrelated");
    EXPECT_FALSE(FileExists(path));

    store.Load();
    EXPECT_EQ(store.TakeWarning(), "");
    store.Root().CreateKey("Settings").WriteString("CurrentTip", "0");
    store.Save();
    EXPECT_EQ(store.Load().OpenKey("Settings")->ReadString("CurrentTip"), "0");
  }
}

TEST(SettingsStore, EveryTruncationOfAValidFileIsSetAside) {
  const std::string valid = kValidFile;
  for (size_t length = 1; length < valid.size(); ++length) {
    SCOPED_TRACE(length);
    TTempDir folder;
    folder.Write("settings.json", valid.substr(0, length));
    TSettingsStore store(folder.Path());
    // Only the final line break may go; any other cut loses the closing brace.
    const bool complete = length == valid.size() - 1;
    EXPECT_EQ(store.Load().SubkeyNames().empty(), !complete);
    EXPECT_EQ(store.TakeWarning().empty(), complete);
  }
}

TEST(SettingsStore, ReadsWhatIsSoundAndSkipsTheRest) {
  std::string deep = R"("Deep": "kept")";
  for (int level = 40; level > 0; --level) deep.insert(0, "\"Level" + std::to_string(level) + "\": {").append("}");
  TTempDir folder;
  const std::string path = folder.Write("settings.json", R"({
  "Settings": {"CurrentTip": "4", "Maximized": null, "Top": ["12"], "": {"x": "y"}, "Flag": true},
  "WindowPos": "a text where a key belongs",
  "ColourSchemes": {"Ocean": {"Page": "16777215"}},
  "Nested": {)" + deep + "}}");
  TSettingsStore store(folder.Path());
  const TSettingsKey& root = store.Load();
  EXPECT_EQ(root.SubkeyNames(), (std::vector<std::string>{"Settings", "ColourSchemes", "Nested"}));
  EXPECT_EQ(root.ValueNames(), std::vector<std::string>{});
  EXPECT_EQ(root.OpenKey("Settings")->ValueNames(), (std::vector<std::string>{"CurrentTip", "Flag"}));
  EXPECT_EQ(root.OpenKey("ColourSchemes")->OpenKey("Ocean")->ReadString("Page"), "16777215");
  int depth = 0;
  for (const TSettingsKey* key = root.OpenKey("Nested"); !key->SubkeyNames().empty();
       key = key->OpenKey(key->SubkeyNames().front()))
    ++depth;
  EXPECT_EQ(depth, 31) << "keys down to the depth limit, below the root";
  EXPECT_EQ(store.TakeWarning(),
            "The settings file \"" + path +
                "\" holds 5 entries Folivant cannot use (null values, lists, texts where a key belongs, keys nested "
                "too deep or with a name no key may have). Folivant reads the rest and leaves these out when it next "
                "saves its settings.");
  store.Load();
  EXPECT_EQ(store.TakeWarning(), "") << "said once";
  EXPECT_TRUE(FileExists(path)) << "not set aside";
  store.Save();
  EXPECT_EQ(TSettingsStore(folder.Path()).Load().OpenKey("Settings")->ReadString("CurrentTip"), "4");
}

TEST(SettingsStore, AFileThatIsNoRegularFileIsNeverOverwritten) {
  for (const bool pipe : {false, true}) {
    TTempDir folder;
    TSettingsStore store(folder.Path());
    if (pipe)
      ASSERT_EQ(::mkfifo(store.FileName().c_str(), 0600), 0);
    else
      ForceDirectories(store.FileName());
    store.Load().CreateKey("Settings");
    const std::string message = "Cannot read \"" + store.FileName() + "\": it is " +
                                (pipe ? "a named pipe" : "a folder") +
                                ", not a file. Folivant uses its default settings and will not save settings over "
                                "that file.";
    EXPECT_EQ(store.TakeWarning(), message);
    EXPECT_THROW_MSG(store.Save(), message);
    struct stat info {};
    ASSERT_EQ(::lstat(store.FileName().c_str(), &info), 0);
    EXPECT_EQ(S_ISFIFO(info.st_mode), pipe);
    EXPECT_EQ(S_ISDIR(info.st_mode), !pipe);
  }
}

TEST(SettingsStore, DefaultFolderFollowsTheEnvironment) {
  struct Row {
    const char* why;
    const char* config_dir;
    const char* xdg_config_home;
    const char* folder;
  };
  const Row rows[] = {{"FOLIVANT_CONFIG_DIR moves the settings", "/portable/settings", "/xdg", "/portable/settings"},
                      {"XDG_CONFIG_HOME next", nullptr, "/xdg", "/xdg/folivant"},
                      {"an empty variable counts as unset", "", "", "/home/someone/.config/folivant"},
                      {"the home folder last", nullptr, nullptr, "/home/someone/.config/folivant"}};
  TEnvironment config_dir("FOLIVANT_CONFIG_DIR"), xdg_config_home("XDG_CONFIG_HOME"), home("HOME");
  home.Set("/home/someone");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    config_dir.Set(row.config_dir);
    xdg_config_home.Set(row.xdg_config_home);
    EXPECT_EQ(DefaultSettingsFolder(), row.folder);
  }
}

}  // namespace
}  // namespace folivant
