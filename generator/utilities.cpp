#include "generator/utilities.h"

#include <cstdio>

#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {

std::string ColorToHtml(TColor color) {
  char html[8];
  std::snprintf(html, sizeof html, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  return html;
}

std::string EscapeAttributeValue(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

void SpliceLines(TLineList& lines, TLineList block, int position) {
  const auto at = lines.erase(lines.begin() + position);
  lines.insert(at, std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
}

TLineList SplitLines(std::string_view text) {
  const std::vector<std::string_view> views = SplitLineViews(text);
  return TLineList(views.begin(), views.end());
}

std::string JoinLinesCrLf(const TLineList& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

void WriteLinesToFile(const TLineList& lines, const std::string& path) {
  WriteFileAtomically(path, JoinLinesCrLf(lines));
}

}  // namespace folivant
