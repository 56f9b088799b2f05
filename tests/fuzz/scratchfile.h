#pragma once

// The one file a fuzz target rewrites for every input, for readers that take a path.

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

namespace folivant::fuzz {

/// One file for the whole run, in /dev/shm so that writing it costs no disk
/// flush, removed at exit. The first call's `suffix` ends its name (".jpg").
inline const std::string& ScratchFile(const char* suffix = "") {
  static const std::string path = [suffix] {
    std::string pattern = std::string("/dev/shm/folivant-fuzz-XXXXXX") + suffix;
    const int fd = ::mkstemps(pattern.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0) std::abort();
    ::close(fd);
    return pattern;
  }();
  static const bool removed_at_exit = std::atexit([] { ::unlink(ScratchFile().c_str()); }) == 0;
  (void)removed_at_exit;
  return path;
}

/// Replaces the scratch file by `bytes` and returns its path: a fresh file
/// rather than a truncated one, which ext4 would flush to disk.
inline const std::string& WriteScratchFile(std::string_view bytes, const char* suffix = "") {
  const std::string& path = ScratchFile(suffix);
  ::unlink(path.c_str());
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
  return path;
}

}  // namespace folivant::fuzz
