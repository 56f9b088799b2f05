#include "generation/generationrun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "albumfolder.h"
#include "generator/jpegcodec.h"
#include "generator/utilities.h"
#include "jpegfixtures.h"
#include "model/albumfile.h"
#include "pipetrap.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "rasterreference.h"
#include "samplephotos.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::DecodedJpegSize;
using test::FilesIn;
using test::ReadFile;
using test::TTempDir;

std::string WritePhoto(const TTempDir& dir, const std::string& name, int width, int height,
                       const samples::TSampleMetadata& metadata = {}) {
  return dir.Write(name, samples::MakeSamplePhoto(static_cast<int>(name.size()), width, height, metadata));
}

TPhotograph& AddPhotograph(TAlbum& album, const std::string& path) {
  TPhotograph& photograph = album.Photographs.Add(std::make_unique<TPhotograph>());
  photograph.SetFileName(path);
  return photograph;
}

TLineList DefaultStylesheet() { return SplitLines(*FindResource("defaultstylesheet")); }

/// Ticks until the run stops and returns the number of ticks that did work.
int RunToEnd(TGenerationRun& run) {
  int ticks = 1;
  while (run.RunTick()) ++ticks;
  return ticks;
}

/// Settles and creates `folder` as Finish would with that folder typed in.
void PrepareFolder(TAlbum& album, const std::string& folder) {
  ASSERT_EQ(CheckFinish(album, folder, "", [](const std::string&) { return true; }), TFinishCheck::Ready);
}

// The folder of a run stopped early: exactly these files, and no temporary file left behind.
void ExpectFiles(const std::string& folder, const std::set<std::string>& names) { EXPECT_EQ(FilesIn(folder), names); }

