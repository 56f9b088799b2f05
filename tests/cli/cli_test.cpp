#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "albumfolder.h"
#include "clihome.h"
#include "generator/jpegcodec.h"
#include "generator/pagegenerator.h"
#include "model/albumclasses.h"
#include "model/globalsettings.h"
#include "photofiles.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/resources.h"
#include "platform/settingsstore.h"
#include "platform/text.h"
#include "samplephotos.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::FilesIn;
using test::ReadFile;
using test::TCliHome;
using test::TResult;
using test::TTempDir;

/// A command line that must fail with exit status 1 and this message.
struct TFailure {
  const char* why;
  std::vector<std::string> arguments;
  std::string message;
};

std::string LoadMessage(const std::string& path) {
  try {
    TAlbum::LoadFromFile(path);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

const std::vector<samples::TSamplePicture> kPictures = {
    {"b.jpg", 0, 120, 80, {"2021:05:02 10:00:00", "Bridge", "Over the river."}},
    {"A.JPG", 1, 80, 120, {"2021:05:03 10:00:00", "Castle", "On the hill."}},
    {"c.jpeg", 2, 100, 100, {"2021:05:01 10:00:00", "Abbey", ""}},
    {"z.jpg", 3, 96, 64, {"2021:05:04 10:00:00", "", ""}},
};

TEST(CliGenerate, JobsDoNotChangeAByte) {
  TCliHome home;
  home.WritePhotos("photos", kPictures);
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  const TResult one = home.Run({"generate", "album.alb", "--output", "out", "--jobs", "1"});
  ASSERT_EQ(one.status, 0) << one.err;
  std::filesystem::rename(home.File("out"), home.File("out1"));
  const TResult two = home.Run({"generate", "album.alb", "--output", "out", "--jobs", "2"});
  ASSERT_EQ(two.status, 0) << two.err;

  const std::set<std::string> files = FilesIn(home.File("out1"));
  EXPECT_EQ(files.size(), 1 + 1 + 4 * 3 + 1u) << "main.css, the album, 4 x (photo, thumbnail, page), index";
  EXPECT_EQ(FilesIn(home.File("out")), files);
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(ReadFile(home.File("out/" + name)) == ReadFile(home.File("out1/" + name)));
  }
  EXPECT_NE(two.out.find("Photographs:  4\n"), std::string::npos) << two.out;
}

TEST(CliGenerate, ARunAgainRendersOnlyWhatChangedAndPrunesOnlyWhenAsked) {
  TCliHome home;
  home.WritePhotos("photos", kPictures);
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  const TResult once = home.Run({"generate", "album.alb", "--output", "out", "--jobs", "2"});
  ASSERT_EQ(once.status, 0) << once.err;
  std::filesystem::rename(home.File("out"), home.File("once"));  // the album copy names the folder "out"
  EXPECT_NE(once.out.find("Images:       4 rendered, 0 up to date\n"), std::string::npos) << once.out;
  for (const char* first : {"--jobs=2", "--full"}) {
    SCOPED_TRACE(first);
    std::filesystem::remove_all(home.File("out"));
    ASSERT_EQ(home.Run({"generate", "album.alb", "--output", "out", first}).status, 0);
    const TResult again = home.Run({"generate", "album.alb", "--output", "out", "--jobs", "2", "--force"});
    EXPECT_NE(again.out.find("Images:       0 rendered, 4 up to date\n"), std::string::npos) << again.out;
    EXPECT_EQ(again.out.find("Removed:"), std::string::npos) << "said only when asked";
    const std::set<std::string> files = FilesIn(home.File("once"));
    EXPECT_EQ(FilesIn(home.File("out")), files) << "nothing of the record in the album folder";
    for (const std::string& name : files)
      EXPECT_TRUE(ReadFile(home.File("out/" + name)) == ReadFile(home.File("once/" + name))) << name;
  }
  const TResult full = home.Run({"generate", "album.alb", "--output", "out", "--force", "--full"});
  EXPECT_NE(full.out.find("Images:       4 rendered, 0 up to date\n"), std::string::npos) << full.out;
  EXPECT_FALSE(FilesIn(home.File("cache/folivant")).empty()) << "the record is in the user's cache folder";

  // Without z.jpg the album loses one photograph: its image, thumbnail and page stay until pruned.
  std::filesystem::remove(home.File("photos/z.jpg"));
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--force"}).status, 0);
  ASSERT_EQ(home.Run({"generate", "album.alb", "--output", "out", "--force"}).status, 0);
  EXPECT_TRUE(FilesIn(home.File("out")).contains("z_small.jpg"));
  const TResult pruned = home.Run({"generate", "album.alb", "--output", "out", "--force", "--prune"});
  EXPECT_NE(pruned.out.find("Images:       0 rendered, 3 up to date\nRemoved:      3 files of earlier runs\n"),
            std::string::npos)
      << pruned.out;
  EXPECT_EQ(FilesIn(home.File("out")).size(), FilesIn(home.File("once")).size() - 3);
}

TEST(CliGenerate, FailuresExitWithTheirMessage) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  TAlbum album;
  album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(home.File("photos/b.jpg"));
  album.FileName = home.File("album.alb");
  album.SaveToFile();
  home.Write("damaged.alb", "<folivant version=\"1.8\"><title>Half");
  std::string unwritable;
  try {
    WriteFileAtomically("/proc/self/main.css", "");
  } catch (const TError& error) {
    unwritable = error.what();
  }

  const TFailure rows[] = {
      {"a missing album",
       {"generate", home.File("missing.alb"), "--output", "out"},
       LoadMessage(home.File("missing.alb"))},
      {"a damaged album",
       {"generate", home.File("damaged.alb"), "--output", "out"},
       LoadMessage(home.File("damaged.alb"))},
      {"an output folder that cannot be written",
       {"generate", "album.alb", "--output", "/proc/self", "--force"},
       unwritable},
      {"an output folder that cannot be created",
       {"generate", "album.alb", "--output", home.File("album.alb/out")},
       "Could not create directory \"" + home.File("album.alb/out/") + "\". Not a directory"},
  };
  for (const TFailure& row : rows) {
    SCOPED_TRACE(row.why);
    ASSERT_FALSE(row.message.empty());
    const TResult result = home.Run(row.arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "folivant-cli: " + row.message + "\n");
    EXPECT_FALSE(std::filesystem::exists(home.File("out")));
  }
}

