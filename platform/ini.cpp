#include "platform/ini.h"

#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {

void TIniFile::AddEntry(TSection& section, std::string key, std::string value) const {
  if (options_.first_occurrence_wins)
    section.try_emplace(std::move(key), std::move(value));
  else
    section.insert_or_assign(std::move(key), std::move(value));
}

TIniFile::TIniFile(std::string_view text, TIniOptions options) : options_(options) {
  for (std::string_view raw : SplitLineViews(text)) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::string name = AsciiLowerCase(TrimBlanks(line.substr(1, line.size() - 2)));
      sections_.emplace_back();
      if (options_.first_occurrence_wins)
        section_index_.try_emplace(std::move(name), sections_.size() - 1);
      else
        section_index_.insert_or_assign(std::move(name), sections_.size() - 1);
      continue;
    }
    const size_t equals = line.find('=');
    if (sections_.empty() || equals == std::string_view::npos) continue;
    AddEntry(sections_.back(), AsciiLowerCase(TrimBlanks(line.substr(0, equals))),
             std::string(TrimBlanks(line.substr(equals + 1))));
  }
}

// "tips.ini" and "schemes.ini" beside the program are a few kilobytes; an INI
// data file larger than this is not one of them.
constexpr size_t kMaxIniFileSize = 4 << 20;

TIniFile TIniFile::FromFile(const std::string& path, TIniOptions options) {
  return TIniFile(ReadFileBytes(path, kMaxIniFileSize), options);
}

std::optional<std::string> TIniFile::Find(std::string_view section, std::string_view key) const {
  const auto found_section = section_index_.find(AsciiLowerCase(section));
  if (found_section == section_index_.end()) return std::nullopt;
  const TSection& entries = sections_[found_section->second];
  const auto found = entries.find(AsciiLowerCase(key));
  if (found == entries.end()) return std::nullopt;
  std::string value = found->second;
  if (options_.strip_quotes && value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  if (options_.max_value_length && value.size() > options_.max_value_length) value.resize(options_.max_value_length);
  return value;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, const std::string& fallback) const {
  return Find(section, key).value_or(fallback);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  const std::optional<std::string> text = Find(section, key);
  if (!text) return fallback;
  return ParseIniInteger(*text).value_or(fallback);
}

static std::optional<int64_t> ParseDigits(std::string_view digits, int base) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  int64_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

std::optional<int32_t> ParseIniInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  std::optional<int64_t> value = ParseDigits(text, base);
  if (!value) return std::nullopt;
  if (base == 16) {
    if (text.size() > 8) return std::nullopt;
    const int32_t wrapped = static_cast<int32_t>(static_cast<uint32_t>(*value));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(wrapped)) : wrapped;
  }
  const int64_t signed_value = negative ? -*value : *value;
  if (signed_value < INT32_MIN || signed_value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(signed_value);
}

}  // namespace folivant
