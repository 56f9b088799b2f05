#include "model/albumfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "model/albumclasses.h"
#include "platform/error.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::ReadFile;
using test::TTempDir;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr char kNewerVersion[] = "Can't open this album. It may have been saved in a newer version.";

// A complete, valid album file; tests replace one piece of it.
const std::string kValidFile =
    "<folivant version=\"1.8\">\r\n"
    "  <title>Holiday</title>\r\n"
    "  <settings>\r\n"
    "    <photosize width=\"640\" height=\"480\">medium</photosize>\r\n"
    "    <navigateinloop>False</navigateinloop>\r\n"
    "  </settings>\r\n"
    "  <layout>\r\n"
    "    <thumbnailrows>5</thumbnailrows>\r\n"
    "  </layout>\r\n"
    "  <photographs>\r\n"
    "    <photo>\r\n"
    "      <filename>/nowhere/a.jpg</filename>\r\n"
    "      <rotation>left</rotation>\r\n"
    "    </photo>\r\n"
    "  </photographs>\r\n"
    "</folivant>\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at == std::string::npos) throw std::logic_error("fixture lacks " + from);
  return text.replace(at, from.size(), to);
}

// Loads `bytes` through a file, as the program does.
TAlbum& Load(TAlbum& album, const TTempDir& dir, const std::string& bytes) {
  album.FileName = dir.Write("album.alb", bytes);
  album.LoadFromFile();
  return album;
}