TEST(CliGenerate, NeverWritesOverThePhotographsOrTheAlbum) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[3]});
  ASSERT_EQ(home.Run({"create", "photos/d.alb", "--from-folder", "photos"}).status, 0);
  const std::string photo = ReadFile(home.File("photos/z.jpg"));
  const TResult refused = home.Run({"generate", "photos/d.alb", "--output", "photos", "--force"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "folivant-cli: The output file \"" + home.File("photos/z.jpg") +
                             "\" would replace the photograph \"z.jpg\" (" + home.File("photos/z.jpg") +
                             "). Please choose another output folder.\n");
  EXPECT_EQ(FilesIn(home.File("photos")), (std::set<std::string>{"d.alb", "z.jpg"}));
  EXPECT_TRUE(ReadFile(home.File("photos/z.jpg")) == photo);

  std::filesystem::create_directory(home.File("out"));
  ASSERT_EQ(home.Run({"create", "out/UntitledAlbum.alb", "--from-folder", "photos"}).status, 0);
  const std::string album = ReadFile(home.File("out/UntitledAlbum.alb"));
  const TResult beside = home.Run({"generate", "out/UntitledAlbum.alb", "--output", "out", "--force"});
  ASSERT_EQ(beside.status, 0) << beside.err;
  EXPECT_EQ(ReadFile(home.File("out/UntitledAlbum.alb")), album);
  EXPECT_TRUE(FileExists(home.File("out/UntitledAlbum2.alb")));
  EXPECT_NE(beside.out.find("Note:         The album file \"out/UntitledAlbum.alb\" has the name of the album's "
                            "copy, so the copy is \"" +
                            home.File("out/UntitledAlbum2.alb") + "\".\n"),
            std::string::npos)
      << beside.out;
}

