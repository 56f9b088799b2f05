#include "platform/fileidentity.h"

#include <sys/stat.h>

namespace folivant {

std::optional<TFileIdentity> FileIdentity(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return TFileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

}  // namespace folivant