std::string Utf16(const std::string& ascii, bool big_endian) {
  std::string out;
  for (char c : ascii) out += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

TEST(AlbumFileWriter, WritesNewAlbumWithOnePhotographByteForByte) {
  TTempDir dir;
  TAlbum album;
  album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName("/photos/beach.jpg");
  album.FileName = dir.File("new.alb");
  album.MarkModified();
  album.SaveToFile();

  EXPECT_TRUE(album.Saved);
  EXPECT_EQ(ReadFile(album.FileName),
            "<folivant version=\"1.8\">\r\n"
            "  <title>Untitled Album</title>\r\n"
            "  <description>Various photographs that I'd like to share on the Web.</description>\r\n"
            "  <settings>\r\n"
            "    <photosize width=\"640\" height=\"480\">medium</photosize>\r\n"
            "    <thumbsize width=\"100\" height=\"75\">medium</thumbsize>\r\n"
            "    <outputdirectory></outputdirectory>\r\n"
            "    <navigateinloop>False</navigateinloop>\r\n"
            "  </settings>\r\n"
            "  <layout>\r\n"
            "    <colourscheme>Default</colourscheme>\r\n"
            "    <pagecolor>16777215</pagecolor>\r\n"
            "    <textcolor>0</textcolor>\r\n"
            "    <linkcolor>16711680</linkcolor>\r\n"
            "    <hotlinkcolor>255</hotlinkcolor>\r\n"
            "    <thumbnailrows>5</thumbnailrows>\r\n"
            "    <thumbnailcols>4</thumbnailcols>\r\n"
            "    <navigationbelowphoto>False</navigationbelowphoto>\r\n"
            "  </layout>\r\n"
            "  <photographs>\r\n"
            "    <photo>\r\n"
            "      <filename>/photos/beach.jpg</filename>\r\n"
            "    </photo>\r\n"
            "  </photographs>\r\n"
            "</folivant>\r\n");
}

TEST(AlbumFileWriter, WritesConditionalElementsOnlyWhenTheyHoldSomething) {
  TAlbum album;
  album.Description.clear();
  album.Settings.HomeURL = "https://example.org/?a=1&b=2";
  TPhotograph& photo = album.Photographs.Add(std::make_unique<TPhotograph>());
  photo.Title = "Sun <set>";
  photo.Caption = "Tom & Jerry";
  photo.Rotation = TRotation::UpsideDown;
  const std::string text = AlbumFileText(album);

  EXPECT_THAT(text, Not(HasSubstr("<description>")));
  EXPECT_THAT(text, HasSubstr("\r\n    <homeurl>https://example.org/?a=1&amp;b=2</homeurl>\r\n"
                              "    <outputdirectory></outputdirectory>\r\n"));
  EXPECT_THAT(text, HasSubstr("    <photo>\r\n"
                              "      <title>Sun &lt;set&gt;</title>\r\n"
                              "      <caption>Tom &amp; Jerry</caption>\r\n"
                              "      <filename></filename>\r\n"
                              "      <rotation>upsidedown</rotation>\r\n"
                              "    </photo>\r\n"));
}

TEST(AlbumFileWriter, NeverWritesInvalidUtf8OrForbiddenControlCharacters) {
  TAlbum album;
  album.Title =
      "a\xFF"
      "b\x01"
      "c\td";
  EXPECT_THAT(AlbumFileText(album), HasSubstr("<title>a\xEF\xBF\xBD"
                                              "b\xEF\xBF\xBD"
                                              "c\td</title>"));
}

TEST(AlbumFile, RoundTripKeepsEverythingStored) {
  TTempDir dir;
  TAlbum saved;
  saved.Title = "";
  saved.Description = "a < b & c\r\nsecond line\nthird";
  TAlbumSettings& settings = saved.Settings;
  settings.SetPhotoSize(TPhotoSize::Custom);
  settings.PhotoWidth = 1200;
  settings.PhotoHeight = -5;
  settings.SetThumbSize(TPhotoSize::Large);
  settings.HomeURL = "https://example.org/";
  settings.NavigateInLoop = true;
  settings.NavigationBelowPhoto = true;
  settings.ThumbNavigationBar = false;
  settings.ThumbnailRows = 3;
  settings.ThumbnailCols = 7;
  settings.ColorScheme.Name = "Night";
  settings.ColorScheme.SetPageColor(0x102030);
  settings.ColorScheme.TextColor = 0xFFFFFF;
  settings.ColorScheme.LinkColor = 0x00FF00;
  settings.ColorScheme.HotLinkColor = 0xFF000005;  // a system colour of the Windows version
  const TRotation rotations[] = {TRotation::None, TRotation::Left, TRotation::Right, TRotation::UpsideDown};
  for (TRotation rotation : rotations) {
    TPhotograph& photo = saved.Photographs.Add(std::make_unique<TPhotograph>());
    photo.SetFileName(dir.File("photo" + RotationToText(rotation) + ".jpg"));
    photo.Title = "Title " + RotationToText(rotation);
    photo.Caption = "Caption\r\n<b>";
    photo.Rotation = rotation;
  }
  saved.FileName = dir.File("round.alb");
  saved.SaveToFile();

  TAlbum loaded;
  loaded.FileName = saved.FileName;
  EXPECT_TRUE(loaded.LoadFromFile()) << "the photographs' files do not exist";
  EXPECT_EQ(loaded.Title, "");
  EXPECT_EQ(loaded.Description, saved.Description);
  const TAlbumSettings& read = loaded.Settings;
  EXPECT_EQ(read.PhotoSize, TPhotoSize::Custom);
  EXPECT_EQ(read.PhotoWidth, 1200);
  EXPECT_EQ(read.PhotoHeight, -5);
  EXPECT_EQ(read.ThumbSize, TPhotoSize::Large);
  EXPECT_EQ(read.ThumbWidth, 120);
  EXPECT_EQ(read.ThumbHeight, 90);
  EXPECT_EQ(read.HomeURL, "https://example.org/");
  EXPECT_EQ(read.OutputDirectory, "");
  EXPECT_TRUE(read.NavigateInLoop);
  EXPECT_TRUE(read.NavigationBelowPhoto);
  EXPECT_TRUE(read.ThumbNavigationBar) << "not stored, so it comes back at its default";
  EXPECT_EQ(read.ThumbnailRows, 3);
  EXPECT_EQ(read.ThumbnailCols, 7);
  EXPECT_EQ(read.ColorScheme.Name, "Night");
  EXPECT_EQ(read.ColorScheme.PageColor(), 0x102030u);
  EXPECT_EQ(read.ColorScheme.BorderColor(), settings.ColorScheme.BorderColor());
  EXPECT_EQ(read.ColorScheme.TextColor, 0xFFFFFFu);
  EXPECT_EQ(read.ColorScheme.LinkColor, 0x00FF00u);
  EXPECT_EQ(read.ColorScheme.HotLinkColor, 0xFF000005u);
  ASSERT_EQ(loaded.Photographs.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(loaded.Photographs[i].FileName, saved.Photographs[i].FileName);
    EXPECT_EQ(loaded.Photographs[i].Title, saved.Photographs[i].Title);
    EXPECT_EQ(loaded.Photographs[i].Caption, "Caption\r\n<b>");
    EXPECT_EQ(loaded.Photographs[i].Rotation, rotations[i]);
    EXPECT_TRUE(loaded.Photographs[i].Missing());
  }
  EXPECT_EQ(AlbumFileText(loaded), AlbumFileText(saved)) << "a second save writes the same bytes";
}

TEST(AlbumFile, OutputDirectoryComesBackWithItsSeparator) {
  TTempDir dir;
  TAlbum album;
  album.Settings.SetOutputDirectory("/srv/www/album");
  album.FileName = dir.File("a.alb");
  album.SaveToFile();
  album.Settings.SetOutputDirectory("");
  album.LoadFromFile();
  EXPECT_EQ(album.Settings.OutputDirectory, "/srv/www/album/");
}

TEST(AlbumFileReader, RefusesWithTheUsersWords) {
  struct Row {
    const char* why;
    std::string file;
    std::string message;
  };
  const Row rows[] = {
      {"older version", Replaced(kValidFile, "\"1.8\"", "\"1.7\""), kNewerVersion},
      {"newer version", Replaced(kValidFile, "\"1.8\"", "\"2.0\""), kNewerVersion},
      {"no version", Replaced(kValidFile, " version=\"1.8\"", ""), kNewerVersion},
      {"size with a capital", Replaced(kValidFile, ">medium<", ">Medium<"), "Can't convert to photo size"},
      {"size missing", Replaced(kValidFile, ">medium<", "><"), "Can't convert to photo size"},
      {"no height", Replaced(kValidFile, " height=\"480\"", ""), "'' is not a valid integer value"},
      {"bad width", Replaced(kValidFile, "\"640\"", "\"64O\""), "'64O' is not a valid integer value"},
      {"bad integer", Replaced(kValidFile, ">5<", ">abc<"), "'abc' is not a valid integer value"},
      {"empty integer", Replaced(kValidFile, ">5<", "><"), "'' is not a valid integer value"},
      {"beyond 32 bits", Replaced(kValidFile, ">5<", ">2147483648<"), "'2147483648' is not a valid integer value"},
      {"far beyond 32 bits", Replaced(kValidFile, ">5<", ">4294967301<"), "'4294967301' is not a valid integer value"},
      {"empty boolean", Replaced(kValidFile, ">False<", "><"), "'' is not a valid boolean value"},
      {"word boolean", Replaced(kValidFile, ">False<", ">yes<"), "'yes' is not a valid boolean value"},
      {"rotation with a capital", Replaced(kValidFile, ">left<", ">Left<"), "Can't convert to rotation"},
      {"long value is quoted short", Replaced(kValidFile, ">5<", ">" + std::string(50, 'x') + "<"),
       "'" + std::string(40, 'x') + "' is not a valid integer value"},
      // Parser errors: the reason, the line and the first 40 characters of that line.
      {"empty file", "", "No document element found\nLine: 1\n"},
      {"plain text", "hello album", "No document element found\nLine: 1\nhello album"},
      {"broken tag on the third line, CR LF", "<a version=\"1.8\">\r\n<title>x</title>\r\n<b <c/>\r\n</a>",
       "Error parsing start element tag\nLine: 3\n<b <c/>"},
      {"LF and CR line ends", "<a version=\"1.8\">\n<title>x</title>\r<b <c/>\n</a>",
       "Error parsing start element tag\nLine: 3\n<b <c/>"},
      {"mismatched end tag", "<a>\r\n  <title>x</b>\r\n</a>", "Start-end tags mismatch\nLine: 2\n  <title>x</b>"},
      {"only 40 characters of the line", "<a>" + std::string(60, 'y') + "</b>",
       "Start-end tags mismatch\nLine: 1\n<a>" + std::string(37, 'y')},
      {"UTF-16 counts lines of the decoded text", "\xFF\xFE" + Utf16("<a>\r\n<b <c/>\r\n</a>", false),
       "Error parsing start element tag\nLine: 2\n<b <c/>"},
  };
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    EXPECT_THROW_MSG(Load(album, dir, row.file), row.message);
  }
}

