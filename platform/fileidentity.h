#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace folivant {

/// What makes a file the same file under any name: its device and inode.
struct TFileIdentity {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  bool operator==(const TFileIdentity&) const = default;
};

/// The identity of the file that `path` names, links followed; nothing when
/// there is no such file (or it cannot be looked at).
std::optional<TFileIdentity> FileIdentity(const std::string& path);

/// What the file system tells of a regular file without reading it: enough to
/// see that it was replaced, written to or had its times changed. Times in
/// nanoseconds since 1970.
struct TFileStamp {
  TFileIdentity Identity;
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;
  /// The last change of the file or its attributes, which no program can set
  /// back (unlike the modification time that "touch -r" or "cp -p" restore).
  int64_t ChangedNs = 0;
  bool operator==(const TFileStamp&) const = default;
};

/// Whether a path's last part is followed when it is a symbolic link.
enum class TLinks : uint8_t { Follow, Keep };

/// The stamp of the regular file that `path` names, links followed unless
/// `links` is Keep (a link then has no stamp); nothing when there is none.
std::optional<TFileStamp> FileStamp(const std::string& path, TLinks links = TLinks::Follow);

/// Now, in nanoseconds since 1970, by the coarse clock the file system stamps
/// files with: a file changed after this moment never has an earlier time.
/// It lags behind the time by up to some milliseconds (two clock ticks).
int64_t FileClockNowNs();

/// A file's content as one reading found it: the stamp the file had when it
/// was opened, and a 64-bit FNV-1a hash of every byte then read, as 16
/// lower-case hexadecimal digits.
struct TFileContent {
  TFileStamp Stamp;
  std::string Fingerprint;
};

/// A regular file read once from its start, every byte hashed on the way, so
/// that the one pass that decodes a photograph also gives its fingerprint.
/// Opened as OpenRegularFile opens, never waiting on a named pipe or device.
class TFileReader {
 public:
  /// Throws TError as OpenRegularFile does.
  explicit TFileReader(const std::string& path);
  ~TFileReader();
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;

  /// Reads up to `size` next bytes into `buffer`; 0 at the end of the file.
  /// Throws TError with the platform's message.
  size_t Read(void* buffer, size_t size);
  /// Reads the rest of the file; the content of all of it. Throws TError with
  /// the platform's message, and TStopped once a stop is requested.
  TFileContent ReadToEnd();

 private:
  std::string path_;
  int descriptor_;
  TFileStamp stamp_;
  uint64_t hash_;
};

/// The content of the regular file at `path`, read whole; nothing when it
/// cannot be read. Throws TStopped once a stop is requested.
std::optional<TFileContent> ContentFingerprint(const std::string& path);

}  // namespace folivant
