#pragma once

// The two album file formats: the ".alb" XML file the program writes, and the
// older INI-style file it still imports. TAlbum::SaveToFile and
// TAlbum::LoadFromFile are the entry points; these are their parts.

#include <optional>
#include <string>
#include <string_view>

#include "model/albumclasses.h"

namespace folivant {

/// The exact bytes of the album file for `album`: UTF-8 without declaration,
/// two spaces of indentation per level, CR LF line ends.
std::string AlbumFileText(const TAlbum& album);

/// Reads an album file of the current format (UTF-8 or UTF-16) into `album`,
/// whose FileName names the file and whose title and description the caller
/// has emptied. Throws TError naming the file, the line and the reason; the
/// album then holds what was read before the error.
void ReadXmlAlbum(TAlbum& album, std::string_view bytes);

/// Reads an older INI-style album file into `album`, prepared as for
/// ReadXmlAlbum. Missing keys and malformed numbers take their defaults; never throws.
void ImportLegacyAlbum(TAlbum& album, std::string_view bytes);

/// A photo path as an album file stores it, made usable: a relative path is
/// taken from the folder of `album_file`; absolute paths (also Windows ones,
/// "C:\..." or "\..."), the empty path and every path of an album without a
/// file name stay byte for byte.
std::string ResolvePhotoPath(const std::string& stored, const std::string& album_file);

/// A path's exact bytes for the "bytes" attribute of an album file: "%", the
/// characters XML gives a meaning to, controls and every byte beyond ASCII as
/// "%" and two upper-case hexadecimal digits, the rest as it is.
std::string PercentEncodedPath(std::string_view path);
/// The inverse of PercentEncodedPath; nothing when a "%" is not followed by
/// two hexadecimal digits.
std::optional<std::string> PercentDecodedPath(std::string_view text);

}  // namespace folivant
