// What a run does to the files around it: links in the album folder, names
// at the length limit, runs killed at any moment. Each runs both where files
// can be written unnamed (O_TMPFILE) and, confined, as on FAT, where they cannot.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "albumfolder.h"
#include "clihome.h"
#include "model/albumclasses.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::FilesIn;
using test::ReadFile;
using test::TCliHome;
using test::TConfinement;
using test::TResult;

// A run, confined as on FAT (named temporaries) when `named`.
TResult Generate(const TCliHome& home, const std::vector<std::string>& arguments, bool named) {
  return named ? home.RunConfined(arguments, {.FatFileSystem = true}) : home.Run(arguments);
}

bool CanConfine(const TCliHome& home) { return home.RunConfined({"--version"}, {}).status != test::kCannotConfine; }

struct stat Entry(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// Every entry of a folder by name, with the bytes of those that are files
// ("<link>" and "<folder>" for the others).
std::map<std::string, std::string> Listing(const std::string& folder) {
  std::map<std::string, std::string> listing;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename();
    listing[name] = entry.is_symlink() ? "<link>" : entry.is_directory() ? "<folder>" : ReadFile(entry.path());
  }
  return listing;
}

// The entries named like the writers' temporary files.
std::vector<std::string> Temporaries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
    if (entry.path().filename().string().find(".tmp-") != std::string::npos) names.push_back(entry.path().filename());
  return names;
}

// Gives the photographs of an album file titles and the album a grid.
void EditAlbum(const std::string& path, const std::vector<std::string>& titles, int rows, int columns) {
  std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(path);
  for (size_t i = 0; i < titles.size(); ++i) album->Photographs[static_cast<int>(i)].Title = titles[i];
  album->Settings.ThumbnailRows = rows;
  album->Settings.ThumbnailCols = columns;
  album->SaveToFile();
}

TEST(CliGenerate, ReplacesLinksInTheFolderAndNeverWritesThroughThem) {
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "named temporaries" : "unnamed files");
    TCliHome home;
    if (named && !CanConfine(home)) GTEST_SKIP() << "this machine cannot confine a run";
    home.WritePhotos("photos", {{"blue.jpg", 0, 48, 32, {}}, {"red.jpg", 1, 48, 32, {}}});
    ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", "Links"}).status, 0);
    for (const char* folder : {"out", "outside", "cache/folivant"})
      std::filesystem::create_directories(home.File(folder));
    const std::map<std::string, std::string> outside = {{"precious.jpg", "precious"}, {"notes.css", "notes"},
                                                        {"keep.txt", "keep"},         {"copy.alb", "copy"},
                                                        {"record.json", "{}"},        {"small.jpg", "small"}};
    for (const auto& [name, bytes] : outside) home.Write("outside/" + name, bytes);
    const std::string record = "cache/folivant/" + test::RunRecordName(home.File("out"));
    std::filesystem::create_symlink("../outside/precious.jpg", home.File("out/blue.jpg"));
    std::filesystem::create_symlink(home.File("outside/notes.css"), home.File("out/main.css"));
    std::filesystem::create_hard_link(home.File("outside/keep.txt"), home.File("out/index.html"));
    std::filesystem::create_symlink("../outside/new.html", home.File("out/red.html"));
    std::filesystem::create_hard_link(home.File("outside/copy.alb"), home.File("out/Links.alb"));
    std::filesystem::create_symlink(home.File("outside/record.json"), home.File(record));

    const TResult run = Generate(home, {"generate", "album.alb", "--output", "out", "--force"}, named);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const auto& [name, bytes] : outside) EXPECT_TRUE(ReadFile(home.File("outside/" + name)) == bytes) << name;
    EXPECT_FALSE(std::filesystem::exists(home.File("outside/new.html")));
    for (const std::string& name :
         {std::string("out/blue.jpg"), std::string("out/main.css"), std::string("out/index.html"),
          std::string("out/red.html"), std::string("out/Links.alb"), record}) {
      EXPECT_TRUE(S_ISREG(Entry(home.File(name)).st_mode)) << name;
      EXPECT_EQ(Entry(home.File(name)).st_nlink, 1u) << name;
    }

    // Pruning looks at links in the place of an earlier run's files, never through them.
    std::filesystem::remove(home.File("photos/red.jpg"));
    ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", "Links", "--force"}).status, 0);
    std::filesystem::remove(home.File("out/red_small.jpg"));
    std::filesystem::create_symlink("../outside/small.jpg", home.File("out/red_small.jpg"));
    const TResult pruned = Generate(home, {"generate", "album.alb", "--output", "out", "--force", "--prune"}, named);
    EXPECT_NE(pruned.out.find("Removed:      2 files of earlier runs\n"), std::string::npos) << pruned.out;
    EXPECT_TRUE(std::filesystem::is_symlink(home.File("out/red_small.jpg")));
    EXPECT_EQ(ReadFile(home.File("outside/small.jpg")), "small");
  }
}

