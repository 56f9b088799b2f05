#include "platform/fileidentity.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/stoprequest.h"

namespace folivant {

namespace {

int64_t Nanoseconds(const timespec& time) { return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; }

TFileStamp StampOf(const struct stat& info) {
  return TFileStamp{{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)},
                    static_cast<uint64_t>(info.st_size),
                    Nanoseconds(info.st_mtim),
                    Nanoseconds(info.st_ctim)};
}

// FNV-1a, 64 bits.
constexpr uint64_t kHashBasis = 0xcbf29ce484222325;
constexpr uint64_t kHashPrime = 0x100000001b3;

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
  return StampOf(info);
}

// Files get the coarse clock's time (or a finer one that is never earlier),
// so a finer clock here could call a file changed just after this moment older.
int64_t FileClockNowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return Nanoseconds(now);
}

TFileReader::TFileReader(const std::string& path) : path_(path), descriptor_(OpenRegularFile(path)), hash_(kHashBasis) {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) {
    const int error_number = errno;
    ::close(descriptor_);
    ThrowFileError("Cannot read file", path, error_number);
  }
  stamp_ = StampOf(info);
}

TFileReader::~TFileReader() { ::close(descriptor_); }

size_t TFileReader::Read(void* buffer, size_t size) {
  ssize_t count;
  do {
    count = ::read(descriptor_, buffer, size);
  } while (count < 0 && errno == EINTR);
  if (count < 0) ThrowFileError("Cannot read file", path_, errno);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  for (ssize_t i = 0; i < count; ++i) hash_ = (hash_ ^ bytes[i]) * kHashPrime;
  return static_cast<size_t>(count);
}

TFileContent TFileReader::ReadToEnd() {
  std::vector<unsigned char> buffer(1 << 20);
  do {
    StopPoint();
  } while (Read(buffer.data(), buffer.size()) > 0);
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
  return {stamp_, text};
}

std::optional<TFileContent> ContentFingerprint(const std::string& path) {
  try {
    return TFileReader(path).ReadToEnd();
  } catch (const TStopped&) {
    throw;
  } catch (const TError&) {
    return std::nullopt;
  }
}

}  // namespace folivant
