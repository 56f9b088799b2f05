#include "wizard/colorschemes.h"

#include <gtest/gtest.h>

#include "platform/filesystem.h"
#include "platform/programfolder.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::TTempDir;

struct TExpected {
  std::string name;
  TColor page, text, link, hot_link;
};

void ExpectSchemes(const std::vector<TColorScheme>& schemes, const std::vector<TExpected>& expected) {
  ASSERT_EQ(schemes.size(), expected.size());
  for (size_t i = 0; i < schemes.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(schemes[i].Name, expected[i].name);
    EXPECT_EQ(schemes[i].PageColor(), expected[i].page);
    EXPECT_EQ(schemes[i].TextColor, expected[i].text);
    EXPECT_EQ(schemes[i].LinkColor, expected[i].link);
    EXPECT_EQ(schemes[i].HotLinkColor, expected[i].hot_link);
  }
}

const char* const kOceanIni = "[Schemes]\nNumSchemes=1\n[Scheme0]\nName=Ocean\nPage=1\nText=2\nLink=3\nHLink=4\n";

TEST(ColorSchemes, LoadMergesTheIniFileAndTheSettings) {
  struct Row {
    const char* why;
    const char* ini;  // nullptr: no schemes.ini
    const char* json;
    std::vector<TExpected> schemes;
  };
  const Row rows[] = {
      {"neither store", nullptr, "{}", {}},
      {"second ini scheme without a name",
       "[schemes]\nnumschemes = 2\n[Scheme0]\nName=Plain\n[SCHEME1]\nPage=$FF\nText=0x00FF00\nLink=blue\n",
       "{}",
       {{"Plain", 0xFFFFFF, 0, 0xFF0000, 255}, {"Untitled Scheme", 0xFF, 0xFF00, 0xFF0000, 255}}},
      {"Ocean in both stores keeps the ini colours",
       kOceanIni,
       R"({"ColourSchemes": {"Ocean": {"Page": "9", "Text": "9", "Link": "9", "HLink": "9"}, "Sand": {"Text": "x"}}})",
       {{"Ocean", 1, 2, 3, 4}, {"Sand", 0xFFFFFF, 0, 0xFF0000, 255}}},
      {"ocean in the settings is another scheme",
       kOceanIni,
       R"({"ColourSchemes": {"ocean": {"Page": "9", "Text": "9", "Link": "9", "HLink": "9"}}})",
       {{"Ocean", 1, 2, 3, 4}, {"ocean", 9, 9, 9, 9}}},
      {"no ColourSchemes key", kOceanIni, R"({"Settings": {}})", {{"Ocean", 1, 2, 3, 4}}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir folder;
    if (row.ini) folder.Write("schemes.ini", row.ini);
    folder.Write("settings.json", row.json);
    TSettingsStore store(folder.Path());
    ExpectSchemes(LoadSchemes(folder.Path(), store), row.schemes);
    EXPECT_EQ(store.TakeWarning(), "");
  }
}

TEST(ColorSchemes, StoreRewritesTheWholeKeyAndNothingElse) {
  TTempDir folder;
  folder.Write("settings.json", R"({"Settings": {"CurrentTip": "3"},
    "ColourSchemes": {"Old": {"Page": "1"}, "Ocean": {"Page": "2", "Extra": "x"}}})");
  TSettingsStore store(folder.Path());
  std::vector<TColorScheme> schemes = LoadSchemes(folder.Path(), store);
  ASSERT_EQ(schemes.size(), 2u);
  schemes.erase(schemes.begin());  // the user deletes "Old"
  schemes.emplace_back();          // and saves "Default"
  StoreSchemes(schemes, store);

  const TSettingsKey& root = store.Load();
  EXPECT_EQ(root.OpenKey("Settings")->ReadString("CurrentTip"), "3");
  const TSettingsKey& stored = *root.OpenKey("ColourSchemes");
  EXPECT_EQ(stored.SubkeyNames(), (std::vector<std::string>{"Ocean", "Default"}));
  EXPECT_EQ(stored.OpenKey("Ocean")->ValueNames(), (std::vector<std::string>{"Page", "Text", "Link", "HLink"}));
  const TSettingsKey& default_scheme = *stored.OpenKey("Default");
  EXPECT_EQ(default_scheme.ReadString("Page"), "16777215");
  EXPECT_EQ(default_scheme.ReadString("Text"), "0");
  EXPECT_EQ(default_scheme.ReadString("Link"), "16711680");
  EXPECT_EQ(default_scheme.ReadString("HLink"), "255");
}

