// Runs into a folder that holds an earlier run's output: what is rendered
// again, what is pruned, and that the folder always ends up as a fresh run
// into an empty folder would leave it.

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "albumfolder.h"
#include "generation/generationrun.h"
#include "generation/renderahead.h"
#include "generation/runrecord.h"
#include "generator/utilities.h"
#include "platform/fileidentity.h"
#include "platform/filesystem.h"
#include "platform/resources.h"
#include "samplephotos.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::FilesIn;
using test::ReadFile;
using test::RunRecordName;
using test::TTempDir;

struct TCounts {
  int rendered = -1;
  int up_to_date = -1;
  int pruned = -1;
  bool operator==(const TCounts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TCounts& counts) {
  return out << counts.rendered << " rendered, " << counts.up_to_date << " up to date, " << counts.pruned << " pruned";
}

// An album of small pictures, so that every run is quick, and the folders of its runs.
class TAlbumUnderEdit {
 public:
  TAlbumUnderEdit() {
    album_.Title = "Edits";
    album_.Settings.PhotoWidth = 48;
    album_.Settings.ThumbWidth = 20;
    album_.Settings.ThumbHeight = 15;
    album_.Settings.ThumbnailRows = 2;
    album_.Settings.ThumbnailCols = 2;
  }

  TAlbum& Album() { return album_; }
  std::string Folder() const { return work_.File("out"); }
  std::string Records() const { return work_.File("records"); }

  /// A new source file; the same scene and size always give the same bytes.
  std::string WriteSource(const std::string& name, int scene, const samples::TSampleMetadata& metadata = {},
                          int width = 40, int height = 30) const {
    return photos_.Write(name, samples::MakeSamplePhoto(scene, width, height, metadata));
  }
  TPhotograph& Add(const std::string& path) {
    TPhotograph& photograph = album_.Photographs.Add(std::make_unique<TPhotograph>());
    photograph.SetFileName(path);
    return photograph;
  }

  /// A run into `folder` with the record kept in Records().
  TCounts Generate(TRunOptions options, const std::string& folder) {
    EXPECT_EQ(CheckFinish(album_, folder, "", [](const std::string&) { return true; }), TFinishCheck::Ready);
    TGenerationRun run(album_, SplitLines(*FindResource("defaultstylesheet")), std::move(options));
    while (run.RunTick()) {
    }
    EXPECT_TRUE(run.Completed());
    EXPECT_EQ(run.ImageProgress().Position, 2 * album_.Photographs.Count()) << "two a photograph, either way";
    Notice = run.Notice();
    RemovedTemporaries = run.RemovedTemporariesCount();
    return {run.RenderedCount(), run.UpToDateCount(), run.PrunedCount()};
  }
  TCounts Generate(TRunOptions options = {}) {
    options.RecordFolder = Records();
    return Generate(std::move(options), Folder());
  }

  /// Compares Folder() with a fresh run of the album into an empty folder of
  /// the same path (the album copy names its folder): the same bytes for every
  /// file of the fresh run, and no other file when `exactly`.
  void ExpectAsFresh(bool exactly) {
    const std::string kept = Folder() + ".kept";
    std::filesystem::rename(Folder(), kept);
    Generate({.RecordFolder = ""}, Folder());
    const std::set<std::string> fresh = FilesIn(Folder());
    const std::set<std::string> files = FilesIn(kept);
    if (exactly) {
      EXPECT_EQ(files, fresh);
    }
    for (const std::string& name : fresh) {
      ASSERT_TRUE(files.contains(name)) << name;
      EXPECT_TRUE(ReadFile(kept + "/" + name) == ReadFile(Folder() + "/" + name)) << name << " differs";
    }
    std::filesystem::remove_all(Folder());
    std::filesystem::rename(kept, Folder());
  }

  /// Of the last run.
  std::string Notice;
  int RemovedTemporaries = -1;

