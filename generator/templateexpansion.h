#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "generator/utilities.h"

namespace folivant {

/// A text token replaced inside whatever line it stands in, as often as it occurs.
struct TTemplatePlaceholder {
  std::string_view Token;
  std::string Value;
};

/// A line consisting of `Text` alone, replaced as a whole by the lines `Block` builds.
struct TTemplateMarker {
  std::string_view Text;
  std::function<TLineList()> Block;
};

/// Splits `text` into lines and remembers each marker's line (the last one
/// when a marker text occurs twice), fills the placeholders of every line in
/// the given order, then replaces the marker lines from the bottom up. Block
/// lines are not searched for placeholders; the first line is never a marker.
TLineList ExpandTemplate(std::string_view text, std::span<const TTemplatePlaceholder> placeholders,
                         std::span<const TTemplateMarker> markers);

}  // namespace folivant
