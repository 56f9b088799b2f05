// Reading and writing whole files. Reads are bounded and never block on a pipe
// or device. Writes replace a file without ever leaving it half-written: the
// user's own documents keep what the user set up around them (symbolic links,
// mode, owner, hard links); files the program generates replace whatever
// stands in their place.

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include "platform/error.h"
#include "platform/fileidentity.h"
#include "platform/filesystem.h"

namespace folivant {

namespace {

// A file descriptor closed when it goes out of scope, for the error paths.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : fd_(fd) {}
  ~TFileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return fd_; }
  /// Closes now, so that a late write error (NFS reports them here) is seen; false then.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }
  /// Hands the descriptor over to the caller, who closes it.
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// What a path that is no regular file is, in the user's words.
const char* KindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "a special file";
}

[[noreturn]] void ThrowNotAFile(const char* verb, const std::string& path, mode_t mode) {
  throw TError(std::string("Cannot ") + verb + " \"" + path + "\": it is " + KindOfFile(mode) + ", not a file");
}

// "64 MiB", "512 KiB" or "100 bytes": limits are round numbers.
std::string SizeInUnits(size_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
  return std::to_string(bytes) + " bytes";
}

[[noreturn]] void ThrowTooLarge(const std::string& path, uint64_t size, size_t limit) {
  throw TError("Cannot read \"" + path + "\": it is " + std::to_string(size) + " bytes long, more than the " +
               SizeInUnits(limit) + " allowed for this kind of file");
}

[[noreturn]] void ThrowGrewTooLarge(const std::string& path, size_t limit) {
  throw TError("Cannot read \"" + path + "\": it grew past the " + SizeInUnits(limit) +
               " allowed for this kind of file while it was read");
}

// Reads from the current offset to the end, but never more than `most` bytes:
// a file that grows while it is read stops there. `expected` sizes the buffer.
// False on a read error, with errno set.
bool ReadUpTo(int fd, size_t expected, size_t most, std::string& bytes) {
  bytes.resize(std::min(expected + 1, most));
  size_t used = 0;
  while (used < most) {
    if (used == bytes.size()) bytes.resize(std::min(most, std::max<size_t>(used * 2, 4096)));
    const ssize_t count = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) break;
    used += static_cast<size_t>(count);
  }
  bytes.resize(used);
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The file a write to `path` replaces: the final target of a chain of symbolic
// links (a relative link counts from its own folder), else `path` itself. The
// target need not exist yet: writing through a dangling link creates it.
std::string FollowSymbolicLinks(const std::string& path) {
  std::string current = path;
  for (int links = 0; links <= 40; ++links) {  // the kernel gives up after 40 as well
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
    if (length < 0) ThrowFileError("Cannot create file", path, errno);
    if (static_cast<size_t>(length) == sizeof target) ThrowFileError("Cannot create file", path, ENAMETOOLONG);
    const std::string_view link(target, static_cast<size_t>(length));
    const size_t slash = current.rfind('/');
    current = link.starts_with('/') || slash == std::string::npos ? std::string(link)
                                                                  : current.substr(0, slash + 1) + std::string(link);
  }
  ThrowFileError("Cannot create file", path, ELOOP);
}

// Temporary files are named "NAME.tmp-XXXXXX" beside the file NAME they become,
// NAME cut so that the temporary's name still fits a file name.
constexpr size_t kMaxFileNameBytes = 255;
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr size_t kTemporaryLetters = 6;
constexpr std::string_view kTemporaryAlphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// A new random name for a temporary file beside `target` (a path).
std::string TemporaryName(const std::string& target) {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  const size_t name_start = target.rfind('/') + 1;  // 0 without a folder
  std::string name = target.substr(0, name_start);
  name += TemporaryStem(std::string_view(target).substr(name_start));
  name += kTemporaryMark;
  for (size_t i = 0; i < kTemporaryLetters; ++i) name += kTemporaryAlphabet[generator() % kTemporaryAlphabet.size()];
  return name;
}

