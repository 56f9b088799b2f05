#include "platform/fileidentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

namespace folivant {

namespace {

int64_t Nanoseconds(const timespec& time) { return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; }

class TReadOnlyFile {
 public:
  // O_NONBLOCK: a named pipe in place of a photograph never blocks the run.
  explicit TReadOnlyFile(const std::string& path)
      : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~TReadOnlyFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  TReadOnlyFile(const TReadOnlyFile&) = delete;
  TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
  int Descriptor() const { return descriptor_; }

 private:
  int descriptor_;
};

}  // namespace

std::optional<TFileIdentity> FileIdentity(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return TFileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

std::optional<TFileStamp> FileStamp(const std::string& path, TLinks links) {
  struct stat info {};
  if (path.empty()) return std::nullopt;
  const int status = links == TLinks::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
  if (status != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return TFileStamp{{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)},
                    static_cast<uint64_t>(info.st_size),
                    Nanoseconds(info.st_mtim),
                    Nanoseconds(info.st_ctim)};
}

// Files get the coarse clock's time (or a finer one that is never earlier),
// so a finer clock here could call a file changed just after this moment older.
int64_t FileClockNowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return Nanoseconds(now);
}

std::optional<std::string> ContentFingerprint(const std::string& path) {
  const TReadOnlyFile file(path);
  struct stat info {};
  if (file.Descriptor() < 0 || ::fstat(file.Descriptor(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  uint64_t hash = 0xcbf29ce484222325;  // FNV-1a offset basis and prime
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    const ssize_t read = ::read(file.Descriptor(), buffer.data(), buffer.size());
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return std::nullopt;
    if (read == 0) break;
    for (ssize_t i = 0; i < read; ++i) hash = (hash ^ buffer[static_cast<size_t>(i)]) * 0x100000001b3;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(text);
}

}  // namespace folivant