TEST(FinishChecks, AnEmptyAlbumCreatesNothing) {
  TTempDir dir;
  TAlbum album;
  bool asked = false;
  const auto ask = [&asked](const std::string&) { return asked = true; };
  EXPECT_EQ(CheckFinish(album, dir.File("out"), dir.File("Desktop"), ask), TFinishCheck::NoPhotographs);
  EXPECT_FALSE(asked);
  EXPECT_EQ(album.Settings.OutputDirectory, "");
  EXPECT_TRUE(FilesIn(dir.Path()).empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST(FinishChecks, SettlesTheOutputFolder) {
  struct Row {
    const char* why;
    const char* field;
    const char* stored;
    const char* title;
    const char* folder;  // "~" stands for the desktop folder
  };
  const Row rows[] = {
      {"blank field, nothing stored: the desktop and the album's name", "  \t", "", "Untitled Album",
       "~/UntitledAlbum/"},
      {"a title without letters gives MyAlbum", "", "", "2005 !", "~/MyAlbum/"},
      {"blank field keeps the stored folder", " ", "/srv/www/stored/", "Untitled Album", "/srv/www/stored/"},
      {"the field's text is taken untrimmed", "/srv/www/holiday  ", "/srv/www/stored/", "Untitled Album",
       "/srv/www/holiday  /"},
      {"a field that ends with the separator keeps one", "/srv/www/x/", "", "Untitled Album", "/srv/www/x/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    album.Title = row.title;
    album.Settings.SetOutputDirectory(row.stored);
    album.Saved = true;
    SettleOutputFolder(album, row.field, "/home/ann/Desktop");
    EXPECT_EQ(album.Settings.OutputDirectory, ReplaceAll(row.folder, "~", "/home/ann/Desktop"));
    EXPECT_EQ(album.Saved, album.Settings.OutputDirectory == row.stored) << "a new folder is a change to save";
  }
}

TEST(FinishChecks, WithoutADesktopTheAlbumFolderIsNeverTheRoot) {
  TAlbum album;
  SettleOutputFolder(album, "", "");
  EXPECT_EQ(album.Settings.OutputDirectory, "UntitledAlbum/");
}

TEST(FinishChecks, AnExistingFolderAnsweredNoWritesNothing) {
  TTempDir dir;
  TAlbum album;
  AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
  std::filesystem::create_directory(dir.File("out"));
  std::vector<std::string> questions;
  const auto no = [&questions](const std::string& question) {
    questions.push_back(question);
    return false;
  };
  EXPECT_EQ(CheckFinish(album, dir.File("out"), "", no), TFinishCheck::FolderRefused);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "The output folder '" + dir.File("out/") +
                              "' already exists and may have files in it. Would you like to continue anyway?");
  EXPECT_EQ(album.Settings.OutputDirectory, dir.File("out/"));
  EXPECT_TRUE(FilesIn(dir.File("out")).empty());
}

TEST(FinishChecks, CreatesTheFolderWithItsParentsWithoutAsking) {
  TTempDir dir;
  TAlbum album;
  AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
  const auto never = [](const std::string&) -> bool { throw std::logic_error("asked about a new folder"); };
  EXPECT_EQ(CheckFinish(album, dir.File("a/b/c"), "", never), TFinishCheck::Ready);
  EXPECT_TRUE(DirectoryExists(dir.File("a/b/c")));
}

TEST(FinishChecks, AFolderThatCannotBeCreatedIsReportedWithTheReason) {
  TTempDir dir;
  TAlbum album;
  AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
  dir.Write("plain-file", "in the way");
  const std::pair<std::string, std::string> rows[] = {
      {dir.File("plain-file/album"), "Not a directory"},
      {dir.File("plain-file"), "A file of that name exists"},
  };
  for (const auto& [folder, reason] : rows) {
    SCOPED_TRACE(folder);
    EXPECT_THROW_MSG(CheckFinish(album, folder, "", [](const std::string&) { return true; }),
                     "Could not create directory \"" + folder + "/\". " + reason);
    EXPECT_EQ(album.Settings.OutputDirectory, folder + "/");
  }
  EXPECT_EQ(ReadFile(dir.File("plain-file")), "in the way");
}

TEST(FinishChecks, RefusesSettingsThatWouldStopTheRunBeforeWriting) {
  struct Row {
    const char* why;
    void (*change)(TAlbumSettings&);
    const char* message;  // nullptr: the run may start
  };
  const Row rows[] = {
      {"photo width 0", [](TAlbumSettings& s) { s.PhotoWidth = 0; },
       "The photo width must be from 1 to 65500 pixels, not 0."},
      {"photo width 0 does not matter at the original size",
       [](TAlbumSettings& s) {
         s.SetPhotoSize(TPhotoSize::Original);
         s.PhotoWidth = 0;
       },
       nullptr},
      {"photo width beyond a JPEG's side", [](TAlbumSettings& s) { s.PhotoWidth = 65501; },
       "The photo width must be from 1 to 65500 pixels, not 65501."},
      {"thumbnail width below 1", [](TAlbumSettings& s) { s.ThumbWidth = -3; },
       "The thumbnail width must be from 1 to 65500 pixels, not -3."},
      {"thumbnail height 0", [](TAlbumSettings& s) { s.ThumbHeight = 0; },
       "The thumbnail height must be from 1 to 65500 pixels, not 0."},
      {"no rows", [](TAlbumSettings& s) { s.ThumbnailRows = 0; },
       "The number of thumbnail rows must be from 1 to 100, not 0."},
      {"a billion columns", [](TAlbumSettings& s) { s.ThumbnailCols = 1'000'000'000; },
       "The number of thumbnail columns must be from 1 to 100, not 1000000000."},
      {"the largest grid", [](TAlbumSettings& s) { s.ThumbnailRows = s.ThumbnailCols = 100; }, nullptr},
  };
  TTempDir photos;
  const std::string photo = WritePhoto(photos, "a.jpg", 40, 30);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir dir;
    TAlbum album;
    AddPhotograph(album, photo);
    row.change(album.Settings);
    const auto yes = [](const std::string&) { return true; };
    if (!row.message) {
      EXPECT_EQ(CheckFinish(album, dir.File("out"), "", yes), TFinishCheck::Ready);
      continue;
    }
    EXPECT_THROW_MSG(CheckFinish(album, dir.File("out"), "", yes), row.message);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
    EXPECT_EQ(album.Settings.OutputDirectory, "") << "the album is left as it was";
  }
}

TEST(FinishChecks, NoFileOfTheRunMayReplaceAPhotograph) {
  struct Row {
    const char* why;
    const char* output;                    // the output folder, inside the test folder
    void (*prepare)(const TTempDir& dir);  // what lies there before Finish
    const char* replaced;                  // the output file that is the photograph
  };
  const Row rows[] = {
      {"the photographs' own folder", "photos", [](const TTempDir&) {}, "photos/lake.jpg"},
      {"a link to the photographs' folder", "link",
       [](const TTempDir& dir) { std::filesystem::create_directory_symlink(dir.File("photos"), dir.File("link")); },
       "link/lake.jpg"},
      {"a hard link of the photograph under a thumbnail's name", "out",
       [](const TTempDir& dir) {
         std::filesystem::create_directory(dir.File("out"));
         std::filesystem::create_hard_link(dir.File("photos/lake.jpg"), dir.File("out/boat_small.jpg"));
       },
       "out/boat_small.jpg"},
      {"the stylesheet is a link to the photograph", "out",
       [](const TTempDir& dir) {
         std::filesystem::create_directory(dir.File("out"));
         std::filesystem::create_symlink(dir.File("photos/lake.jpg"), dir.File("out/main.css"));
       },
       "out/main.css"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TTempDir dir;
    std::filesystem::create_directory(dir.File("photos"));
    const std::string lake = WritePhoto(dir, "photos/lake.jpg", 40, 30);
    std::filesystem::permissions(lake, std::filesystem::perms::owner_read);
    TAlbum album;
    AddPhotograph(album, lake).Title = "Lake";
    AddPhotograph(album, WritePhoto(dir, "photos/boat.jpg", 40, 30));
    row.prepare(dir);
    const std::set<std::string> before = FilesIn(dir.File(row.output));
    bool asked = false;
    const auto ask = [&asked](const std::string&) { return asked = true; };
    EXPECT_THROW_MSG(CheckFinish(album, dir.File(row.output), "", ask),
                     "The output file \"" + dir.File(row.replaced) + "\" would replace the photograph \"Lake\" (" +
                         lake + "). Please choose another output folder.");
    EXPECT_FALSE(asked) << "refused before asking about the folder";
    EXPECT_EQ(FilesIn(dir.File(row.output)), before);
  }
}

TEST(FinishChecks, PhotographsOfTheSameNameElsewhereAreNoObstacle) {
  TTempDir dir;
  TAlbum album;
  AddPhotograph(album, WritePhoto(dir, "lake.jpg", 40, 30));
  std::filesystem::create_directory(dir.File("out"));
  dir.Write("out/lake.jpg", "an earlier run's picture");
  EXPECT_EQ(CheckFinish(album, dir.File("out"), "", [](const std::string&) { return true; }), TFinishCheck::Ready);
}

TEST(GenerationRun, StepsTicksAndBarsFollowTheAlbum) {
  struct Row {
    const char* why;
    int photographs;
    std::set<std::string> index_pages;
  };
  const Row rows[] = {{"20 photographs fill one index page", 20, {"index.html"}},
                      {"21 photographs need a second index page", 21, {"index.html", "index2.html"}}};
  TTempDir photos;
  const std::string path = WritePhoto(photos, "tiny.jpg", 16, 12);
  for (const auto& [row, jobs] : {std::pair{rows[0], 1}, std::pair{rows[1], 1}, std::pair{rows[1], 2}}) {
    SCOPED_TRACE(std::string(row.why) + (jobs == 1 ? "" : ", rendered ahead on two threads"));
    TTempDir dir;
    TAlbum album;
    for (int i = 0; i < row.photographs; ++i) AddPhotograph(album, path);
    PrepareFolder(album, dir.File("out"));
    TGenerationRun run(album, DefaultStylesheet(), {.Jobs = jobs});
    const int pages = static_cast<int>(row.index_pages.size());
    std::vector<TRunStep> steps;
    int ticks = 0;
    bool more = true;
    while (more) {
      more = run.RunTick();
      ++ticks;
      if (steps.empty() || steps.back() != run.RunStep()) steps.push_back(run.RunStep());
      EXPECT_EQ(run.ImageProgress().Maximum, 2 * row.photographs);
      EXPECT_EQ(run.PageProgress().Maximum, pages + row.photographs);
    }
    EXPECT_EQ(ticks, 2 * row.photographs + pages + 8);
    const std::vector<TRunStep> expected = {
        TRunStep::RenderPhotographs, TRunStep::ClosePhotographs, TRunStep::WritePhotoPages, TRunStep::OpenIndexPages,
        TRunStep::WriteIndexPages,   TRunStep::ClosePages,       TRunStep::Finished};
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(run.Completed());
    EXPECT_EQ(run.ImageProgress().Position, 2 * row.photographs);
    EXPECT_EQ(run.PageProgress().Position, pages + row.photographs);
    const std::set<std::string> files = FilesIn(dir.File("out"));
    for (const std::string& name : row.index_pages) EXPECT_TRUE(files.contains(name)) << name;
    EXPECT_FALSE(files.contains("index" + std::to_string(pages + 1) + ".html"));
  }
}

TEST(GenerationRun, SkipEndsThePhotographsButNotThePages) {
  for (const int jobs : {1, 2}) {
    SCOPED_TRACE(jobs == 1 ? "one job" : "rendering ahead on two threads");
    TTempDir dir;
    TAlbum album;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) AddPhotograph(album, WritePhoto(dir, name, 40, 30));
    PrepareFolder(album, dir.File("out"));
    TGenerationRun run(album, DefaultStylesheet(), {.Jobs = jobs});
    run.Skip();
    EXPECT_EQ(run.ImageLabel(), "Preparing Photographs...") << "skip before the photographs does nothing";
    for (int tick = 0; tick < 3; ++tick) run.RunTick();  // prepare, a, b
    run.Skip();
    EXPECT_EQ(run.RunStep(), TRunStep::ClosePhotographs);
    EXPECT_EQ(run.ImageLabel(), "Preparing Photographs... (Skipped)");
    EXPECT_FALSE(run.SkipEnabled());
    run.RunTick();
    EXPECT_EQ(run.ImageProgress().Position, run.ImageProgress().Maximum);
    RunToEnd(run);
    EXPECT_TRUE(run.Completed());
    ExpectFiles(dir.File("out"), {"main.css", "UntitledAlbum.alb", "a.jpg", "a_small.jpg", "b.jpg", "b_small.jpg",
                                  "a.html", "b.html", "c.html", "d.html", "index.html"});
    EXPECT_TRUE(run.PhotographsWithoutImages().empty()) << "skipped photographs are not missing ones";
  }
}

TEST(GenerationRun, SkipAfterThePhotographsDoesNothing) {
  TTempDir dir;
  TAlbum album;
  AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
  PrepareFolder(album, dir.File("out"));
  TGenerationRun run(album, DefaultStylesheet());
  while (run.RunStep() != TRunStep::WritePhotoPages) run.RunTick();
  run.Skip();
  EXPECT_EQ(run.RunStep(), TRunStep::WritePhotoPages);
  EXPECT_EQ(run.ImageLabel(), "Preparing Photographs...");
  EXPECT_TRUE(run.SkipEnabled());
}

TEST(GenerationRun, CancelLeavesWhatWasWritten) {
  for (const int jobs : {1, 2}) {
    SCOPED_TRACE(jobs == 1 ? "one job" : "rendering ahead on two threads");
    TTempDir dir;
    TAlbum album;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
      AddPhotograph(album, WritePhoto(dir, name, 64, 48));
    PrepareFolder(album, dir.File("out"));
    {
      TGenerationRun run(album, DefaultStylesheet(), {.Jobs = jobs});
      for (int tick = 0; tick < 3; ++tick) run.RunTick();  // prepare, a, b
    }
    ExpectFiles(dir.File("out"), {"main.css", "UntitledAlbum.alb", "a.jpg", "a_small.jpg", "b.jpg", "b_small.jpg"});
  }
}

TEST(GenerationRun, PhotographsThatCannotBeDecodedAreLeftOutWithTheirReason) {
  TTempDir photos;
  const std::string good = WritePhoto(photos, "good.jpg", 40, 30);
  const std::string picture = ReadFile(good);
  // A progressive file claiming 20000 x 20000: 1.2 GB of coefficients.
  std::string bomb = test::WriteProgressiveJpeg(16, 16);
  const size_t frame = bomb.find("\xFF\xC2");
  bomb.replace(frame + 5, 4, "\x4E\x20\x4E\x20");
  struct Row {
    std::string path;
    std::string reason;
  };
  // A photograph that became a named pipe after it was added: a reader waiting on it would wait for ever.
  const std::string pipe = photos.File("pipe.jpg");
  const Row rows[] = {
      {photos.File("gone.jpg"), "file not found"},
      {photos.Write("same.jpe", picture), "not a .jpg or .jpeg file"},
      {photos.Write("text.jpg", "not a JPEG at all"), "Not a JPEG file: starts with 0x6e 0x6f"},
      {photos.Write("cut.jpg", picture.substr(0, picture.size() / 2)), "Premature end of JPEG file"},
      {photos.Write("huge.jpg", bomb), "The picture needs 1152 MB of memory to decode, more than the 1024 MB allowed"},
      {pipe, "Cannot read \"" + pipe + "\": it is a named pipe, not a file"},
  };
  for (const int jobs : {1, 3}) {
    SCOPED_TRACE(jobs == 1 ? "one job" : "rendering ahead on three threads");
    TTempDir dir;
    TAlbum album;
    AddPhotograph(album, good);
    std::filesystem::remove(pipe);
    photos.Write("pipe.jpg", picture);
    for (const Row& row : rows) AddPhotograph(album, row.path);
    AddPhotograph(album, good);
    std::filesystem::remove(pipe);
    test::TPipeTrap trap(pipe);
    PrepareFolder(album, dir.File("out"));
    TGenerationRun run(album, DefaultStylesheet(), {.Jobs = jobs});
    RunToEnd(run);
    EXPECT_FALSE(trap.Release()) << "the run waited on the named pipe";
    EXPECT_TRUE(run.Completed());
    const std::vector<TPhotographWithoutImages>& left_out = run.PhotographsWithoutImages();
    ASSERT_EQ(left_out.size(), std::size(rows));
    for (size_t i = 0; i < left_out.size(); ++i) {
      EXPECT_EQ(left_out[i].Index, static_cast<int>(i) + 1) << "album order";
      EXPECT_EQ(left_out[i].Reason, rows[i].reason);
    }
    const std::set<std::string> files = FilesIn(dir.File("out"));
    for (const char* name : {"good.jpg", "good_small.jpg", "cut.html", "index.html"})
      EXPECT_TRUE(files.contains(name)) << name;
    EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const std::string& name) { return name.ends_with(".jpg"); }),
              4)
        << "both good photographs and their thumbnails";
  }
}

