#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace folivant {

bool IsValidUtf8(std::string_view bytes);
/// Text from a file that may be in the Windows-1252 code page (older album
/// files, IPTC data): valid UTF-8 is kept as it is, anything else is decoded as Windows-1252.
std::string AnsiToUtf8(std::string_view bytes);
/// Replaces every byte that is not part of valid UTF-8 by U+FFFD, so that file
/// names from the file system can become XML or page text safely.
std::string SanitizeUtf8(std::string_view bytes);
/// Valid UTF-8 without the characters XML 1.0 forbids in a document (C0
/// controls other than tab, LF and CR; U+FFFE and U+FFFF): bytes that are not
/// UTF-8 become U+FFFD, forbidden characters are dropped, the rest stays as it is.
std::string XmlCharacterText(std::string_view bytes);
/// Decodes UTF-16 bytes without their byte-order mark to UTF-8; unpaired
/// surrogates and an odd last byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian);
/// The first `count` characters of UTF-8 text; a byte that is not valid UTF-8 counts as one character.
std::string_view FirstCharacters(std::string_view text, size_t count);

/// `text` ended as a sentence: "." is added when its last character comes
/// after "." in character order (a letter, a digit, any non-ASCII character),
/// not after "." itself, ")", "!" or a quotation mark; empty text stays empty.
std::string AsSentence(std::string_view text);

/// True for the characters text is trimmed of: blanks and control characters.
bool IsBlankOrControl(char c);
/// `text` without the blanks and control characters at either end.
std::string_view TrimBlanks(std::string_view text);
/// `text` with the ASCII letters A to Z in lower case, every other byte as it is.
std::string AsciiLowerCase(std::string_view text);
/// `text` with the ASCII letters a to z in upper case, every other byte as it is.
std::string AsciiUpperCase(std::string_view text);
/// Replaces every occurrence left to right; inserted text is never searched again.
std::string ReplaceAll(std::string text, std::string_view search, std::string_view replacement);

/// The lines of `text`, each ending at CR LF, CR or LF; a last line without a
/// line break still counts, a final line break adds no empty line.
std::vector<std::string_view> SplitLineViews(std::string_view text);

}  // namespace folivant
