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
#include "platform/text.h"
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
std::unique_ptr<TAlbum> Load(const TTempDir& dir, const std::string& bytes) {
  return TAlbum::LoadFromFile(dir.Write("album.alb", bytes));
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
  EXPECT_THAT(text, Not(HasSubstr("<pagestyle>"))) << "the classic style is what a file without it means";
  EXPECT_THAT(text, Not(HasSubstr("<cameradata>")));
  EXPECT_THAT(text, Not(HasSubstr("<albumcopy>"))) << "a copy in the album folder is what a file without it means";

  album.Settings.PageStyle = TPageStyle::Modern;
  album.Settings.ShowCameraData = true;
  album.Settings.AlbumCopy = false;
  const std::string changed = AlbumFileText(album);
  EXPECT_THAT(changed, HasSubstr("    <navigationbelowphoto>False</navigationbelowphoto>\r\n"
                                 "    <pagestyle>modern</pagestyle>\r\n"
                                 "    <cameradata>True</cameradata>\r\n"
                                 "  </layout>\r\n"));
  EXPECT_THAT(changed, HasSubstr("    <navigateinloop>False</navigateinloop>\r\n"
                                 "    <albumcopy>False</albumcopy>\r\n"
                                 "  </settings>\r\n"));
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
  settings.PageStyle = TPageStyle::Modern;
  settings.ShowCameraData = true;
  settings.AlbumCopy = false;
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

  const std::unique_ptr<TAlbum> read_back = TAlbum::LoadFromFile(saved.FileName);
  const TAlbum& loaded = *read_back;
  EXPECT_TRUE(loaded.HasMissing) << "the photographs' files do not exist";
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
  EXPECT_EQ(read.PageStyle, TPageStyle::Modern);
  EXPECT_FALSE(read.AlbumCopy);
  EXPECT_TRUE(read.ShowCameraData);
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
  EXPECT_EQ(TAlbum::LoadFromFile(album.FileName)->Settings.OutputDirectory, "/srv/www/album/");
}