TEST(CliGenerate, PhotographsWithoutImagesAreListedWithTheirReasonAndExitWithThree) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  const std::string picture = ReadFile(home.File("photos/b.jpg"));
  TAlbum album;
  const std::string files[] = {home.File("photos/b.jpg"), home.File("photos/gone.jpg"),
                               home.Write("photos/cut.jpg", picture.substr(0, picture.size() / 2)),
                               home.Write("photos/text.jpg", "Text, not a photograph")};
  for (const std::string& file : files) album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(file);
  album.FileName = home.File("album.alb");
  album.SaveToFile();

  const TResult result = home.Run({"generate", "album.alb", "--output", "out", "--jobs", "2"});
  EXPECT_EQ(result.status, 3) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("Photographs:  4 (3 without images)\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("No images:    " + files[1] +
                            " (file not found)\n"
                            "No images:    " +
                            files[2] +
                            " (Premature end of JPEG file)\n"
                            "No images:    " +
                            files[3] + " (Not a JPEG file: starts with 0x54 0x65)\n"),
            std::string::npos)
      << result.out;
  EXPECT_TRUE(FilesIn(home.File("out")).contains("text.html")) << "the album is complete but for those images";
}

// A picture of width x height mid-grey pixels that takes long to decode but
// not to make: a 16 x 16 file whose frame header declares the larger size and
// whose one coded unit (every block of it holding nothing but a zero
// difference) stands for every unit of the larger picture.
std::string LargeGreyJpeg(int width, int height) {
  TRaster grey(16, 16);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) grey.At(x, y) = 0xFF808080;
  std::string jpeg = EncodeJpeg(grey, 85);
  const size_t frame = jpeg.find("\xFF\xC0");
  jpeg.replace(frame + 5, 4,
               {static_cast<char>(height >> 8), static_cast<char>(height & 0xFF), static_cast<char>(width >> 8),
                static_cast<char>(width & 0xFF)});
  const size_t scan = jpeg.find("\xFF\xDA");
  const size_t data = scan + 2 + (static_cast<uint8_t>(jpeg[scan + 2]) << 8 | static_cast<uint8_t>(jpeg[scan + 3]));
  const std::string unit = jpeg.substr(data, jpeg.size() - 2 - data);
  EXPECT_EQ(unit.size(), 4u) << "one unit of whole bytes";
  std::string large = jpeg.substr(0, data);
  const size_t units = static_cast<size_t>((width + 15) / 16) * static_cast<size_t>((height + 15) / 16);
  large.reserve(large.size() + units * unit.size() + 2);
  for (size_t i = 0; i < units; ++i) large += unit;
  return large + "\xFF\xD9";
}

TEST(CliGenerate, StopsWithinASecondOnASignalWithoutTemporaryFiles) {
  TCliHome home;
  // Seconds to decode and scale to 10000 pixels, without a pause between two steps of the run.
  TAlbum album;
  album.Settings.SetPhotoSize(TPhotoSize::Custom);
  album.Settings.PhotoWidth = 10000;
  album.Photographs.Add(std::make_unique<TPhotograph>())
      .SetFileName(home.Write("large.jpg", LargeGreyJpeg(20000, 20000)));
  album.FileName = home.File("album.alb");
  album.SaveToFile();
  struct Row {
    const char* why;
    int signal;
    const char* jobs;
  };
  const Row rows[] = {{"Ctrl+C while decoding", SIGINT, "1"}, {"SIGTERM while decoding ahead", SIGTERM, "2"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    std::filesystem::remove_all(home.File("out"));
    const pid_t cli = home.Start({"generate", "album.alb", "--output", "out", "--jobs", row.jobs});
    // Signalled once it has read a sixth of the photograph, deep in its decoding.
    for (int i = 0; i < 400 && test::BytesReadByProcess(std::to_string(cli)).value_or(0) < (1 << 20); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int status = 0;
    ASSERT_EQ(::waitpid(cli, &status, WNOHANG), 0) << "still at work";
    const auto signalled = std::chrono::steady_clock::now();
    ASSERT_EQ(::kill(cli, row.signal), 0);
    ASSERT_EQ(::waitpid(cli, &status, 0), cli);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(1));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == row.signal) << "ends by the signal, as the shell expects";
    EXPECT_EQ(ReadFile(home.File("stderr.txt")), "folivant-cli: Stopped; the files written so far remain.\n");
    const std::set<std::string> files = FilesIn(home.File("out"));
    EXPECT_FALSE(files.contains("large.jpg")) << "stopped while decoding";
    for (const std::string& name : files) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
  }
}