// What a run reads of its photographs, counted as the kernel counts the
// process's reads: each photograph once, the fingerprint taken from the bytes
// decoded, and of a huge file that is no JPEG file only its first bytes.
TEST(GenerationRun, ReadsEachPhotographOnce) {
  if (!test::BytesReadByProcess()) GTEST_SKIP() << "the kernel does not count this process's reads";
  TTempDir photos;
  std::mt19937 random(11);
  uint64_t photographs = 0;
  for (const char* name : {"a.jpg", "b.jpg"})
    photographs += ReadFile(photos.Write(name, EncodeJpeg(test::RandomRaster(900, 700, random), 90))).size();
  const std::string huge = photos.Write("huge.jpg", "");
  std::filesystem::resize_file(huge, uint64_t{3} << 30);  // sparse: costs no disk
  TTempDir dir;
  TAlbum album;
  for (const char* name : {"a.jpg", "b.jpg", "huge.jpg"}) AddPhotograph(album, photos.File(name));
  const auto run = [&](TRunOptions options) {
    options.RecordFolder = dir.File("records");
    PrepareFolder(album, dir.File("out"));
    const uint64_t before = *test::BytesReadByProcess();
    TGenerationRun generation(album, DefaultStylesheet(), options);
    RunToEnd(generation);
    EXPECT_EQ(generation.PhotographsWithoutImages().size(), 1u);
    EXPECT_EQ(generation.PhotographsWithoutImages()[0].Reason, "Not a JPEG file: starts with 0x00 0x00");
    return std::pair(*test::BytesReadByProcess() - before, generation.RenderedCount());
  };
  // Besides the photographs: the first bytes of huge.jpg and the record of the runs.
  constexpr uint64_t kBesides = 512 << 10;
  const auto [first, first_rendered] = run({});
  EXPECT_EQ(first_rendered, 2);
  EXPECT_LT(first, photographs + kBesides) << "a first run";
  const auto [full, full_rendered] = run({.Full = true});
  EXPECT_EQ(full_rendered, 2);
  EXPECT_LT(full, photographs + kBesides) << "a full run";
  std::filesystem::last_write_time(photos.File("a.jpg"), std::filesystem::file_time_type::clock::now());
  const auto [touched, touched_rendered] = run({});
  EXPECT_EQ(touched_rendered, 0) << "a touched photograph's content is the same";
  EXPECT_LT(touched, photographs + kBesides) << "a touched photograph is read once, to see that";
}

