#include "editor/recentalbums.h"

#include <algorithm>
#include <filesystem>

#include "platform/filesystem.h"
#include "platform/settingsstore.h"

namespace folivant {

static const char kRecentAlbumsKey[] = "RecentAlbums";

static std::string ValueName(size_t index) { return "File" + std::to_string(index + 1); }

static bool Contains(const std::vector<std::string>& paths, const std::string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

std::vector<std::string> ReadRecentAlbums(const TSettingsKey& program_key) {
  std::vector<std::string> paths;
  const TSettingsKey* key = program_key.OpenKey(kRecentAlbumsKey);
  if (!key) return paths;
  for (size_t index = 0; index < kMaxRecentAlbums; ++index) {
    const std::string path = key->ReadString(ValueName(index)).value_or("");
    if (!path.empty() && !Contains(paths, path)) paths.push_back(path);
  }
  return paths;
}

void WriteRecentAlbums(TSettingsKey& program_key, const std::vector<std::string>& paths) {
  // Rewritten whole, so that a shorter list leaves no old entries behind.
  program_key.DeleteKey(kRecentAlbumsKey);
  TSettingsKey& key = program_key.CreateKey(kRecentAlbumsKey);
  for (size_t index = 0; index < paths.size() && index < kMaxRecentAlbums; ++index)
    key.WriteString(ValueName(index), paths[index]);
}

// An album named on the command line may be relative to the folder the
// program was started in; the list must name it from anywhere.
static std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::vector<std::string> WithRecentAlbum(std::vector<std::string> paths, const std::string& path) {
  const std::string absolute = AbsolutePath(path);
  std::erase(paths, absolute);
  paths.insert(paths.begin(), absolute);
  if (paths.size() > kMaxRecentAlbums) paths.resize(kMaxRecentAlbums);
  return paths;
}

std::vector<std::string> WithoutMissingAlbums(std::vector<std::string> paths) {
  std::erase_if(paths, [](const std::string& path) { return !FileExists(path); });
  return paths;
}

}  // namespace folivant