TEST(CliGenerate, RefusesAnExistingFolderUnlessForced) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  std::filesystem::create_directory(home.File("out"));
  home.Write("out/keep.txt", "mine");

  const TResult refused = home.Run({"generate", "album.alb", "--output", "out"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "folivant-cli: The output folder '" + home.File("out/") +
                             "' already exists; nothing was written. Use --force to write into it anyway.\n");
  EXPECT_EQ(FilesIn(home.File("out")), std::set<std::string>{"keep.txt"});

  EXPECT_EQ(home.Run({"generate", "album.alb", "--output", "out", "--force"}).status, 0);
  EXPECT_TRUE(FilesIn(home.File("out")).contains("index.html"));
  EXPECT_EQ(ReadFile(home.File("out/keep.txt")), "mine");
}

TEST(CliGenerate, WithoutAFolderTheAlbumGoesToTheDesktop) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--title", "Road Trip"}).status, 0);
  const TResult result = home.Run({"generate", "album.alb"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(FilesIn(home.File("Desktop/RoadTrip")).contains("RoadTrip.alb"));
}

TEST(CliGenerate, FillsTheStylesheetFromTheTemplateFile) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  home.Write("mine.css", "body { margin: 0 }\n");
  ASSERT_EQ(home.Run({"generate", "album.alb", "--output", "out", "--stylesheet", "mine.css"}).status, 0);
  EXPECT_EQ(ReadFile(home.File("out/main.css")), "body { margin: 0 }\r\n");

  const TAlbum album = std::move(*TAlbum::LoadFromFile(home.File("album.alb")));
  TLineList stylesheet = SplitLines(*FindResource("defaultstylesheet"));
  TAlbumPageGenerator(album).FillStylesheet(stylesheet);
  ASSERT_EQ(home.Run({"generate", "album.alb", "--output", "default"}).status, 0);
  EXPECT_EQ(ReadFile(home.File("default/main.css")), JoinLinesCrLf(stylesheet)) << "no stored template: the default";
  TSettingsStore store(home.File("config/folivant"));
  TGlobalSettings settings("", store);
  settings.SetStylesheetTemplate({"/* mine */", "body { color: <TEXT_COLOR> }"});
  settings.SaveStylesheetTemplate();
  ASSERT_EQ(home.Run({"generate", "album.alb", "--output", "stored"}).status, 0);
  TLineList stored = settings.StylesheetTemplate();
  TAlbumPageGenerator(album).FillStylesheet(stored);
  EXPECT_EQ(ReadFile(home.File("stored/main.css")), JoinLinesCrLf(stored)) << "the template the application keeps";
  EXPECT_NE(stored[1].find("#000000"), std::string::npos) << "its placeholder filled";
}

TEST(CliGenerate, StyleAndCameraDataApplyToTheRunButNotToTheAlbumFile) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  const std::string album_file = ReadFile(home.File("album.alb"));
  TSettingsStore store(home.File("config/folivant"));
  TGlobalSettings settings("", store);
  settings.SetStylesheetTemplate({"/* modern */"}, TPageStyle::Modern);
  settings.SaveStylesheetTemplate(TPageStyle::Modern);

  const TResult modern = home.Run({"generate", "album.alb", "--output", "modern", "--style", "modern", "--exif",
                                   "--base-url", "https://example.org/trip/", "--zip", "--download"});
  ASSERT_EQ(modern.status, 0) << modern.err;
  EXPECT_EQ(ReadFile(home.File("album.alb")), album_file);
  EXPECT_EQ(ReadFile(home.File("modern/main.css")), "/* modern */\r\n") << "the modern style's own template";
  const std::string copy = ReadFile(home.File("modern/UntitledAlbum.alb"));
  EXPECT_NE(copy.find("<pagestyle>modern</pagestyle>"), std::string::npos);
  EXPECT_NE(copy.find("<cameradata>True</cameradata>"), std::string::npos);
  for (const char* setting : {"<webaddress>https://example.org/trip/</webaddress>", "<zipdownload>True</zipdownload>",
                              "<originaldownloads>True</originaldownloads>"})
    EXPECT_NE(copy.find(setting), std::string::npos) << setting;
  const std::set<std::string> files = FilesIn(home.File("modern"));
  EXPECT_TRUE(files.contains("photos.zip"));
  EXPECT_EQ(std::count_if(files.begin(), files.end(),
                          [](const std::string& name) { return name.ends_with("-original.jpg"); }),
            1);
  EXPECT_NE(
      ReadFile(home.File("modern/index.html")).find("<meta property=\"og:image\" content=\"https://example.org/trip/"),
      std::string::npos)
      << "link previews get absolute addresses";
  EXPECT_EQ(ReadFile(home.File("modern/index.html")).substr(0, 16), "<!DOCTYPE html>\r");
  EXPECT_TRUE(test::BrokenLinks(home.File("modern")).empty());

  ASSERT_EQ(home.Run({"generate", "modern/UntitledAlbum.alb", "--output", "classic", "--style", "classic"}).status, 0);
  EXPECT_EQ(ReadFile(home.File("classic/index.html")).substr(0, 21), "<!DOCTYPE html PUBLIC") << "XHTML 1.0 Strict";
  EXPECT_EQ(ReadFile(home.File("classic/UntitledAlbum.alb")).find("<pagestyle>"), std::string::npos);
  EXPECT_NE(ReadFile(home.File("classic/UntitledAlbum.alb")).find("<webaddress>https://example.org/trip/</webaddress>"),
            std::string::npos)
      << "read back from the album file";
}

