// Reads album files: LoadFromFile picks the format, ReadXmlAlbum reads the
// ".alb" XML file with pugixml.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "model/albumclasses.h"
#include "model/albumfile.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {
namespace {

// How much of a line or a value an error message quotes.
constexpr size_t kQuotedCharacters = 40;

// An album file holds a few hundred bytes of texts and paths per photograph:
// 64 MiB is far beyond any real album and still reads in a moment.
constexpr size_t kMaxAlbumFileSize = 64 << 20;

// UTF-16 files (with or without a byte-order mark) become UTF-8 before
// parsing, so that the parser's error offset and the quoted line refer to the
// same text whatever the file's encoding. Everything else is parsed as UTF-8.
std::string Utf8Document(std::string_view bytes) {
  const auto starts_with = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
  using namespace std::string_view_literals;
  if (starts_with("\xFF\xFE"sv)) return Utf16ToUtf8(bytes.substr(2), false);
  if (starts_with("\xFE\xFF"sv)) return Utf16ToUtf8(bytes.substr(2), true);
  if (starts_with("<\0"sv)) return Utf16ToUtf8(bytes, false);
  if (starts_with("\0<"sv)) return Utf16ToUtf8(bytes, true);
  return std::string(bytes);
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The parser's reason, the 1-based line of the error (CR, LF and CR LF each
// end a line) and the beginning of that line.
[[noreturn]] void ThrowParseError(const pugi::xml_parse_result& result, std::string_view text) {
  const size_t offset = std::min(text.size(), static_cast<size_t>(std::max<ptrdiff_t>(0, result.offset)));
  size_t line = 1, line_start = 0;
  for (size_t i = 0; i < offset; ++i) {
    if (!IsLineBreak(text[i])) continue;
    if (text[i] == '\r' && i + 1 < offset && text[i + 1] == '\n') ++i;
    ++line;
    line_start = i + 1;
  }
  size_t line_end = line_start;
  while (line_end < text.size() && !IsLineBreak(text[line_end])) ++line_end;
  const std::string_view source_line = text.substr(line_start, line_end - line_start);
  throw TError(std::string(result.description()) + "\nLine: " + std::to_string(line) + "\n" +
               SanitizeUtf8(FirstCharacters(source_line, kQuotedCharacters)));
}

[[noreturn]] void ThrowConversionError(const std::string& value, const char* kind) {
  throw TError("'" + std::string(FirstCharacters(value, kQuotedCharacters)) + "' is not a valid " + kind + " value");
}

// The first child element of exactly this name; other node kinds never match.
pugi::xml_node ChildElement(pugi::xml_node parent, const char* name) {
  for (pugi::xml_node child : parent.children(name))
    if (child.type() == pugi::node_element) return child;
  return {};
}

// All character data directly inside the element, CDATA sections included, as
// valid UTF-8 (a file that is not UTF-8 is taken as Windows-1252).
std::string ElementText(pugi::xml_node element) {
  std::string text;
  for (pugi::xml_node child : element.children())
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  return AnsiToUtf8(text);
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimXmlSpace(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Decimal with an optional sign, surrounding white space allowed; nothing when
// the text is empty, is not a number or does not fit 32 bits.
std::optional<int32_t> ParseDecimal(std::string_view text) {
  text = TrimXmlSpace(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

int32_t ToInteger(const std::string& text) {
  const std::optional<int32_t> value = ParseDecimal(text);
  if (!value) ThrowConversionError(text, "integer");
  return *value;
}

// "True" or "False" in any letter case, or a number: 0 is false.
bool ToBoolean(const std::string& text) {
  const std::string word = AsciiLowerCase(TrimXmlSpace(text));
  if (word == "true") return true;
  if (word == "false") return false;
  const std::optional<int32_t> number = ParseDecimal(text);
  if (!number) ThrowConversionError(text, "boolean");
  return *number != 0;
}

int32_t IntegerAttribute(pugi::xml_node element, const char* name) {
  return ToInteger(AnsiToUtf8(element.attribute(name).value()));
}

// Calls `apply` with the text of the named child when the element has one.
template <typename Apply>
void IfChild(pugi::xml_node parent, const char* name, Apply apply) {
  if (const pugi::xml_node child = ChildElement(parent, name)) apply(ElementText(child));
}

void ReadSettings(pugi::xml_node element, TAlbumSettings& settings) {
  if (const pugi::xml_node size = ChildElement(element, "photosize")) {
    settings.SetPhotoSize(TextToPhotoSize(ElementText(size)));
    settings.PhotoWidth = IntegerAttribute(size, "width");
    settings.PhotoHeight = IntegerAttribute(size, "height");
  }
  if (const pugi::xml_node size = ChildElement(element, "thumbsize")) {
    settings.SetThumbSize(TextToPhotoSize(ElementText(size)));
    settings.ThumbWidth = IntegerAttribute(size, "width");
    settings.ThumbHeight = IntegerAttribute(size, "height");
  }
  IfChild(element, "homeurl", [&](const std::string& text) { settings.HomeURL = text; });
  IfChild(element, "outputdirectory", [&](const std::string& text) { settings.SetOutputDirectory(text); });
  IfChild(element, "navigateinloop", [&](const std::string& text) { settings.NavigateInLoop = ToBoolean(text); });
}

TColor ToColor(const std::string& text) { return static_cast<TColor>(ToInteger(text)); }

void ReadLayout(pugi::xml_node element, TAlbumSettings& settings) {
  TColorScheme& scheme = settings.ColorScheme;
  IfChild(element, "colourscheme", [&](const std::string& text) { scheme.Name = text; });
  IfChild(element, "pagecolor", [&](const std::string& text) { scheme.SetPageColor(ToColor(text)); });
  IfChild(element, "textcolor", [&](const std::string& text) { scheme.TextColor = ToColor(text); });
  IfChild(element, "linkcolor", [&](const std::string& text) { scheme.LinkColor = ToColor(text); });
  IfChild(element, "hotlinkcolor", [&](const std::string& text) { scheme.HotLinkColor = ToColor(text); });
  IfChild(element, "thumbnailrows", [&](const std::string& text) { settings.ThumbnailRows = ToInteger(text); });
  IfChild(element, "thumbnailcols", [&](const std::string& text) { settings.ThumbnailCols = ToInteger(text); });
  IfChild(element, "navigationbelowphoto",
          [&](const std::string& text) { settings.NavigationBelowPhoto = ToBoolean(text); });
}

// The file name goes first: setting it reads the photograph's metadata, whose
// IPTC texts the stored title and caption then replace.
std::unique_ptr<TPhotograph> ReadPhotograph(pugi::xml_node element) {
  auto photograph = std::make_unique<TPhotograph>();
  IfChild(element, "filename", [&](const std::string& text) { photograph->SetFileName(text); });
  IfChild(element, "title", [&](const std::string& text) { photograph->Title = text; });
  IfChild(element, "caption", [&](const std::string& text) { photograph->Caption = text; });
  IfChild(element, "rotation", [&](const std::string& text) { photograph->Rotation = TextToRotation(text); });
  return photograph;
}

}  // namespace

void ReadXmlAlbum(TAlbum& album, std::string_view bytes) {
  const std::string text = Utf8Document(bytes);
  pugi::xml_document document;
  // White-space-only text is kept, so that a title of blanks reads back as written.
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
  if (!result) ThrowParseError(result, text);

  const pugi::xml_node root = document.document_element();
  // A missing attribute reads as "", which is refused like any other version.
  if (std::string_view(root.attribute("version").value()) != "1.8")
    throw TError("Can't open this album. It may have been saved in a newer version.");
  IfChild(root, "title", [&](const std::string& value) { album.Title = value; });
  IfChild(root, "description", [&](const std::string& value) { album.Description = value; });
  if (const pugi::xml_node settings = ChildElement(root, "settings")) ReadSettings(settings, album.Settings);
  if (const pugi::xml_node layout = ChildElement(root, "layout")) ReadLayout(layout, album.Settings);
  if (const pugi::xml_node photographs = ChildElement(root, "photographs"))
    for (pugi::xml_node photo : photographs.children("photo"))
      if (photo.type() == pugi::node_element) album.Photographs.Add(ReadPhotograph(photo));
}

bool TAlbum::LoadFromFile() {
  Saved = true;
  HasMissing = false;
  Settings = TAlbumSettings();
  Photographs.Clear();
  Title.clear();
  Description.clear();
  const std::string bytes = ReadFileBytes(FileName, kMaxAlbumFileSize);
  // Older album files are INI text and always begin with a section header.
  if (!bytes.empty() && bytes.front() == '[')
    ImportLegacyAlbum(*this, bytes);
  else
    ReadXmlAlbum(*this, bytes);
  HasMissing = AnyMissing();
  return HasMissing;
}

}  // namespace folivant