TEST(GenerationRun, AFileThatCannotBeWrittenStopsTheRunWithItsMessage) {
  for (const int jobs : {1, 2}) {
    SCOPED_TRACE(jobs == 1 ? "one job" : "rendering ahead on two threads");
    TTempDir dir;
    TAlbum album;
    AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
    AddPhotograph(album, WritePhoto(dir, "b.jpg", 40, 30));
    AddPhotograph(album, WritePhoto(dir, "c.jpg", 40, 30));
    PrepareFolder(album, dir.File("out"));
    // A folder of the photograph's name, with something in it, cannot be replaced by a file.
    std::filesystem::create_directory(dir.File("out/b.jpg"));
    dir.Write("out/b.jpg/keep", "");
    std::string message;
    try {
      WriteFileAtomically(dir.File("out/b.jpg"), "");
    } catch (const TError& error) {
      message = error.what();
    }
    ASSERT_FALSE(message.empty());
    TGenerationRun run(album, DefaultStylesheet(), {.Jobs = jobs});
    run.RunTick();
    run.RunTick();
    EXPECT_THROW_MSG(run.RunTick(), message);
    EXPECT_TRUE(run.Failed());
    EXPECT_FALSE(run.RunTick()) << "no step follows a failed one";
    EXPECT_EQ(run.RunStep(), TRunStep::RenderPhotographs);
    EXPECT_EQ(run.ImageProgress().Position, 2);
    ExpectFiles(dir.File("out"), {"main.css", "UntitledAlbum.alb", "a.jpg", "a_small.jpg"});
  }
}