// The STEM of a file name of exactly the pattern "STEM.tmp-XXXXXX"; nothing for any other name.
std::optional<std::string_view> StemOfTemporaryName(std::string_view name) {
  if (name.size() < kTemporaryMark.size() + kTemporaryLetters) return std::nullopt;
  const size_t mark = name.size() - kTemporaryLetters - kTemporaryMark.size();
  if (name.substr(mark, kTemporaryMark.size()) != kTemporaryMark) return std::nullopt;
  for (const char letter : name.substr(mark + kTemporaryMark.size()))
    if (kTemporaryAlphabet.find(letter) == std::string_view::npos) return std::nullopt;
  return name.substr(0, mark);
}

// A new file beside the target, removed again unless Release is called.
class TTemporaryFile {
 public:
  TTemporaryFile(std::string name, int fd) : name_(std::move(name)), fd_(fd) {}
  ~TTemporaryFile() {
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  const std::string& Name() const { return name_; }
  TFileDescriptor& File() { return fd_; }
  void Release() { name_.clear(); }

 private:
  std::string name_;
  TFileDescriptor fd_;
};

// Opening with O_EXCL and mode 0666 rather than mkstemp lets the kernel apply
// the umask and the folder's default ACL, as for any new file, without the
// process-wide umask dance that would race with other threads.
std::unique_ptr<TTemporaryFile> CreateTemporaryFile(const std::string& path, const std::string& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TemporaryName(target);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return std::make_unique<TTemporaryFile>(std::move(name), fd);
    if (errno != EEXIST) ThrowFileError("Cannot create file", path, errno);
  }
  ThrowFileError("Cannot create file", path, EEXIST);
}

// A user who may not give a file an owner or mode (EPERM), or a file system
// that keeps none (FAT through FUSE: ENOSYS), still gets the new file, as the
// file system makes it.
bool CannotKeep(int error) { return error == EPERM || error == ENOSYS || error == EOPNOTSUPP; }

// Owner and group first: changing them may clear the set-user-ID and set-group-ID
// bits, which the mode then restores.
bool TakeOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0 && !CannotKeep(errno)) return false;
  return ::fchmod(fd, old.st_mode & 07777) == 0 || CannotKeep(errno);
}

// Gives a new file the owner and mode of `old` when there is an old file,
// writes the bytes and flushes them as `flush` says; false with errno set.
bool FillNewFile(int fd, std::string_view bytes, TFlush flush, const struct stat* old) {
  return (!old || TakeOwnerAndMode(fd, *old)) && WriteAll(fd, bytes) && (flush == TFlush::Later || ::fsync(fd) == 0);
}

// The bytes in a new temporary file beside `target`, closed.
std::unique_ptr<TTemporaryFile> WriteTemporaryFile(const std::string& path, const std::string& target,
                                                   std::string_view bytes, TFlush flush, const struct stat* old) {
  std::unique_ptr<TTemporaryFile> temporary = CreateTemporaryFile(path, target);
  const bool written = FillNewFile(temporary->File().Get(), bytes, flush, old);
  const int write_error = errno;
  if (!temporary->File().Close() || !written) ThrowFileError("Cannot write file", path, written ? errno : write_error);
  return temporary;
}

void ReplaceByRename(const std::string& path, const std::string& target, std::string_view bytes, TFlush flush,
                     const struct stat* old) {
  const std::unique_ptr<TTemporaryFile> temporary = WriteTemporaryFile(path, target, bytes, flush, old);
  if (::rename(temporary->Name().c_str(), target.c_str()) != 0) ThrowFileError("Cannot create file", path, errno);
  temporary->Release();
}