TEST(ColorSchemes, NamesDifferingInCaseShareOneKeyAndTheLaterWins) {
  TTempDir folder;
  TSettingsStore store(folder.Path());
  std::vector<TColorScheme> schemes(2);
  schemes[0].Name = "Ocean";
  schemes[1].Name = "ocean";
  schemes[1].SetPageColor(0x123456);
  StoreSchemes(schemes, store);
  ExpectSchemes(LoadSchemes(folder.Path(), store), {{"Ocean", 0x123456, 0, 0xFF0000, 255}});
}

TEST(ColorSchemes, EveryNameSurvivesTheSettings) {
  const char* const names[] = {"", "Black/White", "C:\\Schemes\\Ocean", "100% Grey", "%5C", "%"};
  std::vector<TColorScheme> schemes(std::size(names));
  for (size_t i = 0; i < schemes.size(); ++i) schemes[i].Name = names[i];
  TTempDir folder;
  TSettingsStore store(folder.Path());
  StoreSchemes(schemes, store);
  for (const std::string& key : store.Load().OpenKey("ColourSchemes")->SubkeyNames()) {
    SCOPED_TRACE(key);
    EXPECT_EQ(key.find_first_of("\\/"), std::string::npos);
  }
  const std::vector<TColorScheme> loaded = LoadSchemes(folder.Path(), store);
  ASSERT_EQ(loaded.size(), schemes.size());
  for (size_t i = 0; i < loaded.size(); ++i) EXPECT_EQ(loaded[i].Name, names[i]);
  EXPECT_EQ(SchemeNameOfKey("50% off"), "50% off");
}

TEST(ColorSchemes, ShippedFileLiesBesideTheProgram) {
  TTempDir folder;
  TSettingsStore store(folder.Path());
  const std::vector<TColorScheme> schemes = LoadSchemes(ProgramFolder(), store);
  ASSERT_GE(schemes.size(), 5u);
  EXPECT_EQ(schemes.front().Name, "Default");
  for (const TColorScheme& scheme : schemes) EXPECT_NE(scheme.Name, "Untitled Scheme");
}

TEST(ProgramFolder, InstalledProgramsNeverReadBesideThemselves) {
  TTempDir root;
  // Every program folder holds a tips.ini of its own, which only the build tree's may read.
  for (const char* folder :
       {"opt/bin", "opt/share/folivant", "opt/data/folivant", "usr/bin", "usr/share/folivant", "build/bin"}) {
    ForceDirectories(root.File(folder));
    root.Write(std::string(folder) + "/tips.ini", "");
  }
  const TInstallFolders configured{root.File("opt/bin/"), root.File("opt/data/folivant/"),
                                   root.File("opt/data/doc/folivant/manual/")};
  const struct {
    const char* program_folder;
    std::string expected;
  } rows[] = {
      {"opt/bin/", "opt/data/folivant/tips.ini"},
      {"opt/share/../bin/", "opt/data/folivant/tips.ini"},
      {"usr/bin/", "usr/bin/../share/folivant/tips.ini"},
      {"build/bin/", "build/bin/tips.ini"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.program_folder);
    EXPECT_EQ(FindDataFile(root.File(row.program_folder), "tips.ini", configured), root.File(row.expected));
  }
  EXPECT_EQ(FindDataFile(ProgramFolder(), "schemes.ini"), ProgramFolder() + "schemes.ini");
}

}  // namespace
}  // namespace folivant