TEST(AlbumFileReader, AcceptsAnyWellFormedEncodingAndRootName) {
  struct Row {
    const char* why;
    std::string file;
    const char* title;
  };
  const std::string utf8 = "<album version=\"1.8\"><title>Caf\xC3\xA9</title></album>";
  const std::string ascii = "<album version=\"1.8\"><title>Cafe</title></album>";
  const std::string declared = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n" + ascii;
  const Row rows[] = {
      {"UTF-8, no declaration, another root name", utf8, "Caf\xC3\xA9"},
      {"UTF-8 with byte-order mark and declaration", "\xEF\xBB\xBF<?xml version=\"1.0\"?>" + utf8, "Caf\xC3\xA9"},
      {"Windows-1252 bytes", "<album version=\"1.8\"><title>Caf\xE9</title></album>", "Caf\xC3\xA9"},
      {"UTF-16 little-endian with byte-order mark", "\xFF\xFE" + Utf16(declared, false), "Cafe"},
      {"UTF-16 big-endian with byte-order mark", "\xFE\xFF" + Utf16(declared, true), "Cafe"},
      {"UTF-16 little-endian without byte-order mark", Utf16(declared, false), "Cafe"},
      {"UTF-16 big-endian without byte-order mark", Utf16(ascii, true), "Cafe"},
      {"UTF-16 with a character beyond ASCII",
       "\xFF\xFE" + Replaced(Utf16(ascii, false), Utf16("e<", false), Utf16("\xE9<", false)), "Caf\xC3\xA9"},
  };
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    EXPECT_EQ(Load(album, dir, row.file).Title, row.title);
  }
}

