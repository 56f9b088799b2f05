#pragma once

// The markup that text from elsewhere (a photograph's metadata) may carry into a page.

#include <string>
#include <string_view>

namespace folivant {

/// `text` (UTF-8) as page markup that keeps only the inline elements b, i,
/// em, strong, br and a with an http, https or mailto href, written in lower
/// case ("<br />", `<a href="...">`), and the character references of XHTML
/// 1.0, which every page style knows. Everything else becomes text: a "<" or
/// ">" that is not part of a kept tag (scripts, event attributes, unknown
/// tags) and an "&" that begins no reference are written as "&lt;", "&gt;"
/// and "&amp;". The kept elements are balanced within each line, since a page
/// sets each line of a caption in a paragraph of its own: an element still
/// open at a line break or at the end is closed there, an element with
/// nothing inside is left out, and a closing tag of an element that is not
/// open becomes text. Applying it again changes nothing.
std::string SafeInlineMarkup(std::string_view text);

/// The text of markup that SafeInlineMarkup made, for places that take no
/// elements (a page's title, attribute values): its tags left out, a line
/// break (a "<br />" or a line's end) becoming one space, white space runs
/// kept as they are, its character references kept as references.
std::string MarkupText(std::string_view safe_markup);

}  // namespace folivant