TEST(CliGenerate, EveryNameFitsAFileNameInBothStyles) {
  TCliHome home;
  if (!CanConfine(home)) GTEST_SKIP() << "this machine cannot confine a run";
  // Big enough for the modern style's "_small@2x.jpg", one of the longest names
  // (its thumbnail rows are twice the thumbnail height, 150 pixels).
  home.WritePhotos("photos", {{"a.jpg", 0, 640, 480, {}}, {"b.jpg", 1, 640, 480, {}}});
  const std::string letters(300, 'l');
  std::string two_byte_letters;
  for (int i = 0; i < 300; ++i) two_byte_letters += "\xC3\xA9";
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", letters}).status, 0);
  EditAlbum(home.File("album.alb"), {letters, two_byte_letters}, 5, 4);
  for (const char* style : {"classic", "modern"}) {
    for (const bool named : {false, true}) {
      SCOPED_TRACE(std::string(style) + (named ? ", named temporaries" : ", unnamed files"));
      const std::vector<std::string> generate = {"generate", "album.alb", "--output", style,
                                                 "--style",  style,       "--force"};
      for (int run = 0; run < 2; ++run) {  // the second replaces every file
        const TResult result = Generate(home, generate, named);
        ASSERT_EQ(result.status, 0) << result.err;
      }
      size_t longest = 0;
      for (const std::string& name : FilesIn(home.File(style))) longest = std::max(longest, name.size());
      EXPECT_EQ(longest, 255u) << "the titles' letters, cut to fit";
      EXPECT_TRUE(FilesIn(home.File(style)).contains(std::string(251, 'l') + ".alb"));
      if (std::string(style) == "modern") {
        EXPECT_TRUE(FilesIn(home.File(style)).contains(std::string(242, 'l') + "_small@2x.jpg"));
      }
    }
  }
}

