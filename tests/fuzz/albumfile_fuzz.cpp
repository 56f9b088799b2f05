// LoadFromFile on arbitrary bytes: they reach the XML reader or, when they
// start with "[", the import of older album files. An album that loads must
// save and load again to the same bytes, so the writer never writes what the
// reader refuses.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "model/albumclasses.h"
#include "model/albumfile.h"
#include "platform/error.h"

namespace {

// One scratch file for the whole run, removed at exit.
const std::string& ScratchFile() {
  static const std::string path = [] {
    std::string pattern = "/tmp/folivant-fuzz-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) std::abort();
    ::close(fd);
    return pattern;
  }();
  static const bool removed_at_exit = std::atexit([] { ::unlink(ScratchFile().c_str()); }) == 0;
  (void)removed_at_exit;
  return path;
}

std::unique_ptr<folivant::TAlbum> Load(std::string_view bytes) {
  // A fresh file rather than a truncated one: ext4 flushes a truncated file to
  // disk, which would slow the run a hundredfold.
  ::unlink(ScratchFile().c_str());
  std::ofstream(ScratchFile(), std::ios::binary).write(bytes.data(), std::ssize(bytes));
  try {
    return folivant::TAlbum::LoadFromFile(ScratchFile());
  } catch (const folivant::TError&) {
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto album = Load(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!album) return 0;
  const std::string saved = folivant::AlbumFileText(*album);
  const auto reloaded = Load(saved);
  if (!reloaded || folivant::AlbumFileText(*reloaded) != saved) std::abort();
  return 0;
}
