#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>

#include "albumfolder.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/ini.h"
#include "platform/settingsstore.h"
#include "testutil.h"

namespace folivant {
namespace {

using test::FilesIn;
using test::ReadFile;
using test::TTempDir;

struct stat Status(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// The special files a user may name by mistake, made inside `folder`; a device
// node only for root, a copy of /dev/null so that nothing outside is at stake.
struct TSpecialFile {
  const char* kind;
  std::string path;
};

std::vector<TSpecialFile> MakeSpecialFiles(const TTempDir& folder) {
  std::vector<TSpecialFile> files = {
      {"a folder", folder.File("folder")}, {"a named pipe", folder.File("pipe")}, {"a socket", folder.File("socket")}};
  std::filesystem::create_directory(files[0].path);
  EXPECT_EQ(::mkfifo(files[1].path.c_str(), 0644), 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, files[2].path.c_str(), sizeof address.sun_path - 1);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  EXPECT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(listener);
  if (::geteuid() == 0 && ::mknod(folder.File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    files.push_back({"a device", folder.File("null")});
  return files;
}

TEST(ReadFileBytes, RefusesWhatIsNoRegularFileWithoutWaiting) {
  TTempDir folder;
  std::vector<TSpecialFile> files = MakeSpecialFiles(folder);
  files.push_back({"a device", "/dev/zero"});
  for (const TSpecialFile& file : files) {
    SCOPED_TRACE(file.kind);
    EXPECT_THROW_MSG(ReadFileBytes(file.path, 1000),
                     "Cannot read \"" + file.path + "\": it is " + file.kind + ", not a file");
  }
  const std::string missing = folder.File("missing");
  EXPECT_THROW_MSG(ReadFileBytes(missing, 1000), "Cannot open file \"" + missing + "\". No such file or directory");
}

TEST(ReadFileBytes, ReadsNoMoreThanTheLimit) {
  TTempDir folder;
  const std::string exact = folder.Write("exact", std::string(1000, 'x'));
  EXPECT_EQ(ReadFileBytes(exact, 1000), std::string(1000, 'x'));
  const std::string sparse = folder.Write("sparse", "");
  std::filesystem::resize_file(sparse, (5ull << 30) + 1);
  EXPECT_THROW_MSG(ReadFileBytes(sparse, 64 << 20),
                   "Cannot read \"" + sparse +
                       "\": it is 5368709121 bytes long, more than the 64 MiB allowed for "
                       "this kind of file");
  // Files of /proc claim no size and then deliver text, as a file growing while it is read.
  EXPECT_THROW_MSG(ReadFileBytes("/proc/self/status", 100),
                   "Cannot read \"/proc/self/status\": it grew past the 100 bytes allowed for this kind of file "
                   "while it was read");
}

TEST(WriteFileAtomically, SymbolicLinksStayAndTheirTargetGetsTheBytes) {
  TTempDir folder;
  std::filesystem::create_directory(folder.File("albums"));
  const std::string real = folder.Write("albums/real.alb", "old");
  std::filesystem::create_symlink("albums/real.alb", folder.File("relative.alb"));
  std::filesystem::create_symlink(folder.File("relative.alb"), folder.File("chain.alb"));
  WriteFileAtomically(folder.File("chain.alb"), "new");
  EXPECT_EQ(ReadFile(real), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("chain.alb")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("relative.alb")));

  std::filesystem::create_symlink("albums/later.alb", folder.File("dangling.alb"));
  WriteFileAtomically(folder.File("dangling.alb"), "created");
  EXPECT_EQ(ReadFile(folder.File("albums/later.alb")), "created");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("dangling.alb")));
  EXPECT_EQ(FilesIn(folder.File("albums")), (std::set<std::string>{"later.alb", "real.alb"})) << "no temporary file";

  std::filesystem::create_symlink("loop.alb", folder.File("loop.alb"));
  EXPECT_THROW_MSG(WriteFileAtomically(folder.File("loop.alb"), "x"),
                   "Cannot create file \"" + folder.File("loop.alb") + "\". Too many levels of symbolic links");
}

TEST(WriteFileAtomically, ASaveRemovesOnlyTheTemporariesEarlierSavesOfTheFileLeft) {
  TTempDir folder;
  folder.Write("trip.alb", "old");
  const std::string left[] = {"trip.alb.tmp-a1B2c3", "trip.alb.tmp-zzzzzz"};
  const std::string kept[] = {"other.alb.tmp-a1B2c3", "trip.alb.tmp-abc", "trip.alb.tmp-a1B2c3d", "trip.alb.old"};
  for (const std::string& name : left) folder.Write(name, "half");
  for (const std::string& name : kept) folder.Write(name, "mine");
  test::WaitForFileClockTick();  // the save begins after the interrupted ones
  WriteFileAtomically(folder.File("trip.alb"), "new");
  EXPECT_EQ(ReadFile(folder.File("trip.alb")), "new");
  for (const std::string& name : left) EXPECT_FALSE(std::filesystem::exists(folder.File(name))) << name;
  for (const std::string& name : kept) EXPECT_EQ(ReadFile(folder.File(name)), "mine") << name;
}

TEST(WriteFileAtomically, KeepsModeAndOwnerAndGivesNewFilesTheUsualMode) {
  TTempDir folder;
  for (const mode_t mode : {0600, 0640, 0755, 0444}) {
    SCOPED_TRACE(mode);
    const std::string path = folder.Write("file", "old");
    ::chmod(path.c_str(), mode);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(Status(path).st_mode & 07777, mode);
    EXPECT_EQ(ReadFile(path), "new");
  }
  if (::geteuid() == 0) {  // only root may give a file away
    const std::string path = folder.Write("owned", "old");
    ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(Status(path).st_uid, 1234u);
    EXPECT_EQ(Status(path).st_gid, 5678u);
  }
  const mode_t mask = ::umask(027);
  WriteFileAtomically(folder.File("new"), "fresh");
  ::umask(mask);
  EXPECT_EQ(Status(folder.File("new")).st_mode & 07777, 0640u);
}

TEST(WriteFileAtomically, HardLinkedFileStaysOneFileUnderEveryName) {
  TTempDir folder;
  const std::string first = folder.Write("first.alb", "the old bytes, longer than the new");
  const std::string second = folder.File("second.alb");
  ASSERT_EQ(::link(first.c_str(), second.c_str()), 0);
  for (const std::string& bytes : {std::string("shorter"), std::string(100000, 'L')}) {
    WriteFileAtomically(second, bytes);
    EXPECT_EQ(Status(first).st_nlink, 2u);
    EXPECT_EQ(Status(first).st_ino, Status(second).st_ino);
    EXPECT_TRUE(ReadFile(first) == bytes && ReadFile(second) == bytes);
  }
  EXPECT_EQ(FilesIn(folder.Path()), (std::set<std::string>{"first.alb", "second.alb"})) << "no temporary file";
}

TEST(WriteFileAtomically, RefusesToReplaceWhatIsNoRegularFile) {
  TTempDir folder;
  std::vector<TSpecialFile> files = MakeSpecialFiles(folder);
  std::filesystem::create_symlink(folder.File("pipe"), folder.File("link"));
  files.push_back({"a named pipe", folder.File("link")});
  const std::set<std::string> before = FilesIn(folder.Path());
  for (const TSpecialFile& file : files) {
    SCOPED_TRACE(file.path);
    const mode_t type = Status(file.path).st_mode & S_IFMT;
    EXPECT_THROW_MSG(WriteFileAtomically(file.path, "bytes"),
                     "Cannot write \"" + file.path + "\": it is " + file.kind + ", not a file");
    EXPECT_EQ(Status(file.path).st_mode & S_IFMT, type);
  }
  EXPECT_EQ(FilesIn(folder.Path()), before);
}

TEST(WriteGeneratedFile, ReplacesLinksAndSharedFilesAndNeverWritesThroughThem) {
  TTempDir folder;
  std::filesystem::create_directories(folder.File("out"));
  const std::string outside = folder.Write("precious.jpg", "precious");
  struct Row {
    const char* why;
    std::function<void(const std::string& path)> put;
  };
  const Row rows[] = {
      {"a symbolic link", [&](const std::string& path) { std::filesystem::create_symlink("../precious.jpg", path); }},
      {"a chain of links",
       [&](const std::string& path) {
         std::filesystem::create_symlink(outside, path + ".link");
         std::filesystem::create_symlink(path + ".link", path);
       }},
      {"a dangling link", [&](const std::string& path) { std::filesystem::create_symlink("../created.jpg", path); }},
      {"a hard link", [&](const std::string& path) { std::filesystem::create_hard_link(outside, path); }},
  };
  const mode_t mask = ::umask(022);
  ::chmod(outside.c_str(), 0600);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const std::string path = folder.File("out/photo.jpg");
    row.put(path);
    WriteGeneratedFile(path, "rendered");
    EXPECT_EQ(ReadFile(path), "rendered");
    EXPECT_TRUE(S_ISREG(Status(path).st_mode));
    EXPECT_EQ(Status(path).st_nlink, 1u);
    EXPECT_EQ(Status(path).st_mode & 07777, 0644u) << "the mode of a new file, not of what stood there";
    EXPECT_EQ(ReadFile(outside), "precious");
    EXPECT_FALSE(std::filesystem::exists(folder.File("created.jpg")));
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".link");
  }
  ::umask(mask);
  const std::string own = folder.Write("out/own.html", "old");
  ::chmod(own.c_str(), 0604);
  WriteGeneratedFile(own, "new");
  EXPECT_EQ(Status(own).st_mode & 07777, 0604u) << "an earlier file of the program keeps its mode";
  EXPECT_EQ(FilesIn(folder.File("out")), (std::set<std::string>{"own.html"})) << "no temporary file";
}

