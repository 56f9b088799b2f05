#include "platform/markup.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace folivant {

namespace {

// The named character references of XHTML 1.0 (Latin-1, special and symbol
// sets), which its DTD defines for classic pages and HTML5 knows as well.
constexpr std::string_view kEntityNames =
    " nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg plusmn sup2 sup3"
    " acute micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 iquest Agrave Aacute Acirc Atilde Auml"
    " Aring AElig Ccedil Egrave Eacute Ecirc Euml Igrave Iacute Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde"
    " Ouml times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN szlig agrave aacute acirc atilde auml aring aelig"
    " ccedil egrave eacute ecirc euml igrave iacute icirc iuml eth ntilde ograve oacute ocirc otilde ouml divide"
    " oslash ugrave uacute ucirc uuml yacute thorn yuml"
    " quot amp lt gt apos OElig oelig Scaron scaron Yuml circ tilde ensp emsp thinsp zwnj zwj lrm rlm ndash"
    " mdash lsquo rsquo sbquo ldquo rdquo bdquo dagger Dagger permil lsaquo rsaquo euro"
    " fnof Alpha Beta Gamma Delta Epsilon Zeta Eta Theta Iota Kappa Lambda Mu Nu Xi Omicron Pi Rho Sigma Tau"
    " Upsilon Phi Chi Psi Omega alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron"
    " pi rho sigmaf sigma tau upsilon phi chi psi omega thetasym upsih piv bull hellip prime Prime oline frasl"
    " weierp image real trade alefsym larr uarr rarr darr harr crarr lArr uArr rArr dArr hArr forall part exist"
    " empty nabla isin notin ni prod sum minus lowast radic prop infin ang and or cap cup int there4 sim cong"
    " asymp ne equiv le ge sub sup nsub sube supe oplus otimes perp sdot lceil rceil lfloor rfloor lang rang loz"
    " spades clubs hearts diams ";

constexpr std::string_view kInlineElements[] = {"b", "i", "em", "strong"};
constexpr std::string_view kAddressSchemes[] = {"http://", "https://", "mailto:"};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsTagSpace(char c) { return c == ' ' || c == '\t'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) { return AsciiLower(t) == p; });
}

