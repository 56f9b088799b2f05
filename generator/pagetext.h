#pragma once

// How album texts enter a page; shared by the index and photo page writers.

#include <string>
#include <string_view>

#include "generator/utilities.h"
#include "platform/text.h"

namespace folivant {

/// Album text for element content: verbatim, so typed markup stays markup,
/// with bytes that are not UTF-8 replaced and characters that XML forbids
/// (control characters typed or read from IPTC data) dropped, so the page still parses.
inline std::string ContentText(std::string_view text) { return XmlCharacterText(text); }

/// Album text for a double-quoted attribute value, cleaned as ContentText does.
inline std::string AttributeText(std::string_view text) { return EscapeAttributeValue(XmlCharacterText(text)); }

/// One element per line of `text` that is not blank, each line as it stands:
/// "<p class=\"" + css_class + "\">" + line + "</p>".
TLineList Paragraphs(std::string_view text, std::string_view css_class);

}  // namespace folivant
