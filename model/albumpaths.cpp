// How album files store photo paths: relative paths belong to the album
// file's folder, and paths that XML text cannot carry travel percent-encoded.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/albumfile.h"
#include "platform/filesystem.h"

namespace folivant {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Absolute here or on Windows, where albums of the older program were made:
// those paths are kept, so that "Find Missing Photos" can still repair them.
bool IsAbsolutePath(std::string_view path) {
  if (path.starts_with('/') || path.starts_with('\\')) return true;
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// Printable ASCII that means nothing special in an attribute value.
bool StaysAsItIs(char c) { return c >= ' ' && c <= '~' && c != '%' && c != '&' && c != '<' && c != '>' && c != '"'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string ResolvePhotoPath(const std::string& stored, const std::string& album_file) {
  if (stored.empty() || album_file.empty() || IsAbsolutePath(stored)) return stored;
  std::error_code error;  // only when the working folder is gone
  const std::filesystem::path file = std::filesystem::absolute(album_file, error);
  return error ? stored : JoinPath(file.parent_path().string(), stored);
}

std::string PercentEncodedPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : path) {
    if (StaysAsItIs(c)) {
      encoded += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    encoded += '%';
    encoded += kHex[byte >> 4];
    encoded += kHex[byte & 0x0F];
  }
  return encoded;
}

std::optional<std::string> PercentDecodedPath(std::string_view text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded += text[i];
      continue;
    }
    const int high = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexDigitValue(text[i + 2]) : -1;
    if (high < 0 || low < 0) return std::nullopt;
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return decoded;
}

}  // namespace folivant