TEST(AlbumFileReader, ReadsOnlyPhotoElementsOfPhotographs) {
  TTempDir dir;
  TAlbum album;
  Load(album, dir,
       "<folivant version=\"1.8\"><photographs>\n"
       "  <!-- a comment -->\n"
       "  <photo><filename>C:\\Photos\\a.jpg</filename></photo>\n"
       "  <picture><filename>b.jpg</filename></picture>\n"
       "  text between\n"
       "  <photo><title>No file</title></photo>\n"
       "</photographs></folivant>");
  ASSERT_EQ(album.Photographs.Count(), 2);
  EXPECT_TRUE(album.HasMissing);
  EXPECT_EQ(album.Photographs[0].DisplayTitle(), "[?] a.jpg") << "Windows paths show their file name";
  EXPECT_EQ(album.Photographs[1].FileName, "");
  EXPECT_FALSE(album.Photographs[1].Missing()) << "no file name is not a missing file";
  EXPECT_EQ(album.Photographs[1].Title, "No file");
}

TEST(AlbumFileReader, ReadsBooleansAndNumbersLeniently) {
  struct Row {
    const char* why;
    const char* text;
    bool value;
  };
  const Row rows[] = {{"upper case", "TRUE", true},
                      {"lower case", "false", false},
                      {"zero", "0", false},
                      {"any other number", "-3", true},
                      {"surrounding blanks", " True\n", true}};
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    TAlbum album;
    Load(album, dir, Replaced(kValidFile, ">False<", std::string(">") + row.text + "<"));
    EXPECT_EQ(album.Settings.NavigateInLoop, row.value);
  }
  TAlbum album;
  Load(album, dir, Replaced(kValidFile, ">5<", ">-2147483648<"));
  EXPECT_EQ(album.Settings.ThumbnailRows, INT32_MIN);
}