bool OverwriteFrom(int fd, std::string_view bytes) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// A file with several hard links is one file under several names: a rename
// would give only this name the new bytes. So it is overwritten in place, which
// cannot be atomic, and made as safe as it can be:
// 1. the new bytes first go into a temporary file beside it and reach the disk,
//    which shows that the room for them is there and keeps them complete should
//    the overwrite be cut short;
// 2. the old bytes are read into memory;
// 3. the file is overwritten, cut to its new length and flushed; when any of
//    that fails, the old bytes are written back before the error is reported
//    (and should even that fail, the copy of the new bytes is kept).
// Limits: a crash or power loss during step 3 can leave the file torn (the
// complete new bytes then stay in "NAME.tmp-XXXXXX" beside it), and a program
// reading it meanwhile may see old and new bytes mixed. Such a file is always
// flushed at once, whatever the caller's TFlush.
void OverwriteInPlace(const std::string& path, const std::string& target, std::string_view bytes) {
  const std::unique_ptr<TTemporaryFile> copy = WriteTemporaryFile(path, target, bytes, TFlush::Now, nullptr);
  TFileDescriptor file(::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (file.Get() < 0) ThrowFileError("Cannot write file", path, errno);
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) ThrowFileError("Cannot read file", path, errno);
  if (!S_ISREG(info.st_mode)) ThrowNotAFile("write", path, info.st_mode);
  std::string old;
  if (!ReadUpTo(file.Get(), static_cast<size_t>(info.st_size), SIZE_MAX, old))
    ThrowFileError("Cannot read file", path, errno);
  if (OverwriteFrom(file.Get(), bytes)) return;
  const int write_error = errno;
  if (!OverwriteFrom(file.Get(), old)) copy->Release();
  ThrowFileError("Cannot write file", path, write_error);
}

// Gives the complete unnamed file `fd` the name `path`, replacing what stands
// there: linkat cannot replace, so an existing entry is replaced by a rename
// from a temporary name (a kill between the two leaves a complete temporary).
// False where the unnamed file cannot be named (no /proc to name it by).
bool NameUnnamedFile(int fd, const std::string& path, bool exists) {
  const std::string unnamed = "/proc/self/fd/" + std::to_string(fd);
  const auto link_as = [&unnamed](const std::string& name) {
    return ::linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  };
  if (!exists && link_as(path)) return true;
  if (!exists && errno != EEXIST) return false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temporary = TemporaryName(path);
    if (!link_as(temporary)) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) == 0) return true;
    const int rename_error = errno;
    ::unlink(temporary.c_str());
    ThrowFileError("Cannot create file", path, rename_error);
  }
  ThrowFileError("Cannot create file", path, EEXIST);
}

// Writes into an unnamed file in the folder of `path` and names it only when
// it is complete, so that a kill or a crash leaves nothing behind. False, and
// nothing changed, where the file system has no unnamed files (FAT and exFAT
// through FUSE, for example).
bool ReplaceByUnnamedFile(const std::string& path, std::string_view bytes, TFlush flush, const struct stat* old,
                          bool exists) {
  const std::string folder = ExtractFilePath(path);
  TFileDescriptor file(::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (file.Get() < 0) return false;
  if (!FillNewFile(file.Get(), bytes, flush, old)) ThrowFileError("Cannot write file", path, errno);
  if (!NameUnnamedFile(file.Get(), path, exists)) return false;
  if (!file.Close()) ThrowFileError("Cannot write file", path, errno);
  return true;
}

// A save that did not finish (a crash, a kill, a power cut, or an overwrite in
// place that kept its copy) left its temporary beside the file; the next save
// that succeeds makes it stale. Only those last changed before this save
// began go: a second program saving the same file at this moment keeps its own.
void RemoveEarlierTemporaries(const std::string& target, int64_t began_ns) {
  const std::string folder = ExtractFilePath(target);
  const std::string name = ExtractFileName(target);
  const std::string_view stem = TemporaryStem(name);
  RemoveStaleTemporaries(
      folder.empty() ? "." : folder, [stem](std::string_view found) { return found == stem; }, began_ns);
}

}  // namespace

