#pragma once

// The two album file formats: the ".alb" XML file the program writes, and the
// older INI-style file it still imports. TAlbum::SaveToFile and
// TAlbum::LoadFromFile are the entry points; these are their parts.

#include <string>
#include <string_view>

#include "model/albumclasses.h"

namespace folivant {

/// The exact bytes of the album file for `album`: UTF-8 without declaration,
/// two spaces of indentation per level, CR LF line ends.
std::string AlbumFileText(const TAlbum& album);

/// Reads an album file of the current format (UTF-8 or UTF-16) into `album`,
/// which the caller has reset. Throws TError with the parser's or the
/// conversion's message; the album then keeps what was read before the error.
void ReadXmlAlbum(TAlbum& album, std::string_view bytes);

/// Reads an older INI-style album file into the reset `album`. Missing keys and
/// malformed numbers take their defaults; never throws.
void ImportLegacyAlbum(TAlbum& album, std::string_view bytes);

}  // namespace folivant