TEST(AlbumFile, LoadReplacesTheWholeAlbum) {
  TTempDir dir;
  TAlbum album;
  album.Photographs.Add(std::make_unique<TPhotograph>());
  album.Settings.ThumbnailRows = 9;
  album.MarkModified();
  Load(album, dir, "<folivant version=\"1.8\"/>");
  EXPECT_FALSE(album.HasMissing);
  EXPECT_EQ(album.Title, "") << "not the creation default";
  EXPECT_EQ(album.Description, "");
  EXPECT_EQ(album.Settings.ThumbnailRows, 5);
  EXPECT_TRUE(album.Photographs.Empty());
  EXPECT_TRUE(album.Saved);
}

TEST(AlbumFile, FailedLoadKeepsWhatWasReadAndTheFileName) {
  TTempDir dir;
  TAlbum album;
  const std::string broken = Replaced(kValidFile, ">medium<", ">huge<");
  EXPECT_THROW_MSG(Load(album, dir, broken), "Can't convert to photo size");
  EXPECT_EQ(album.Title, "Holiday");
  EXPECT_EQ(album.FileName, dir.File("album.alb")) << "the caller clears it";

  album.FileName = dir.File("absent.alb");
  EXPECT_THROW_MSG(album.LoadFromFile(), "Cannot open file \"" + album.FileName + "\". No such file or directory");
}

TEST(AlbumFileReader, EveryTruncationFailsCleanly) {
  TAlbum source;
  source.Photographs.Add(std::make_unique<TPhotograph>()).Title = "T\xC3\xA9";
  const std::string full = AlbumFileText(source);
  const size_t root_end = full.rfind("</folivant>") + std::string("</folivant>").size();
  for (size_t length = 0; length < root_end; ++length) {
    SCOPED_TRACE(length);
    TAlbum album;
    EXPECT_THROW(ReadXmlAlbum(album, std::string_view(full).substr(0, length)), TError);
  }
  TAlbum album;
  ReadXmlAlbum(album, std::string_view(full).substr(0, root_end));
  EXPECT_EQ(album.Photographs[0].Title, "T\xC3\xA9");
}

// Saving twice, with the second save made to fail: the first file must survive.
void ExpectFailedSaveKeepsOldFile(TAlbum& album, const std::function<void()>& save, const std::string& message) {
  const std::string before = ReadFile(album.FileName);
  album.Title = "Changed";
  album.MarkModified();
  EXPECT_THROW_MSG(save(), message);
  EXPECT_FALSE(album.Saved);
  EXPECT_EQ(ReadFile(album.FileName), before);
}

TEST(AlbumFileWriter, FailedWriteKeepsTheEarlierFile) {
  TTempDir dir;
  TAlbum album;
  album.FileName = dir.File("kept.alb");
  album.SaveToFile();
  // A file size limit stops the write past 64 bytes, for root too.
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  const auto save_limited = [&] {
    const rlimit small{64, old_limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    try {
      album.SaveToFile();
    } catch (...) {
      setrlimit(RLIMIT_FSIZE, &old_limit);
      throw;
    }
    setrlimit(RLIMIT_FSIZE, &old_limit);
  };
  ExpectFailedSaveKeepsOldFile(album, save_limited, "Cannot write file \"" + album.FileName + "\". File too large");
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file is left";
}

TEST(AlbumFileWriter, SaveIntoReadOnlyFolderKeepsTheEarlierFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root; FailedWriteKeepsTheEarlierFile covers this";
  TTempDir dir;
  TAlbum album;
  album.FileName = dir.File("kept.alb");
  album.SaveToFile();
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  ExpectFailedSaveKeepsOldFile(
      album, [&] { album.SaveToFile(); }, "Cannot create file \"" + album.FileName + "\". Permission denied");
}

TEST(AlbumFileWriter, SaveBelowAFileFails) {
  TTempDir dir;
  TAlbum album;
  album.FileName = dir.Write("plain", "x") + "/album.alb";
  album.MarkModified();
  EXPECT_THROW_MSG(album.SaveToFile(), "Cannot create file \"" + album.FileName + "\". Not a directory");
  EXPECT_FALSE(album.Saved);
}

}  // namespace
}  // namespace folivant
