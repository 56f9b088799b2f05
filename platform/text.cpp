#include "platform/text.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <cstdint>

namespace folivant {
namespace {

// Length of the valid UTF-8 sequence at the start of `bytes`, 0 when there is none.
size_t Utf8SequenceLength(std::string_view bytes) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length;
  uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2, code = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3, code = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4, code = lead & 0x07;
  else
    return 0;
  if (bytes.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (overlong || surrogate || code > 0x10FFFF) return 0;
  return length;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Windows-1252 characters 0x80..0x9F; the unassigned ones map to U+FFFD.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

std::string AnsiToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

std::string SanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const size_t length = Utf8SequenceLength(bytes);
    if (length == 0) {
      AppendUtf8(out, 0xFFFD);
      bytes.remove_prefix(1);
    } else {
      out.append(bytes.substr(0, length));
      bytes.remove_prefix(length);
    }
  }
  return out;
}

std::string XmlCharacterText(std::string_view bytes) {
  using namespace std::string_view_literals;
  const std::string text = SanitizeUtf8(bytes);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') continue;
    const std::string_view rest = std::string_view(text).substr(i, 3);
    if (rest == "\xEF\xBF\xBE"sv || rest == "\xEF\xBF\xBF"sv) {
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  std::u16string units;
  units.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<uint8_t>(bytes[i]), second = static_cast<uint8_t>(bytes[i + 1]);
    units += static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  if (bytes.size() % 2 != 0) units += u'\uFFFD';
  std::string out;
  // ICU writes U+FFFD for every unpaired surrogate.
  icu::UnicodeString(units.data(), static_cast<int32_t>(units.size())).toUTF8String(out);
  return out;
}

std::string_view FirstCharacters(std::string_view text, size_t count) {
  size_t end = 0;
  for (; count > 0 && end < text.size(); --count) end += std::max<size_t>(1, Utf8SequenceLength(text.substr(end)));
  return text.substr(0, end);
}

std::vector<std::string_view> SplitLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string AsSentence(std::string_view text) {
  std::string sentence(text);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') sentence += '.';
  return sentence;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

std::string AsciiLowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

std::string AsciiUpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

std::string ReplaceAll(std::string text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return text;
  for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, at)) {
    text.replace(at, search.size(), replacement);
    at += replacement.size();
  }
  return text;
}

}  // namespace folivant
