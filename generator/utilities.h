#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/albumclasses.h"

namespace folivant {

/// An ordered list of byte strings; pages and "main.css" are built as line lists.
using TLineList = std::vector<std::string>;

/// "#RRGGBB" in upper-case hexadecimal, red first.
std::string ColorToHtml(TColor color);
/// The text with &, <, > and " written as character references, so that it
/// can stand inside a double-quoted attribute value.
std::string EscapeAttributeValue(std::string_view text);
/// Replaces the line at `position` by the lines of `block`, in block order.
void SpliceLines(TLineList& lines, TLineList block, int position);
/// The lines of SplitLineViews, as strings of their own.
TLineList SplitLines(std::string_view text);
/// The lines, each followed by CR LF, without a byte-order mark.
std::string JoinLinesCrLf(const TLineList& lines);
/// Writes the lines as JoinLinesCrLf gives them, replacing the file atomically.
/// Throws TError with the platform's message.
void WriteLinesToFile(const TLineList& lines, const std::string& path);

}  // namespace folivant
