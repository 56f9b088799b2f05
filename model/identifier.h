#pragma once

#include <string>
#include <string_view>

namespace folivant {

/// Keeps ASCII letters and "_", and digits once something is kept: a name that
/// works as a file name everywhere. The bytes of non-ASCII characters are
/// dropped, as a code page without those characters would drop them.
inline std::string AsciiIdentifier(std::string_view source) {
  std::string result;
  for (char c : source) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (letter || (c >= '0' && c <= '9' && !result.empty())) result += c;
  }
  return result;
}

}  // namespace folivant
