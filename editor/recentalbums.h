#pragma once

// The albums opened or saved last, most recent first, kept per user in the
// settings key "RecentAlbums" as "File1" to "File8".

#include <cstddef>
#include <string>
#include <vector>

namespace folivant {

class TSettingsKey;

/// How many albums the list keeps.
inline constexpr size_t kMaxRecentAlbums = 8;

/// The stored list, most recent first: blank entries and repeats are passed
/// over, and at most kMaxRecentAlbums entries are taken.
std::vector<std::string> ReadRecentAlbums(const TSettingsKey& program_key);
/// Replaces the stored list with `paths`.
void WriteRecentAlbums(TSettingsKey& program_key, const std::vector<std::string>& paths);

/// `paths` with `path` made absolute and put first, an earlier entry for the same file dropped, and the
/// oldest entries beyond kMaxRecentAlbums dropped.
std::vector<std::string> WithRecentAlbum(std::vector<std::string> paths, const std::string& path);
/// `paths` without the entries whose file no longer exists.
std::vector<std::string> WithoutMissingAlbums(std::vector<std::string> paths);

}  // namespace folivant