// Kills runs with SIGKILL at seeded, varied moments: as they start creating,
// writing, naming, renaming or removing a file. After each kill a run into the
// same folder leaves it exactly as a run into an empty folder does, with no
// temporary file there or in the cache. Without unnamed files a kill leaves
// temporaries for that run to remove; with them, only complete ones.
TEST(CliGenerate, AKilledRunLeavesNothingThatTheNextRunKeeps) {
  constexpr int kKills = 10;  // per way of writing and number of jobs
  TCliHome home;
  std::vector<samples::TSamplePicture> pictures;
  for (int i = 0; i < 6; ++i) pictures.push_back({"p" + std::to_string(i) + ".jpg", i, 48, 32, {}});
  home.WritePhotos("photos", pictures);
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", "Killed"}).status, 0);
  EditAlbum(home.File("album.alb"), {}, 1, 4);  // two index pages
  const std::string out = home.File("out");
  const std::string cache = home.File("cache/folivant");
  std::mt19937 random(28);
  for (const bool named : {false, true}) {
    int left_behind = 0;
    for (const char* jobs : {"1", "2"}) {
      SCOPED_TRACE(std::string(named ? "named temporaries, " : "unnamed files, ") + jobs + " jobs");
      const std::vector<std::string> generate = {"generate", "album.alb", "--output", "out", "--force", "--jobs", jobs};
      const TConfinement whole{.FatFileSystem = named};
      std::filesystem::remove_all(out);
      const TResult first = home.RunConfined(generate, whole);
      if (first.status == test::kCannotConfine) GTEST_SKIP() << "this machine cannot confine a run";
      ASSERT_EQ(first.status, 0) << first.err;
      const std::map<std::string, std::string> fresh = Listing(out);
      // Killed are runs that keep the images up to date and runs that replace every file (--full).
      std::vector<std::string> full = generate;
      full.push_back("--full");
      const int changes[] = {home.RunConfined(generate, whole).file_changes,
                             home.RunConfined(full, whole).file_changes};
      for (int kill = 0; kill < kKills; ++kill) {
        if (random() % 3 == 0) std::filesystem::remove_all(out);
        const bool everything = random() % 2 == 0;
        const int kill_at = std::uniform_int_distribution<int>(1, changes[everything])(random);
        SCOPED_TRACE("killed at file change " + std::to_string(kill_at) + (everything ? " of a full run" : ""));
        const TResult killed =
            home.RunConfined(everything ? full : generate, {.FatFileSystem = named, .KillAt = kill_at});
        EXPECT_TRUE(killed.killed || killed.status == 0) << killed.err;
        const std::vector<std::string> left = Temporaries(out);
        for (const std::string& name : left) {
          if (!named) {
            EXPECT_EQ(ReadFile(out + "/" + name), fresh.at(name.substr(0, name.size() - 11))) << name;
          }
        }
        left_behind += static_cast<int>(left.size() + Temporaries(cache).size());

        test::WaitForFileClockTick();  // a run after a kill starts later than the kill
        const TResult again = home.RunConfined(generate, whole);
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(Listing(out), fresh);
        EXPECT_EQ(Temporaries(cache), std::vector<std::string>());
        if (!left.empty()) {
          EXPECT_NE(
              again.out.find("Unfinished:   " + std::to_string(left.size()) + " files of an interrupted run removed\n"),
              std::string::npos)
              << again.out;
        }
        if (::testing::Test::HasFailure()) return;
      }
    }
    if (named) {
      EXPECT_GT(left_behind, 0) << "no kill left a temporary file: the test proved little";
    }
  }
}

TEST(CliGenerate, WithoutTheAlbumCopyPruneLeavesAnEarlierCopyAlone) {
  TCliHome home;
  home.WritePhotos("photos", {{"a.jpg", 0, 48, 32, {}}});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", "First"}).status, 0);
  ASSERT_EQ(home.Run({"generate", "album.alb", "--output", "out"}).status, 0);
  ASSERT_TRUE(FilesIn(home.File("out")).contains("First.alb"));
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", "Second", "--force"}).status, 0);
  const std::string album = ReadFile(home.File("album.alb"));

  const TResult without =
      home.Run({"generate", "album.alb", "--output", "out", "--force", "--prune", "--no-album-copy"});
  ASSERT_EQ(without.status, 0) << without.err;
  EXPECT_NE(without.out.find("Removed:      0 files of earlier runs\n"), std::string::npos) << without.out;
  const std::set<std::string> files = FilesIn(home.File("out"));
  EXPECT_TRUE(files.contains("First.alb"));
  EXPECT_FALSE(files.contains("Second.alb"));
  EXPECT_EQ(ReadFile(home.File("album.alb")), album) << "the choice is the run's, not the album file's";

  const TResult with = home.Run({"generate", "album.alb", "--output", "out", "--force", "--prune"});
  EXPECT_NE(with.out.find("Removed:      1 files of earlier runs\n"), std::string::npos) << with.out;
  EXPECT_FALSE(FilesIn(home.File("out")).contains("First.alb"));
  EXPECT_TRUE(FilesIn(home.File("out")).contains("Second.alb"));
}

}  // namespace
}  // namespace folivant