 private:
  TTempDir photos_;
  TTempDir work_;
  TAlbum album_;
};

// Writes into the file itself, as an editor that keeps the inode does.
void OverwriteInPlace(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Changes one letter of the caption in a source's metadata, keeping its size
// and, as "touch -r" would, its modification time; the pixels stay the same.
void EditKeepingSizeAndTime(const std::string& path) {
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  std::string bytes = ReadFile(path);
  const size_t at = bytes.find("river");
  ASSERT_NE(at, std::string::npos);
  bytes[at + 4] = 't';
  OverwriteInPlace(path, bytes);
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

const samples::TSampleMetadata kRiver = {"", "", "Over the river."};

TEST(IncrementalRun, RendersAgainOnlyWhatItsImagesDependOn) {
  struct Row {
    const char* why;
    std::function<void(TAlbumUnderEdit&)> edit;
    int rendered;  // of three photographs
    TRunOptions options = {};
  };
  const auto second_source = [](TAlbumUnderEdit& album) { return album.Album().Photographs[1].FileName; };
  const Row rows[] = {
      {"nothing changed", [](TAlbumUnderEdit&) {}, 0},
      {"a caption and the album title",
       [](TAlbumUnderEdit& a) {
         a.Album().Photographs[0].Caption = "New";
         a.Album().Title = "Other";
       },
       0},
      {"the order", [](TAlbumUnderEdit& a) { a.Album().Photographs.Move(0, 2); }, 0},
      {"a source touched",
       [&](TAlbumUnderEdit& a) {
         std::filesystem::last_write_time(second_source(a), std::filesystem::file_time_type::clock::now());
       },
       0},
      {"one rotation", [](TAlbumUnderEdit& a) { a.Album().Photographs[2].Rotation = TRotation::Left; }, 1},
      {"the thumbnail size", [](TAlbumUnderEdit& a) { a.Album().Settings.ThumbHeight = 16; }, 3},
      {"the photo width", [](TAlbumUnderEdit& a) { a.Album().Settings.PhotoWidth = 50; }, 3},
      {"the photographs' own size", [](TAlbumUnderEdit& a) { a.Album().Settings.SetPhotoSize(TPhotoSize::Original); },
       3},
      {"a source replaced by another picture", [](TAlbumUnderEdit& a) { a.WriteSource("b.jpg", 7); }, 1},
      {"a same-size edit with the old modification time",
       [&](TAlbumUnderEdit& a) { EditKeepingSizeAndTime(second_source(a)); }, 1},
      {"an image deleted by hand", [](TAlbumUnderEdit& a) { std::filesystem::remove(a.Folder() + "/c_small.jpg"); }, 1},
      {"an image overwritten by hand",
       [](TAlbumUnderEdit& a) { OverwriteInPlace(a.Folder() + "/b.jpg", ReadFile(a.Folder() + "/a.jpg")); }, 1},
      {"a full run", [](TAlbumUnderEdit&) {}, 3, {.Full = true}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    for (const int jobs : {1, 2}) {
      TAlbumUnderEdit album;
      for (int i = 0; i < 3; ++i)
        album.Add(album.WriteSource(std::string(1, static_cast<char>('a' + i)) + ".jpg", i, kRiver));
      EXPECT_EQ(album.Generate({.Jobs = jobs}), (TCounts{3, 0, 0})) << "the first run renders everything";
      row.edit(album);
      TRunOptions options = row.options;
      options.Jobs = jobs;
      options.Prune = true;  // the copy under the earlier album title goes
      const TCounts counts = album.Generate(options);
      EXPECT_EQ(counts.rendered, row.rendered) << jobs << " jobs";
      EXPECT_EQ(counts.up_to_date, 3 - row.rendered) << jobs << " jobs";
      album.ExpectAsFresh(true);
    }
  }
}

TEST(IncrementalRun, EveryRunAfterRandomEditsEqualsAFreshOne) {
  TAlbumUnderEdit album;
  std::mt19937 random(17);
  const auto pick = [&random](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
  int scenes = 0;
  const auto new_source = [&] {
    const int scene = scenes++;
    return album.WriteSource("p" + std::to_string(scene) + ".jpg", scene);
  };
  for (int i = 0; i < 4; ++i) album.Add(new_source());
  album.Generate();
  TPhotographList& photographs = album.Album().Photographs;
  TAlbumSettings& settings = album.Album().Settings;
  const char* const titles[] = {"", "Harbour", "harbour", "Tower"};  // shared web names get numbers
  for (int step = 0; step < 40; ++step) {
    const int edit = pick(10);
    TPhotograph& photograph = photographs[pick(photographs.Count())];
    SCOPED_TRACE("step " + std::to_string(step) + ", edit " + std::to_string(edit));
    switch (edit) {
      case 0: photograph.Caption = "caption " + std::to_string(step); break;
      case 1: photograph.Title = titles[pick(4)]; break;
      case 2: album.Album().Title = pick(2) ? "Edits" : "Edits Again"; break;
      case 3: photographs.Move(pick(photographs.Count()), pick(photographs.Count())); break;
      case 4: photograph.Rotation = static_cast<TRotation>(pick(4)); break;
      case 5: album.Add(pick(3) ? new_source() : photographs[0].FileName); break;
      case 6:
        if (photographs.Count() > 1) photographs.Remove(&photograph);
        break;
      case 7:
        settings.SetPhotoSize(pick(3) ? TPhotoSize::Custom : TPhotoSize::Original);
        settings.PhotoWidth = 40 + pick(3) * 8;
        settings.ThumbWidth = 16 + pick(2) * 4;
        break;
      case 8: album.WriteSource(ExtractFileName(photograph.FileName), 100 + step, {}, 40 - pick(2) * 8); break;
      case 9: {
        const std::set<std::string> files = FilesIn(album.Folder());
        auto file = files.begin();
        std::advance(file, pick(static_cast<int>(files.size())));
        std::filesystem::remove(album.Folder() + "/" + *file);
        break;
      }
    }
    const bool prune = pick(2) == 1;
    album.Generate({.Jobs = 1 + pick(2), .Prune = prune});
    album.ExpectAsFresh(prune);
    if (::testing::Test::HasFailure()) break;
  }
}

TEST(IncrementalRun, PruneRemovesOnlyUnchangedFilesOfEarlierRuns) {
  TAlbumUnderEdit album;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) album.Add(album.WriteSource(name, name[0]));
  album.Generate();
  const std::string folder = album.Folder() + "/";
  album.Album().Photographs.Remove(&album.Album().Photographs[1]);
  album.Album().Photographs[1].Title = "Sea";  // c becomes sea
  album.Album().Title = "Renamed";
  OverwriteInPlace(folder + "b.html", "mine");
  OverwriteInPlace(folder + "notes.txt", "");
  album.Add(folder + "c.jpg").Title = "Kept";  // an earlier run's image, now a photograph of the album

  EXPECT_EQ(album.Generate().pruned, 0) << "nothing is removed unless asked";
  const std::set<std::string> left_over = {"b.jpg", "b_small.jpg", "c_small.jpg", "c.html", "Edits.alb"};
  for (const std::string& name : left_over) EXPECT_TRUE(FileExists(folder + name)) << name;
  EXPECT_EQ(album.Generate({.Prune = true}).pruned, static_cast<int>(left_over.size()));
  for (const std::string& name : left_over) EXPECT_FALSE(FileExists(folder + name)) << name;
  for (const char* kept : {"b.html", "notes.txt", "c.jpg"}) EXPECT_TRUE(FileExists(folder + kept)) << kept;
  EXPECT_EQ(album.Generate({.Prune = true}).pruned, 0);
}

TEST(IncrementalRun, PruneRemovesTheWidthsAPhotographNoLongerGets) {
  TAlbumUnderEdit album;
  album.Album().Settings.PageStyle = TPageStyle::Modern;
  album.Album().Settings.SetPhotoSize(TPhotoSize::Custom);
  album.Album().Settings.PhotoWidth = album.Album().Settings.PhotoHeight = 1000;
  album.Add(album.WriteSource("wide.jpg", 1, {}, 1000, 750));
  album.Generate();
  const std::string folder = album.Folder() + "/";
  ASSERT_TRUE(FileExists(folder + "wide@625w.jpg"));
  album.Album().Settings.PhotoWidth = album.Album().Settings.PhotoHeight = 640;
  EXPECT_EQ(album.Generate({.Prune = true}).pruned, 1);
  EXPECT_FALSE(FileExists(folder + "wide@625w.jpg"));
  album.ExpectAsFresh(true);
}

TEST(IncrementalRun, ALostOrDamagedRecordMeansEverythingIsRendered) {
  TAlbumUnderEdit album;
  for (const char* name : {"a.jpg", "b.jpg"}) album.Add(album.WriteSource(name, name[0]));
  TAlbumUnderEdit other;
  other.Add(other.WriteSource("x.jpg", 9));
  other.Generate({.RecordFolder = album.Records()}, other.Folder());
  album.Generate();
  std::vector<std::string> records;
  for (const auto& entry : std::filesystem::directory_iterator(album.Records())) records.push_back(entry.path());
  ASSERT_EQ(records.size(), 2u) << "one record a folder";
  std::string record_file;
  std::string other_file;
  for (const std::string& file : records)
    (ReadFile(file).find("\"a.jpg\"") != std::string::npos ? record_file : other_file) = file;
  ASSERT_FALSE(record_file.empty() || other_file.empty());
  const std::string good = ReadFile(record_file);
  for (size_t size = 0; size < good.size(); ++size) {
    WriteFileAtomically(record_file, good.substr(0, size));
    ASSERT_TRUE(LoadRunRecord(album.Records(), album.Folder()).Files.empty()) << "cut at " << size;
  }
  struct Row {
    const char* why;
    std::function<void()> damage;
  };
  const Row rows[] = {
      {"garbage", [&] { WriteFileAtomically(record_file, "\x89PNG{{{{\"files\":"); }},
      {"cut short", [&] { std::filesystem::resize_file(record_file, good.size() / 2); }},
      {"another folder's record", [&] { WriteFileAtomically(record_file, ReadFile(other_file)); }},
      {"missing", [&] { std::filesystem::remove(record_file); }},
      {"its folder gone", [&] { std::filesystem::remove_all(album.Records()); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    album.Generate();  // a good record again
    row.damage();
    EXPECT_EQ(album.Generate(), (TCounts{2, 0, 0}));
    album.ExpectAsFresh(true);
    EXPECT_EQ(album.Generate(), (TCounts{0, 2, 0})) << "and the record is whole again";
  }
}

TEST(IncrementalRun, ASettledSourceIsReadAgainOnlyWhenItsStampChanged) {
  TAlbumUnderEdit album;
  for (const char* name : {"a.jpg", "b.jpg"}) album.Add(album.WriteSource(name, name[0], kRiver));
  // Stamps are trusted only some seconds after a file's last change, when the
  // file system's clock has surely moved on.
  std::this_thread::sleep_for(std::chrono::milliseconds(3100));
  EXPECT_EQ(album.Generate(), (TCounts{2, 0, 0}));
  EXPECT_EQ(album.Generate(), (TCounts{0, 2, 0}));
  EditKeepingSizeAndTime(album.Album().Photographs[0].FileName);
  EXPECT_EQ(album.Generate(), (TCounts{1, 1, 0})) << "the change time shows the edit";
  std::filesystem::last_write_time(album.Album().Photographs[1].FileName,
                                   std::filesystem::file_time_type::clock::now());
  EXPECT_EQ(album.Generate(), (TCounts{0, 2, 0})) << "touched, read again, the same";
  album.ExpectAsFresh(true);
}

TEST(IncrementalRun, RemovesOnlyTheTemporariesThatInterruptedRunsLeft) {
  TAlbumUnderEdit album;
  for (const char* name : {"a.jpg", "b.jpg", "l.jpg"}) album.Add(album.WriteSource(name, name[0]));
  album.Album().Photographs[2].Title = std::string(300, 'l');
  album.Generate();
  album.Album().Photographs.Remove(&album.Album().Photographs[1]);  // b's files: only the record lists them
  const std::string folder = album.Folder() + "/";
  struct Row {
    const char* why;
    std::string name;
    bool removed;
  };
  const Row rows[] = {
      {"an image", "a.jpg.tmp-Ab3dE9", true},
      {"an index page", "index.html.tmp-abcdef", true},
      {"the album copy", "Edits.alb.tmp-xYz123", true},
      {"a file only the record lists", "b_small.jpg.tmp-ZZZZZZ", true},
      {"a long name, cut to fit", std::string(242, 'l').append(".j.tmp-q1w2e3"), true},
      {"five letters", "main.css.tmp-abcde", false},
      {"seven letters", "main.css.tmp-abcdefg", false},
      {"not a letter", "main.css.tmp-abc_ef", false},
      {"another mark", "a.jpg.TMP-abcdef", false},
      {"not a name of the run's", "notes.txt.tmp-abcdef", false},
  };
  for (const Row& row : rows) OverwriteInPlace(folder + row.name, "half");
  std::filesystem::create_symlink("a.html", folder + "a.html.tmp-Linked");
  std::filesystem::create_directory(folder + "a.html.tmp-Folder");
  OverwriteInPlace(folder + "a.html.tmp-Future", "");
  std::filesystem::last_write_time(folder + "a.html.tmp-Future",
                                   std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));

  test::WaitForFileClockTick();  // the next run starts later than the one that left them
  album.Generate();
  EXPECT_EQ(album.RemovedTemporaries, 5);
  for (const Row& row : rows) EXPECT_EQ(std::filesystem::exists(folder + row.name), !row.removed) << row.why;
  for (const char* kept : {"a.html.tmp-Linked", "a.html.tmp-Folder", "a.html.tmp-Future"})
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(folder + kept))) << kept;
}

TEST(IncrementalRun, ARecordThatCannotBeWrittenIsToldInWholeSentences) {
  TAlbumUnderEdit album;
  album.Add(album.WriteSource("a.jpg", 1));
  std::filesystem::create_directories(album.Folder());
  std::filesystem::create_directories(album.Records());
  const std::string record = album.Records() + "/" + RunRecordName(album.Folder());
  ASSERT_EQ(::mkfifo(record.c_str(), 0644), 0);
  album.Generate();
  EXPECT_EQ(album.Notice, "Cannot write \"" + record +
                              "\": it is a named pipe, not a file. The next run into this folder renders every "
                              "photograph again.");
}

// A record as SaveRunRecord writes it, of a folder and its identity.
std::string RecordOf(const std::string& folder, uint64_t device, uint64_t inode) {
  return R"({"format":1,"folder":")" + folder + R"(","device":)" + std::to_string(device) + R"(,"inode":)" +
         std::to_string(inode) + R"(,"files":{},"sources":{}})";
}

TEST(RunRecord, RecordsOfFoldersThatAreGoneGoAndTheRestStaysBounded) {
  TAlbumUnderEdit album;
  album.Add(album.WriteSource("a.jpg", 1));
  TTempDir folders;
  for (const char* name : {"one", "two", "three"})
    album.Generate({.RecordFolder = album.Records()}, folders.File(name));
  std::filesystem::remove_all(folders.File("one"));
  std::filesystem::rename(folders.File("two"), folders.File("moved"));
  EXPECT_EQ(album.Generate({.RecordFolder = album.Records()}, folders.File("moved")), (TCounts{0, 1, 0}))
      << "a folder moved keeps its record when the next run goes into it";
  EXPECT_EQ(FilesIn(album.Records()),
            (std::set<std::string>{RunRecordName(folders.File("three")), RunRecordName(folders.File("moved"))}))
      << "the deleted folder's record is gone";

  TTempDir cache;
  const auto identity = [](const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return std::pair<uint64_t, uint64_t>(info.st_dev, info.st_ino);
  };
  int written = 0;
  const auto write_record = [&](const std::string& name, const std::string& text) {
    const std::string path = cache.Write(name, text);
    // Each written later than the one before, all of them in the past.
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++written - 1000));
  };
  const std::string current = folders.File("three");
  const auto [device, inode] = identity(current);
  write_record(RunRecordName(current), "the current folder's record is never looked at");
  std::vector<std::string> live;
  for (size_t i = 0; i < kMaxRunRecords + 5; ++i) {
    const std::string folder = folders.File("live" + std::to_string(i));
    std::filesystem::create_directory(folder);
    const auto [live_device, live_inode] = identity(folder);
    live.push_back(RunRecordName(folder));
    write_record(live.back(), RecordOf(folder + "/", live_device, live_inode));
  }
  std::filesystem::create_directory(folders.File("replaced"));
  const std::string huge_old_layout = R"({"device":)" + std::to_string(device) + R"(,"files":{")" +
                                      std::string(100000, 'x') + R"(":0},"folder":")" + current +
                                      R"(/","format":1,"inode":)" + std::to_string(inode) + "}";
  struct Row {
    const char* why;
    std::string text;
    bool kept;
  };
  const Row rows[] = {
      {"a folder deleted", RecordOf(folders.File("one") + "/", device, 99), false},
      {"a folder replaced by another", RecordOf(folders.File("replaced") + "/", device, 99), false},
      {"a folder on a disk not mounted now", RecordOf("/folivant-unplugged/album/", identity("/").first + 1, 99), true},
      {"damaged", "{\"format\":1,\"fol", false},
      {"the layout before the header led", huge_old_layout, true},
  };
  for (size_t i = 0; i < std::size(rows); ++i) write_record("run-a-" + std::to_string(i) + ".json", rows[i].text);
  write_record("run-a-0.json.tmp-Xy12Zw", "half");

  test::WaitForFileClockTick();
  TidyRunRecords(cache.Path(), current, FileClockNowNs());
  const std::set<std::string> left = FilesIn(cache.Path());
  EXPECT_EQ(left.size(), kMaxRunRecords);
  EXPECT_TRUE(left.contains(RunRecordName(current)));
  for (size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(left.contains("run-a-" + std::to_string(i) + ".json"), rows[i].kept) << rows[i].why;
  // The folders least recently run into go first: 58 records were left, the 8 oldest go.
  EXPECT_FALSE(left.contains(live[7]));
  EXPECT_TRUE(left.contains(live[8]));

  const std::string sparse = cache.File(live.back());
  std::filesystem::resize_file(sparse, kMaxRunRecordBytes);
  std::filesystem::last_write_time(sparse, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  TidyRunRecords(cache.Path(), current, FileClockNowNs());
  EXPECT_FALSE(std::filesystem::exists(sparse)) << "the bytes are bounded as well";
  EXPECT_EQ(FilesIn(cache.Path()).size(), kMaxRunRecords - 1);
}

TEST(RunRecord, LivesInTheUsersCacheFolder) {
  struct Row {
    const char* why;
    const char* cache;
    const char* home;
    const char* folder;
  };
  const Row rows[] = {{"XDG_CACHE_HOME first", "/xdg", "/home/u", "/xdg/folivant"},
                      {"else the cache folder in the home folder", nullptr, "/home/u", "/home/u/.cache/folivant"},
                      {"an empty XDG_CACHE_HOME counts as none", "", "/home/u", "/home/u/.cache/folivant"}};
  test::TEnvironment cache("XDG_CACHE_HOME"), home("HOME");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    cache.Set(row.cache);
    home.Set(row.home);
    EXPECT_EQ(DefaultRunRecordFolder(), row.folder);
  }
}

TEST(RenderAhead, RendersOnlyThePhotographsItIsGiven) {
  std::mutex mutex;
  std::multiset<int> rendered;
  TRenderAhead ahead(
      [&](int index) {
        std::lock_guard lock(mutex);
        rendered.insert(index);
        return TRenderedImages{{}, std::to_string(index)};
      },
      {1, 4, 5, 9}, 2, 2);
  for (const int index : {1, 4, 5, 9}) EXPECT_EQ(ahead.Take(index).Reason, std::to_string(index));
  EXPECT_EQ(rendered, (std::multiset<int>{1, 4, 5, 9}));
}

}  // namespace
}  // namespace folivant