TEST(GenerationRun, TheAlbumKeepsItsFileAndItsSavedState) {
  for (const bool saved : {true, false}) {
    SCOPED_TRACE(saved ? "saved" : "modified");
    TTempDir dir;
    TAlbum album;
    album.Title = "Summer 2024";
    album.FileName = dir.Write("mine.alb", "the user's album");
    AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
    PrepareFolder(album, dir.File("out"));
    album.Saved = saved;
    TGenerationRun run(album, DefaultStylesheet());
    run.RunTick();
    EXPECT_EQ(album.FileName, dir.File("mine.alb"));
    EXPECT_EQ(album.Saved, saved);
    EXPECT_EQ(ReadFile(dir.File("mine.alb")), "the user's album");
    EXPECT_EQ(ReadFile(dir.File("out/Summer2024.alb")), AlbumFileText(album));
    EXPECT_EQ(album.Photographs[0].WebName, "a");
    EXPECT_EQ(run.Notice(), "");
  }
}

TEST(GenerationRun, TheAlbumCopyNeverReplacesTheAlbumFile) {
  TTempDir dir;
  TAlbum album;
  AddPhotograph(album, WritePhoto(dir, "a.jpg", 40, 30));
  std::filesystem::create_directory(dir.File("out"));
  album.FileName = dir.Write("out/UntitledAlbum.alb", "an older album file");
  dir.Write("out/UntitledAlbum2.alb", "an earlier copy");
  PrepareFolder(album, dir.File("out"));
  TGenerationRun run(album, DefaultStylesheet());
  RunToEnd(run);
  ASSERT_TRUE(run.Completed());
  EXPECT_EQ(ReadFile(dir.File("out/UntitledAlbum.alb")), "an older album file");
  EXPECT_EQ(ReadFile(dir.File("out/UntitledAlbum2.alb")), AlbumFileText(album));
  EXPECT_EQ(run.Notice(), "The album file \"" + dir.File("out/UntitledAlbum.alb") +
                              "\" has the name of the album's copy, so the copy is \"" +
                              dir.File("out/UntitledAlbum2.alb") + "\".");
  album.FileName = dir.File("out/UntitledAlbum2.alb");
  EXPECT_EQ(AlbumCopyName(album), "UntitledAlbum.alb") << "the album's own file is only ever skipped";
}

}  // namespace
}  // namespace folivant
