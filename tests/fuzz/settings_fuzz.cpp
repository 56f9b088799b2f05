// TSettingsStore::Load on arbitrary bytes, then the Save round trip: whatever
// loads saves to a file that loads again without a warning and saves to the
// same bytes, so the store never writes what it would skip or set aside. The
// settings folder lies in /dev/shm: a run saves thousands of files a second.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/filesystem.h"
#include "platform/settingsstore.h"

namespace {

// One settings folder for the whole run, removed at exit.
const std::string& Folder() {
  static const std::string path = [] {
    std::string pattern = "/dev/shm/folivant-fuzz-settings-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  static const bool removed_at_exit = std::atexit([] { std::filesystem::remove_all(Folder()); }) == 0;
  (void)removed_at_exit;
  return path;
}

std::string SavedText(folivant::TSettingsStore& store) {
  store.Save();
  return folivant::ReadFileBytes(store.FileName(), 1 << 30);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  folivant::TSettingsStore store(Folder());
  ::unlink(store.FileName().c_str());
  std::ofstream(store.FileName(), std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  store.Load();
  store.TakeWarning();
  if (!folivant::FileExists(store.FileName())) {  // set aside as damaged: nothing was read
    if (!store.Root().SubkeyNames().empty() || !store.Root().ValueNames().empty()) std::abort();
    std::filesystem::remove(store.FileName() + ".damaged");
    return 0;
  }
  const std::string saved = SavedText(store);
  folivant::TSettingsStore reloaded(Folder());
  reloaded.Load();
  if (!reloaded.TakeWarning().empty() || SavedText(reloaded) != saved) std::abort();
  return 0;
}