TEST(CliGenerate, ReadsTheStylesheetFileAsTheApplicationDoes) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  home.Write("bom.css", "\xEF\xBB\xBF/* caf\xE9 */\n");
  const TResult written = home.Run({"generate", "album.alb", "--output", "out", "--stylesheet", "bom.css"});
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(ReadFile(home.File("out/main.css")), "/* caf\xC3\xA9 */\r\n")
      << "no byte-order mark, Windows-1252 as UTF-8";

  std::filesystem::create_directory(home.File("styles"));
  const TResult refused = home.Run({"generate", "album.alb", "--output", "folder", "--stylesheet", "styles"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "folivant-cli: Cannot read \"styles\": it is a folder, not a file\n");
  EXPECT_FALSE(std::filesystem::exists(home.File("folder")));
}

TEST(CliCreate, MakesAnAlbumOfTheFolderInTheOrderAsked) {
  struct Row {
    const char* why;
    std::vector<std::string> options;
    std::vector<std::string> titles;
  };
  const Row rows[] = {
      {"as found: .jpg files in byte order, then .jpeg files", {}, {"Castle", "Bridge", "", "Abbey"}},
      {"by date taken", {"--sort", "date"}, {"Abbey", "Bridge", "Castle", ""}},
      {"by file name", {"--sort", "filename"}, {"Castle", "Bridge", "Abbey", ""}},
  };
  TCliHome home;
  home.WritePhotos("photos", kPictures);
  home.WritePhotos("photos/sub", {{"deeper.jpg", 0, 40, 30, {}}});
  home.Write("photos/notes.png", "");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    std::vector<std::string> arguments = {"create", "album.alb", "--from-folder", "photos", "--force"};
    arguments.insert(arguments.end(), row.options.begin(), row.options.end());
    const TResult result = home.Run(arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(home.File("album.alb"));
    std::vector<std::string> titles;
    for (int i = 0; i < album->Photographs.Count(); ++i) titles.push_back(album->Photographs[i].Title);
    EXPECT_EQ(titles, row.titles);
    EXPECT_EQ(album->Photographs[0].FileName.front(), '/') << "photographs are stored with absolute paths";
  }
}