TEST(AlbumFileReader, RefusesWithTheUsersWords) {
  struct Row {
    const char* why;
    std::string file;
    std::string message;  // after the file's name; empty for the program's own version message
  };
  const std::string integer = "; it must be a whole number from -2147483648 to 2147483647.";
  const Row rows[] = {
      {"older version", Replaced(kValidFile, "\"1.8\"", "\"1.7\""), ""},
      {"newer version", Replaced(kValidFile, "\"1.8\"", "\"2.0\""), ""},
      {"no version", Replaced(kValidFile, " version=\"1.8\"", ""), ""},
      {"size with a capital", Replaced(kValidFile, ">medium<", ">Medium<"),
       "line 4: \"photosize\" holds \"Medium\"; it must be small, medium, large, original or custom."},
      {"size missing", Replaced(kValidFile, ">medium<", "><"),
       "line 4: \"photosize\" is empty; it must be small, medium, large, original or custom."},
      {"no height", Replaced(kValidFile, " height=\"480\"", ""), "line 4: \"photosize\" has no \"height\" attribute."},
      {"bad width", Replaced(kValidFile, "\"640\"", "\"64O\""),
       "line 4: the \"width\" attribute of \"photosize\" holds \"64O\"" + integer},
      {"empty width", Replaced(kValidFile, "\"640\"", "\"\""),
       "line 4: the \"width\" attribute of \"photosize\" is empty" + integer},
      {"bad integer", Replaced(kValidFile, ">5<", ">abc<"), "line 8: \"thumbnailrows\" holds \"abc\"" + integer},
      {"empty integer", Replaced(kValidFile, ">5<", "><"), "line 8: \"thumbnailrows\" is empty" + integer},
      {"beyond 32 bits", Replaced(kValidFile, ">5<", ">2147483648<"),
       "line 8: \"thumbnailrows\" holds \"2147483648\"" + integer},
      {"far beyond 32 bits", Replaced(kValidFile, ">5<", ">4294967301<"),
       "line 8: \"thumbnailrows\" holds \"4294967301\"" + integer},
      {"empty boolean", Replaced(kValidFile, ">False<", "><"),
       "line 5: \"navigateinloop\" is empty; it must be True, False or a whole number."},
      {"word boolean", Replaced(kValidFile, ">False<", ">yes<"),
       "line 5: \"navigateinloop\" holds \"yes\"; it must be True, False or a whole number."},
      {"rotation with a capital", Replaced(kValidFile, ">left<", ">Left<"),
       "line 13: \"rotation\" holds \"Left\"; it must be none, left, right or upsidedown."},
      {"long value is quoted short", Replaced(kValidFile, ">5<", ">" + std::string(50, 'x') + "<"),
       "line 8: \"thumbnailrows\" holds \"" + std::string(40, 'x') + "...\"" + integer},
      {"controls and stray bytes are not quoted raw", Replaced(kValidFile, ">5<", ">1\n\x1B\xFF<"),
       "line 8: \"thumbnailrows\" holds \"1\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xBF\"" + integer},
      {"unknown page style", Replaced(kValidFile, "</layout>", "  <pagestyle>Modern</pagestyle>\r\n  </layout>"),
       "line 9: \"pagestyle\" holds \"Modern\"; it must be classic or modern."},
      {"damaged exact path", Replaced(kValidFile, "<filename>", "<filename bytes=\"caf%E\">"),
       "line 12: the \"bytes\" attribute of \"filename\" holds \"caf%E\"; it must be a path with each \"%\" "
       "followed by two hexadecimal digits."},
      {"empty file", "", "the file is empty."},
      {"plain text", "hello album", "the file holds no XML element, so it is not an album file."},
      {"binary garbage", "\x89PNG\r\n\x1A\n\x01\xFF<\x02 ", "line 3: the file is damaged here: a tag is malformed."},
      {"broken tag on the third line, CR LF", "<a version=\"1.8\">\r\n<title>x</title>\r\n<b <c/>\r\n</a>",
       "line 3: the file is damaged here: a start tag is malformed."},
      {"LF and CR line ends", "<a version=\"1.8\">\n<title>x</title>\r<b <c/>\n</a>",
       "line 3: the file is damaged here: a start tag is malformed."},
      {"mismatched end tag", "<a>\r\n  <title>x</b>\r\n</a>",
       "line 2: the file is damaged here: an end tag does not match its start tag."},
      {"cut short", "<folivant version=\"1.8\">\r\n  <title>Half",
       "line 2: the file ends before the album does; it may have been cut short."},
      {"UTF-16 counts lines of the decoded text", "\xFF\xFE" + Utf16("<a>\r\n<b <c/>\r\n</a>", false),
       "line 2: the file is damaged here: a start tag is malformed."},
  };
  TTempDir dir;
  const std::string opening = "Can't open the album \"" + dir.File("album.alb") + "\": ";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_THROW_MSG(Load(dir, row.file), row.message.empty() ? kNewerVersion : opening + row.message);
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
    EXPECT_EQ(Load(dir, row.file)->Title, row.title);
  }
}

TEST(AlbumFileReader, ReadsOnlyPhotoElementsOfPhotographs) {
  TTempDir dir;
  const std::unique_ptr<TAlbum> album = Load(dir,
                                             "<folivant version=\"1.8\"><photographs>\n"
                                             "  <!-- a comment -->\n"
                                             "  <photo><filename>C:\\Photos\\a.jpg</filename></photo>\n"
                                             "  <picture><filename>b.jpg</filename></picture>\n"
                                             "  text between\n"
                                             "  <photo><title>No file</title></photo>\n"
                                             "</photographs></folivant>");
  ASSERT_EQ(album->Photographs.Count(), 2);
  EXPECT_TRUE(album->HasMissing);
  EXPECT_EQ(album->Photographs[0].DisplayTitle(), "[?] a.jpg") << "Windows paths show their file name";
  EXPECT_EQ(album->Photographs[1].FileName, "");
  EXPECT_FALSE(album->Photographs[1].Missing()) << "no file name is not a missing file";
  EXPECT_EQ(album->Photographs[1].Title, "No file");
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
    EXPECT_EQ(Load(dir, Replaced(kValidFile, ">False<", std::string(">") + row.text + "<"))->Settings.NavigateInLoop,
              row.value);
  }
  EXPECT_EQ(Load(dir, Replaced(kValidFile, ">5<", ">-2147483648<"))->Settings.ThumbnailRows, INT32_MIN);
}

