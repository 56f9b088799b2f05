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

/// A 64-bit FNV-1a hash of every byte of the regular file at `path`, as 16
/// lower-case hexadecimal digits; nothing when it cannot be read.
std::optional<std::string> ContentFingerprint(const std::string& path);

}  // namespace folivant
