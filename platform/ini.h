#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace folivant {

/// How a particular file reads its values; each INI-style file of the program has its own.
struct TIniOptions {
  /// Whether a repeated section or key yields its first occurrence (else its last).
  bool first_occurrence_wins = true;
  /// Removes one pair of double quotes enclosing a value.
  bool strip_quotes = false;
  /// Longest value returned, in bytes; 0 for no limit.
  size_t max_value_length = 0;
};

/// An INI-style text read whole into memory: "[Section]" lines and "key=value"
/// entries, with CR, LF or CR LF line ends, ";" comment lines, and section and
/// key names matched without regard to ASCII case. Lines before the first
/// section and lines without "=" are never found.
class TIniFile {
 public:
  TIniFile(std::string_view text, TIniOptions options = {});
  /// Reads the file at `path` (at most 4 MiB); throws TError when it cannot (ReadFileBytes).
  static TIniFile FromFile(const std::string& path, TIniOptions options = {});

  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, const std::string& fallback) const;
  /// Decimal with an optional "-", or hexadecimal after "$" or "0x"; anything else gives `fallback`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;

 private:
  // Names are kept in ASCII lower case, each mapped to the occurrence the
  // options choose, so that a lookup costs the same in a file of any length.
  using TSection = std::unordered_map<std::string, std::string>;
  void AddEntry(TSection& section, std::string key, std::string value) const;

  std::vector<TSection> sections_;
  std::unordered_map<std::string, size_t> section_index_;
  TIniOptions options_;
};

/// Parses an integer as INI files write them (see TIniFile::ReadInteger); nothing
/// for text that is not one or that does not fit 32 bits. Hexadecimal values
/// of up to eight digits wrap into the signed range, as colours need.
std::optional<int32_t> ParseIniInteger(std::string_view text);

}  // namespace folivant