// A character that a page may hold: XML 1.0 allows no other.
bool IsPageCharacter(uint32_t code) {
  return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The length of the character reference at the start of `text` ("&amp;",
// "&#233;", "&#xE9;"), or 0 when it begins none.
size_t ReferenceLength(std::string_view text) {
  // The longest reference is a name of 8 letters or 7 decimal digits.
  constexpr size_t kLongest = 10;
  const size_t end = text.substr(0, kLongest + 1).find(';');
  if (end == std::string_view::npos || end < 2) return 0;
  const std::string_view body = text.substr(1, end - 1);
  if (body[0] != '#') {
    if (!std::all_of(body.begin(), body.end(), [](char c) { return IsAsciiLetter(c) || IsDigit(c); })) return 0;
    // Appended, not " " + body + " ": GCC 12 at -O3 takes that for an overlapping copy (-Wrestrict).
    std::string spaced(1, ' ');
    spaced.append(body);
    spaced += ' ';
    return kEntityNames.find(spaced) == std::string_view::npos ? 0 : end + 1;
  }
  const bool hex = body.size() > 1 && body[1] == 'x';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 7) return 0;
  uint32_t code = 0;
  for (const char c : digits) {
    if (hex ? !IsHexDigit(c) : !IsDigit(c)) return 0;
    code = code * (hex ? 16 : 10) + static_cast<uint32_t>(IsDigit(c) ? c - '0' : AsciiLower(c) - 'a' + 10);
  }
  return IsPageCharacter(code) ? end + 1 : 0;
}

// An address kept in a link, escaped for a double-quoted attribute value.
std::string AttributeValue(std::string_view address) {
  std::string value;
  for (size_t i = 0; i < address.size(); ++i) {
    const char c = address[i];
    if (c == '&') {
      const size_t reference = ReferenceLength(address.substr(i));
      if (reference == 0) {
        value += "&amp;";
        continue;
      }
      value += address.substr(i, reference);
      i += reference - 1;
    } else if (c == '<') {
      value += "&lt;";
    } else if (c == '>') {
      value += "&gt;";
    } else if (c == '"') {
      value += "&quot;";
    } else {
      value += c;
    }
  }
  return value;
}

// A tag that is kept: its lower-case element name and the text it is written as.
struct TTag {
  std::string Name;
  bool Closing = false;
  std::string Text;
  size_t Length = 0;
};

// Reads `<a href="...">` after its "<a" (at `pos`): only the one attribute,
// quoted, whose value begins with an address scheme a visitor may follow.
std::optional<TTag> ReadLink(std::string_view text, size_t pos) {
  if (pos >= text.size() || !IsTagSpace(text[pos])) return std::nullopt;
  while (pos < text.size() && IsTagSpace(text[pos])) ++pos;
  if (!StartsWithNoCase(text.substr(pos), "href")) return std::nullopt;
  pos += 4;
  while (pos < text.size() && IsTagSpace(text[pos])) ++pos;
  if (pos >= text.size() || text[pos] != '=') return std::nullopt;
  ++pos;
  while (pos < text.size() && IsTagSpace(text[pos])) ++pos;
  if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\'')) return std::nullopt;
  const char quote = text[pos++];
  const size_t close = text.find(quote, pos);
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view address = text.substr(pos, close - pos);
  // A link never spans lines, and control characters have no place in an address.
  if (std::any_of(address.begin(), address.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return std::nullopt;
  if (std::none_of(std::begin(kAddressSchemes), std::end(kAddressSchemes),
                   [&](std::string_view scheme) { return StartsWithNoCase(address, scheme); }))
    return std::nullopt;
  pos = close + 1;
  while (pos < text.size() && IsTagSpace(text[pos])) ++pos;
  if (pos >= text.size() || text[pos] != '>') return std::nullopt;
  return TTag{"a", false, "<a href=\"" + AttributeValue(address) + "\">", pos + 1};
}

// The kept tag at the start of `text` (which begins with "<"), or nothing.
std::optional<TTag> ReadTag(std::string_view text) {
  size_t pos = 1;
  const bool closing = pos < text.size() && text[pos] == '/';
  if (closing) ++pos;
  const size_t name_start = pos;
  while (pos < text.size() && IsAsciiLetter(text[pos])) ++pos;
  std::string name(text.substr(name_start, pos - name_start));
  std::transform(name.begin(), name.end(), name.begin(), AsciiLower);
  if (name == "a" && !closing) return ReadLink(text, pos);
  const bool inline_element = name == "a" || std::find(std::begin(kInlineElements), std::end(kInlineElements), name) !=
                                                 std::end(kInlineElements);
  if (!inline_element && !(name == "br" && !closing)) return std::nullopt;
  while (pos < text.size() && IsTagSpace(text[pos])) ++pos;
  // A line break may be written as an empty element, "<br/>" or "<br />".
  if (name == "br" && pos < text.size() && text[pos] == '/') ++pos;
  if (pos >= text.size() || text[pos] != '>') return std::nullopt;
  const std::string written = name == "br" ? "<br />" : (closing ? "</" : "<") + name + ">";
  return TTag{name, closing, written, pos + 1};
}

// Writes the kept markup, opening each element only where something goes
// inside it, so that no empty element is written. The elements written are
// always the first ones of those open.
class TMarkupWriter {
 public:
  std::string Finish() {
    CloseAll();
    return std::move(out_);
  }

  void Content(std::string_view text) {
    for (; written_ < open_.size(); ++written_) out_ += open_[written_].Text;
    out_ += text;
  }

  // White space goes where it stands, before elements that are not yet open.
  void Space(char c) { out_ += c; }

  // Every line holds its own elements: what is open ends with the line.
  void LineBreak(char c) {
    CloseAll();
    out_ += c;
  }

  // False when the tag cannot be kept here: a link inside a link, or a
  // closing tag of an element that is not open.
  bool Tag(const TTag& tag) {
    if (tag.Name == "br") {
      Content(tag.Text);
      return true;
    }
    if (!tag.Closing) {
      if (tag.Name == "a" && std::any_of(open_.begin(), open_.end(), [](const TOpen& e) { return e.Name == "a"; }))
        return false;
      open_.push_back({tag.Name, tag.Text});
      return true;
    }
    const auto found =
        std::find_if(open_.rbegin(), open_.rend(), [&](const TOpen& element) { return element.Name == tag.Name; });
    if (found == open_.rend()) return false;
    CloseDownTo(static_cast<size_t>(open_.rend() - found) - 1);
    return true;
  }

 private:
  struct TOpen {
    std::string Name;
    std::string Text;
  };

  // Closes the elements from the innermost down to the one at `index`, that one included.
  void CloseDownTo(size_t index) {
    while (open_.size() > index) {
      if (open_.size() <= written_) {
        out_ += "</" + open_.back().Name + ">";
        --written_;
      }
      open_.pop_back();
    }
  }

  void CloseAll() { CloseDownTo(0); }

  std::string out_;
  std::vector<TOpen> open_;
  size_t written_ = 0;
};

}  // namespace

std::string SafeInlineMarkup(std::string_view text) {
  TMarkupWriter writer;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      writer.LineBreak(c);
    } else if (c == ' ' || c == '\t') {
      writer.Space(c);
    } else if (c == '&') {
      const size_t reference = ReferenceLength(text.substr(i));
      writer.Content(reference ? text.substr(i, reference) : "&amp;");
      i += reference ? reference : 1;
      continue;
    } else if (c == '<') {
      const std::optional<TTag> tag = ReadTag(text.substr(i));
      if (tag && writer.Tag(*tag)) {
        i += tag->Length;
        continue;
      }
      writer.Content("&lt;");
    } else if (c == '>') {
      writer.Content("&gt;");
    } else {
      writer.Content(text.substr(i, 1));
    }
    ++i;
  }
  return writer.Finish();
}

std::string MarkupText(std::string_view safe_markup) {
  std::string text;
  for (size_t i = 0; i < safe_markup.size(); ++i) {
    const char c = safe_markup[i];
    if (c == '<') {
      const size_t end = safe_markup.find('>', i);
      if (end == std::string_view::npos) break;
      if (safe_markup.substr(i, end - i).starts_with("<br")) text += ' ';
      i = end;
    } else if (c == '\r' || c == '\n') {
      text += ' ';
      if (c == '\r' && i + 1 < safe_markup.size() && safe_markup[i + 1] == '\n') ++i;
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace folivant