TEST(CliCreate, FileNamesThatAreNotUtf8KeepTheirBytesUpToTheImages) {
  TCliHome home;
  home.WritePhotos("photos", {{"caf\xE9.jpg", 0, 120, 80, {}}});
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos"}).status, 0);
  const TResult result = home.Run({"generate", "album.alb", "--output", "out"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Photographs:  1\n"), std::string::npos) << "none without images: " << result.out;

  const std::string photo = home.File("photos/caf\xE9.jpg");
  for (const char* album_file : {"album.alb", "out/UntitledAlbum.alb"}) {
    SCOPED_TRACE(album_file);
    const std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(home.File(album_file));
    ASSERT_EQ(album->Photographs.Count(), 1);
    EXPECT_EQ(album->Photographs[0].FileName, photo);
    EXPECT_FALSE(album->HasMissing);
  }
  EXPECT_TRUE(test::DecodedJpegSize(home.File("out/caf.jpg")));
  EXPECT_TRUE(test::DecodedJpegSize(home.File("out/caf_small.jpg")));
  EXPECT_TRUE(IsValidUtf8(ReadFile(home.File("out/caf.html"))));
  EXPECT_NE(ReadFile(home.File("out/caf.html")).find("<title>caf\xEF\xBF\xBD.jpg</title>"), std::string::npos);
}

// Photographs as phones, photo managers and cameras deliver them, made into an
// album and generated: upright, titled from XMP, hostile texts as text, a wide
// gamut photograph in sRGB and an sRGB one untouched.
TEST(CliCreate, PhotographsComeUprightTitledAndTrueInColour) {
  TCliHome home;
  const std::string caption = "Nice <img src=x onerror=alert(1)> <b>bold</b> & fine";
  home.WritePhotos("photos", {{"phone1.jpg", 0, 120, 80, {"", "Phone 1", ""}},
                              {"phone3.jpg", 1, 120, 80, {"", "Phone 3", ""}},
                              {"phone6.jpg", 2, 120, 80, {"", "Phone 6", ""}},
                              {"phone8.jpg", 3, 120, 80, {"", "Phone 8", ""}},
                              {"managed.jpg", 4, 120, 80, {}},
                              {"wide.jpg", 5, 120, 80, {"", "Wide", caption}},
                              {"srgb.jpg", 5, 120, 80, {"", "Srgb", caption}},
                              {"plain.jpg", 5, 120, 80, {"", "Plain", caption}}});
  for (const char* orientation : {"1", "3", "6", "8"})
    ASSERT_NO_FATAL_FAILURE(test::TagWithExiftool(home.File("photos/phone" + std::string(orientation) + ".jpg"),
                                                  {std::string("-IFD0:Orientation#=") + orientation}));
  ASSERT_NO_FATAL_FAILURE(test::TagWithExiftool(home.File("photos/managed.jpg"),
                                                {"-XMP-dc:Title=Harbour", "-XMP-dc:Description=" + caption}));
  ASSERT_NO_FATAL_FAILURE(test::TagWithExiftool(home.File("photos/wide.jpg"),
                                                {"-ICC_Profile<=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc"}));
  ASSERT_NO_FATAL_FAILURE(
      test::TagWithExiftool(home.File("photos/srgb.jpg"), {"-ICC_Profile<=/usr/share/color/icc/sRGB.icc"}));
  ASSERT_EQ(home.Run({"create", "album.alb", "--from-folder", "photos", "--sort", "filename"}).status, 0);

  const std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(home.File("album.alb"));
  ASSERT_EQ(album->Photographs.Count(), 8);
  const std::string safe_caption = "Nice &lt;img src=x onerror=alert(1)&gt; <b>bold</b> &amp; fine";
  struct Expected {
    std::string title;
    TRotation rotation;
    std::string caption;
  };
  const Expected expected[] = {{"Harbour", TRotation::None, safe_caption}, {"Phone 1", TRotation::None, ""},
                               {"Phone 3", TRotation::UpsideDown, ""},     {"Phone 6", TRotation::Right, ""},
                               {"Phone 8", TRotation::Left, ""},           {"Plain", TRotation::None, safe_caption},
                               {"Srgb", TRotation::None, safe_caption},    {"Wide", TRotation::None, safe_caption}};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(album->Photographs[i].Title, expected[i].title);
    EXPECT_EQ(album->Photographs[i].Rotation, expected[i].rotation);
    EXPECT_EQ(album->Photographs[i].Caption, expected[i].caption);
  }

  const TResult result = home.Run({"generate", "album.alb", "--output", "out"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::DecodedJpegSize(home.File("out/phone6.jpg")), std::make_pair(640, 960));
  EXPECT_EQ(test::DecodedJpegSize(home.File("out/phone8_small.jpg")), std::make_pair(50, 75));
  EXPECT_EQ(test::DecodedJpegSize(home.File("out/phone3.jpg")), std::make_pair(640, 426));
  const std::string page = ReadFile(home.File("out/harbour.html"));
  EXPECT_NE(page.find("<h1 class=\"title\">Harbour</h1>"), std::string::npos);
  EXPECT_NE(page.find("<p class=\"caption\">" + safe_caption + "</p>"), std::string::npos);
  EXPECT_EQ(page.find("<img src=x"), std::string::npos);
  EXPECT_EQ(ReadFile(home.File("out/srgb.jpg")), ReadFile(home.File("out/plain.jpg")));
  EXPECT_NE(LoadPicture(home.File("out/wide.jpg")).Pixels, LoadPicture(home.File("out/plain.jpg")).Pixels);
}

TEST(CliCreate, RefusesWhatItCannotDo) {
  TCliHome home;
  home.WritePhotos("photos", {kPictures[0]});
  std::filesystem::create_directory(home.File("empty"));
  home.Write("taken.alb", "mine");
  const TFailure rows[] = {
      {"an existing album file",
       {"create", "taken.alb", "--from-folder", "photos"},
       "The album file \"taken.alb\" already exists. Use --force to replace it."},
      {"a folder without photographs",
       {"create", "new.alb", "--from-folder", "empty"},
       "Couldn't find any JPEG photos in empty."},
      {"a folder that is not there",
       {"create", "new.alb", "--from-folder", "nowhere"},
       "Couldn't find the folder \"nowhere\"."},
  };
  for (const TFailure& row : rows) {
    SCOPED_TRACE(row.why);
    const TResult result = home.Run(row.arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "folivant-cli: " + row.message + "\n");
  }
  EXPECT_EQ(ReadFile(home.File("taken.alb")), "mine");
  EXPECT_FALSE(std::filesystem::exists(home.File("new.alb")));
}

TEST(Cli, UsageErrorsExitWithTwoAndTheUsage) {
  struct Row {
    const char* why;
    std::vector<std::string> arguments;
    const char* complaint;
  };
  const Row rows[] = {
      {"nothing at all", {}, "no command given"},
      {"an unknown command", {"publish", "a.alb"}, "unknown command \"publish\""},
      {"no album", {"generate"}, "no album file given"},
      {"an option of the other command", {"generate", "a.alb", "--title", "x"}, "unknown option \"--title\""},
      {"jobs not a number",
       {"generate", "a.alb", "--jobs", "two"},
       "--jobs needs a whole number from 1 to 256, not \"two\""},
      {"jobs zero", {"generate", "a.alb", "--jobs=0"}, "--jobs needs a whole number from 1 to 256, not \"0\""},
      {"an option without its value", {"generate", "a.alb", "--output"}, "--output needs a value"},
      {"an empty output folder",
       {"generate", "a.alb", "--output", ""},
       "--output needs a file or folder name, not \"\""},
      {"an output folder of blanks",
       {"generate", "a.alb", "--output=  "},
       "--output needs a file or folder name, not \"  \""},
      {"an empty stylesheet file",
       {"generate", "a.alb", "--stylesheet", ""},
       "--stylesheet needs a file or folder name, not \"\""},
      {"create without a folder", {"create", "a.alb"}, "create needs --from-folder DIR"},
      {"an unknown sort",
       {"create", "a.alb", "--from-folder", "x", "--sort", "size"},
       "--sort takes title, date or filename, not \"size\""},
      {"two albums", {"generate", "a.alb", "b.alb"}, "unexpected \"b.alb\""},
      {"an unknown style",
       {"generate", "a.alb", "--style", "Modern"},
       "--style takes classic or modern, not \"Modern\""},
      {"exif with a value", {"generate", "a.alb", "--exif=yes"}, "--exif takes no value"},
      {"no album copy with a value", {"generate", "a.alb", "--no-album-copy=1"}, "--no-album-copy takes no value"},
      {"a web address that is none",
       {"generate", "a.alb", "--base-url", "example.org"},
       "--base-url needs an address that begins with http:// or https://, not \"example.org\""},
  };
  TCliHome home;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const TResult result = home.Run(row.arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1), "folivant-cli: " + std::string(row.complaint) + "\n");
    EXPECT_NE(result.err.find("Usage: folivant-cli generate ALBUM.alb"), std::string::npos);
  }
}

TEST(Cli, HelpDocumentsEveryOption) {
  TCliHome home;
  const TResult result = home.Run({"--help"});
  EXPECT_EQ(result.status, 0);
  for (const char* option :
       {"generate", "create", "--output", "--jobs", "--force", "--full", "--prune", "--stylesheet", "--from-folder",
        "--title", "--sort", "title, date", "--style", "--exif", "--no-album-copy", "Exit status"})
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace folivant
