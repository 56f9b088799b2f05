// LoadFromFile on arbitrary bytes: they reach the XML reader or, when they
// start with "[", the import of older album files. An album that loads must
// save and load again to the same bytes, so the writer never writes what the
// reader refuses.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/albumclasses.h"
#include "model/albumfile.h"
#include "platform/error.h"
#include "scratchfile.h"

namespace {

std::unique_ptr<folivant::TAlbum> Load(std::string_view bytes) {
  folivant::fuzz::WriteScratchFile(bytes);
  try {
    return folivant::TAlbum::LoadFromFile(folivant::fuzz::ScratchFile());
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
