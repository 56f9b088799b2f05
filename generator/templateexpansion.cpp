#include "generator/templateexpansion.h"

#include <optional>
#include <vector>

#include "platform/text.h"

namespace folivant {

TLineList ExpandTemplate(std::string_view text, std::span<const TTemplatePlaceholder> placeholders,
                         std::span<const TTemplateMarker> markers) {
  TLineList lines = SplitLines(text);
  std::vector<std::optional<size_t>> marker_lines(markers.size());
  for (size_t line = 0; line < lines.size(); ++line) {
    for (size_t m = 0; m < markers.size(); ++m)
      if (lines[line] == markers[m].Text) marker_lines[m] = line;
    for (const TTemplatePlaceholder& placeholder : placeholders)
      lines[line] = ReplaceAll(std::move(lines[line]), placeholder.Token, placeholder.Value);
  }
  // Bottom-up, so that the remembered lines above a splice keep their positions.
  for (size_t line = lines.size(); line-- > 1;) {
    for (size_t m = 0; m < markers.size(); ++m)
      if (marker_lines[m] == line) SpliceLines(lines, markers[m].Block(), static_cast<int>(line));
  }
  return lines;
}

}  // namespace folivant
