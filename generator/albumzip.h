#pragma once

// The zip file of an album's photographs; the only part of the program that sees libzip.

#include <string>
#include <string_view>
#include <vector>

namespace folivant {

/// The zip of a modern album's photographs, in its folder.
inline constexpr std::string_view kAlbumZipName = "photos.zip";

/// One member of a zip: its name in the archive (UTF-8) and the file it holds.
struct TZipMember {
  std::string Name;
  std::string Path;
};

/// The bytes of a zip archive of the members' files, in their order, stored
/// as they are (JPEG files gain nothing from compression). Throws TError
/// ("Cannot make the zip of the photographs: ...") when a file cannot be read.
/// `members` must not be empty.
std::string ZipArchive(const std::vector<TZipMember>& members);

}  // namespace folivant