TEST(AlbumFile, LoadGivesASavedAlbumOfWhatTheFileHolds) {
  TTempDir dir;
  const std::unique_ptr<TAlbum> album = Load(dir, "<folivant version=\"1.8\"/>");
  EXPECT_FALSE(album->HasMissing);
  EXPECT_EQ(album->Title, "") << "not the creation default";
  EXPECT_EQ(album->Description, "");
  EXPECT_EQ(album->Settings.ThumbnailRows, 5);
  EXPECT_TRUE(album->Photographs.Empty());
  EXPECT_TRUE(album->Saved);
  EXPECT_EQ(album->FileName, dir.File("album.alb"));
}

TEST(AlbumFile, FailedLoadChangesNothing) {
  TTempDir dir;
  std::unique_ptr<TAlbum> open = Load(dir, kValidFile);
  open->Title = "Edited";
  open->MarkModified();
  const std::string open_text = AlbumFileText(*open);
  const std::string broken = Replaced(kValidFile, ">medium<", ">huge<");
  const std::string broken_path = dir.Write("broken.alb", broken);

  EXPECT_THROW(TAlbum::LoadFromFile(broken_path), TError);
  EXPECT_EQ(ReadFile(broken_path), broken);
  EXPECT_EQ(AlbumFileText(*open), open_text);
  EXPECT_EQ(open->FileName, dir.File("album.alb"));
  EXPECT_FALSE(open->Saved);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2) << "nothing else was written";

  const std::string absent = dir.File("absent.alb");
  EXPECT_THROW_MSG(TAlbum::LoadFromFile(absent), "Cannot open file \"" + absent + "\". No such file or directory");
}