std::string_view TemporaryStem(std::string_view name) {
  return name.substr(0, kMaxFileNameBytes - kTemporaryMark.size() - kTemporaryLetters);
}

int OpenRegularFile(const std::string& path) {
  // Special files are refused before they are opened: opening a device can act
  // on it (a tape rewinds when closed).
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) ThrowNotAFile("read", path, info.st_mode);
  // Should a pipe take the file's place meanwhile, O_NONBLOCK keeps the open
  // from waiting for a writer, and the second look below refuses it.
  TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) ThrowFileError("Cannot open file", path, errno);
  if (::fstat(file.Get(), &info) != 0) ThrowFileError("Cannot read file", path, errno);
  if (!S_ISREG(info.st_mode)) ThrowNotAFile("read", path, info.st_mode);
  return file.Release();
}

std::string ReadFileBytes(const std::string& path, size_t limit) {
  TFileDescriptor file(OpenRegularFile(path));
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) ThrowFileError("Cannot read file", path, errno);
  if (static_cast<uint64_t>(info.st_size) > limit) ThrowTooLarge(path, static_cast<uint64_t>(info.st_size), limit);
  std::string bytes;
  if (!ReadUpTo(file.Get(), static_cast<size_t>(info.st_size), limit + 1, bytes))
    ThrowFileError("Cannot read file", path, errno);
  if (bytes.size() > limit) ThrowGrewTooLarge(path, limit);
  return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, TFlush flush) {
  const int64_t began = FileClockNowNs();
  const std::string target = FollowSymbolicLinks(path);
  struct stat old {};
  if (::lstat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) ThrowFileError("Cannot create file", path, errno);
    ReplaceByRename(path, target, bytes, flush, nullptr);
  } else if (!S_ISREG(old.st_mode)) {
    ThrowNotAFile("write", path, old.st_mode);
  } else if (old.st_nlink > 1) {
    OverwriteInPlace(path, target, bytes);
  } else {
    ReplaceByRename(path, target, bytes, flush, &old);
  }
  RemoveEarlierTemporaries(target, began);
}

void WriteGeneratedFile(const std::string& path, std::string_view bytes, TFlush flush) {
  struct stat old {};
  const bool exists = ::lstat(path.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) ThrowFileError("Cannot create file", path, errno);
  if (exists && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) ThrowNotAFile("write", path, old.st_mode);
  // An earlier file of ours keeps the mode the user gave it; a link, or a file
  // shared with other names, is not ours to take a mode from.
  const struct stat* own = exists && S_ISREG(old.st_mode) && old.st_nlink == 1 ? &old : nullptr;
  if (ReplaceByUnnamedFile(path, bytes, flush, own, exists)) return;
  ReplaceByRename(path, path, bytes, flush, own);
}

int RemoveStaleTemporaries(const std::string& folder, const std::function<bool(std::string_view stem)>& is_ours,
                           int64_t before_ns) {
  const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.c_str()), ::closedir);
  if (!entries) return 0;
  const auto nanoseconds = [](const timespec& time) { return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; };
  int removed = 0;
  while (const dirent* entry = ::readdir(entries.get())) {
    const std::optional<std::string_view> stem = StemOfTemporaryName(entry->d_name);
    if (!stem || !is_ours(*stem)) continue;
    struct stat info {};
    const int fd = ::dirfd(entries.get());
    if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
    // A rename or link changes the change time, so this is the temporary's last touch.
    if (std::max(nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)) >= before_ns) continue;
    if (::unlinkat(fd, entry->d_name, 0) == 0) ++removed;
  }
  return removed;
}

void FlushFileSystem(const std::string& path) {
  const TFileDescriptor folder(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (folder.Get() < 0) ThrowFileError("Cannot open file", path, errno);
  if (::syncfs(folder.Get()) != 0) ThrowFileError("Cannot write file", path, errno);
}

}  // namespace folivant