TEST(FileWriters, NamesOf255BytesTakeTheirTemporaries) {
  TTempDir folder;
  const std::string path = folder.File(std::string(251, 'n') + ".alb");
  for (const auto& write : {WriteFileAtomically, WriteGeneratedFile}) {
    write(path, "first", TFlush::Now);
    write(path, "second", TFlush::Now);
    EXPECT_EQ(ReadFile(path), "second");
    EXPECT_EQ(FilesIn(folder.Path()).size(), 1u);
  }
}

// Every write beyond `bytes` fails with "File too large" while this lives.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    const rlimit limited{bytes, old_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }

 private:
  rlimit old_{};
  void (*handler_)(int);
};

TEST(FileWriters, FailedWriteKeepsTheOldBytes) {
  for (const auto& write : {WriteFileAtomically, WriteGeneratedFile}) {
    for (const bool linked : {false, true}) {
      SCOPED_TRACE(linked ? "a file with two names" : "a file with one name");
      TTempDir folder;
      const std::string path = folder.Write("album.alb", "old bytes");
      if (linked) {
        ASSERT_EQ(::link(path.c_str(), folder.File("other.alb").c_str()), 0);
      }
      const std::set<std::string> before = FilesIn(folder.Path());
      {
        const TFileSizeLimit limit(1000);
        EXPECT_THROW_MSG(write(path, std::string(5000, 'n'), TFlush::Now),
                         "Cannot write file \"" + path + "\". File too large");
      }
      EXPECT_EQ(ReadFile(path), "old bytes");
      EXPECT_EQ(FilesIn(folder.Path()), before) << "no temporary file";
    }
  }
}

}  // namespace
}  // namespace folivant