TEST(AlbumFilePaths, PercentEncodingKeepsEveryByte) {
  struct Row {
    const char* why;
    std::string path;
    const char* encoded;
  };
  const Row rows[] = {
      {"plain ASCII stays readable", "/photos/Beach 1_(a).jpg", "/photos/Beach 1_(a).jpg"},
      {"Latin-1 byte", "/p/caf\xE9.jpg", "/p/caf%E9.jpg"},
      {"UTF-8 beside it", "/\xC3\xA9t\xE9/x.jpg", "/%C3%A9t%E9/x.jpg"},
      {"percent and XML's characters", "a%b&c<d>e\"f", "a%25b%26c%3Cd%3Ee%22f"},
      {"controls and DEL", "a\x01\t\r\n\x7F", "a%01%09%0D%0A%7F"},
      {"NUL, which an older file's path can hold", std::string("a\0b", 3), "a%00b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    EXPECT_EQ(PercentEncodedPath(row.path), row.encoded);
    EXPECT_EQ(PercentDecodedPath(row.encoded), row.path);
  }
  EXPECT_EQ(PercentDecodedPath("caf%e9"), "caf\xE9") << "lower-case digits";
  for (const char* damaged : {"%", "a%4", "%G1", "%%"}) {
    SCOPED_TRACE(damaged);
    EXPECT_EQ(PercentDecodedPath(damaged), std::nullopt);
  }
}

TEST(AlbumFilePaths, PathsThatAreNotXmlTextKeepTheirExactBytes) {
  TTempDir dir;
  const std::string latin1 = dir.Write("caf\xE9.jpg", "");
  TAlbum album;
  album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(latin1);
  album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName("/p/bell\x07.jpg");
  album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName("/p/caf\xC3\xA9.jpg");
  album.Settings.SetOutputDirectory("/srv/\xE9t\xE9");
  album.FileName = dir.File("exact.alb");
  album.SaveToFile();

  const std::string text = ReadFile(album.FileName);
  const std::string shown_latin1 = ReplaceAll(latin1, "\xE9", "\xEF\xBF\xBD");
  EXPECT_THAT(
      text, HasSubstr("<filename bytes=\"" + ReplaceAll(latin1, "\xE9", "%E9") + "\">" + shown_latin1 + "</filename>"));
  EXPECT_THAT(text, HasSubstr("<filename bytes=\"/p/bell%07.jpg\">/p/bell\xEF\xBF\xBD.jpg</filename>"));
  EXPECT_THAT(text, HasSubstr("<filename>/p/caf\xC3\xA9.jpg</filename>")) << "UTF-8 is written as before";
  EXPECT_THAT(text,
              HasSubstr("<outputdirectory bytes=\"/srv/%E9t%E9/\">/srv/\xEF\xBF\xBDt\xEF\xBF\xBD/</outputdirectory>"));

  const std::unique_ptr<TAlbum> loaded = TAlbum::LoadFromFile(album.FileName);
  ASSERT_EQ(loaded->Photographs.Count(), 3);
  EXPECT_EQ(loaded->Photographs[0].FileName, latin1);
  EXPECT_FALSE(loaded->Photographs[0].Missing());
  EXPECT_EQ(loaded->Photographs[0].DisplayTitle(), "caf\xEF\xBF\xBD.jpg") << "shown as valid UTF-8";
  EXPECT_EQ(loaded->Photographs[1].FileName, "/p/bell\x07.jpg");
  EXPECT_EQ(loaded->Settings.OutputDirectory, "/srv/\xE9t\xE9/");
  EXPECT_EQ(AlbumFileText(*loaded), text);
}

TEST(AlbumFilePaths, RelativePathsBelongToTheAlbumFilesFolder) {
  struct Row {
    const char* why;
    std::string stored;
    std::string read;  // "@" stands for the album's folder
  };
  const Row rows[] = {
      {"in the album's folder", "a.jpg", "@/a.jpg"},
      {"below it", "photos/b.jpg", "@/photos/b.jpg"},
      {"beside it", "../c.jpg", "@/../c.jpg"},
      {"absolute", "/nowhere/d.jpg", "/nowhere/d.jpg"},
      {"Windows drive", "C:\\Photos\\e.jpg", "C:\\Photos\\e.jpg"},
      {"Windows share", "\\\\server\\f.jpg", "\\\\server\\f.jpg"},
  };
  TTempDir dir;
  std::filesystem::create_directory(dir.File("photos"));
  dir.Write("photos/b.jpg", "");
  const std::string folder = dir.Path() + "/album";
  std::filesystem::create_directory(folder);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const std::string read = ReplaceAll(row.read, "@", folder);
    const std::string xml = Replaced(kValidFile, "/nowhere/a.jpg", row.stored);
    const std::string legacy = "[Photographs]\nCount=1\nPhoto0=" + row.stored + "\n";
    for (const std::string& file : {xml, legacy}) {
      const std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(dir.Write("album/a.alb", file));
      ASSERT_EQ(album->Photographs.Count(), 1);
      EXPECT_EQ(album->Photographs[0].FileName, read);
      EXPECT_THAT(AlbumFileText(*album), HasSubstr("<filename>" + read + "</filename>")) << "saved as read";
    }
  }
  const std::string moved = Replaced(kValidFile, "/nowhere/a.jpg", "../photos/b.jpg");
  EXPECT_FALSE(TAlbum::LoadFromFile(dir.Write("album/b.alb", moved))->HasMissing) << "found beside the album";
  EXPECT_EQ(TAlbum::LoadFromFile(dir.Write("album/c.alb", Replaced(kValidFile, "/nowhere/a.jpg", "")))
                ->Photographs[0]
                .FileName,
            "")
      << "no path stays no path";
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
