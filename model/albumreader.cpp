// Reads album files: TAlbum::LoadFromFile picks the format, ReadXmlAlbum
// reads the ".alb" XML file with pugixml.

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

// How much of a value an error message quotes.
constexpr size_t kQuotedCharacters = 40;

// An album file holds a few hundred bytes of texts and paths per photograph:
// 64 MiB is far beyond any real album and still reads in a moment.
constexpr size_t kMaxAlbumFileSize = 64 << 20;

constexpr char kIntegerRule[] = "it must be a whole number from -2147483648 to 2147483647";

// UTF-16 files (with or without a byte-order mark) become UTF-8 before
// parsing, so that the parser's offsets and the line numbers of messages
// refer to the same text whatever the file's encoding. Everything else is
// parsed as UTF-8.
std::string Utf8Document(std::string_view bytes) {
  const auto starts_with = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
  using namespace std::string_view_literals;
  if (starts_with("\xFF\xFE"sv)) return Utf16ToUtf8(bytes.substr(2), false);
  if (starts_with("\xFE\xFF"sv)) return Utf16ToUtf8(bytes.substr(2), true);
  if (starts_with("<\0"sv)) return Utf16ToUtf8(bytes, false);
  if (starts_with("\0<"sv)) return Utf16ToUtf8(bytes, true);
  return std::string(bytes);
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimXmlSpace(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The 1-based line that holds `offset`; CR, LF and CR LF each end a line.
int LineAt(std::string_view text, ptrdiff_t offset) {
  const size_t end = std::min(text.size(), static_cast<size_t>(std::max<ptrdiff_t>(0, offset)));
  int line = 1;
  for (size_t i = 0; i < end; ++i) {
    if (!IsLineBreak(text[i])) continue;
    if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
    ++line;
  }
  return line;
}

// Every message of the reader begins so.
std::string CantOpen(const std::string& file) { return "Can't open the album \"" + SanitizeUtf8(file) + "\": "; }

// A value as a message quotes it: readable text on one line, shortened.
std::string Quoted(std::string_view value) {
  const std::string_view start = FirstCharacters(value, kQuotedCharacters);
  std::string shown;
  for (const char c : SanitizeUtf8(start)) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte < 0x20 || byte == 0x7F ? std::string("\xEF\xBF\xBD") : std::string(1, c);
  }
  if (start.size() < value.size()) shown += "...";
  return "\"" + shown + "\"";
}

// What the element (or its attribute) holds, in a message.
std::string Holds(const std::string& what, std::string_view value) {
  return what + (value.empty() ? " is empty" : " holds " + Quoted(value));
}

std::string ParseProblem(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_bad_pi: return "a processing instruction or the XML declaration is malformed";
    case pugi::status_bad_comment: return "a comment is malformed";
    case pugi::status_bad_cdata: return "a CDATA section is malformed";
    case pugi::status_bad_doctype: return "the document type declaration is malformed";
    case pugi::status_bad_pcdata: return "some text is malformed";
    case pugi::status_bad_start_element: return "a start tag is malformed";
    case pugi::status_bad_attribute: return "an attribute is malformed";
    case pugi::status_bad_end_element: return "an end tag is malformed";
    case pugi::status_end_element_mismatch: return "an end tag does not match its start tag";
    default: return "a tag is malformed";
  }
}

[[noreturn]] void ThrowParseError(const std::string& file, const pugi::xml_parse_result& result,
                                  std::string_view text) {
  if (TrimXmlSpace(text).empty()) throw TError(CantOpen(file) + "the file is empty.");
  if (result.status == pugi::status_no_document_element)
    throw TError(CantOpen(file) + "the file holds no XML element, so it is not an album file.");
  const std::string line = "line " + std::to_string(LineAt(text, result.offset)) + ": ";
  // The parser stops at the last byte of a file cut short, whatever it was reading there.
  if (result.offset + 1 >= static_cast<ptrdiff_t>(text.size()))
    throw TError(CantOpen(file) + line + "the file ends before the album does; it may have been cut short.");
  throw TError(CantOpen(file) + line + "the file is damaged here: " + ParseProblem(result.status) + ".");
}

// The first child element of exactly this name; other node kinds never match.
pugi::xml_node ChildElement(pugi::xml_node parent, const char* name) {
  for (pugi::xml_node child : parent.children(name))
    if (child.type() == pugi::node_element) return child;
  return {};
}

// Calls `apply` with the named child when the element has one.
template <typename Apply>
void IfChild(pugi::xml_node parent, const char* name, Apply apply) {
  if (const pugi::xml_node child = ChildElement(parent, name)) apply(child);
}

// All character data directly inside the element, CDATA sections included, as
// valid UTF-8 (a file that is not UTF-8 is taken as Windows-1252).
std::string ElementText(pugi::xml_node element) {
  std::string text;
  for (pugi::xml_node child : element.children())
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  return AnsiToUtf8(text);
}

// An element or attribute name, as messages show it.
std::string InQuotes(const char* name) { return "\"" + std::string(name) + "\""; }

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

// One reading of one file: the conversions, and messages naming the file and
// the line of the element at fault.
class TXmlAlbumReader {
 public:
  TXmlAlbumReader(const std::string& file, std::string_view text) : file_(file), text_(text) {}

  void ReadSettings(pugi::xml_node element, TAlbumSettings& settings) const;
  void ReadLayout(pugi::xml_node element, TAlbumSettings& settings) const;
  std::unique_ptr<TPhotograph> ReadPhotograph(pugi::xml_node element) const;

 private:
  [[noreturn]] void Fail(pugi::xml_node element, const std::string& problem) const {
    throw TError(CantOpen(file_) + "line " + std::to_string(LineAt(text_, element.offset_debug())) + ": " + problem +
                 ".");
  }
  // The element's text is not a value of its kind; `rule` says what is accepted.
  [[noreturn]] void FailValue(pugi::xml_node element, std::string_view text, std::string_view rule) const {
    Fail(element, Holds(InQuotes(element.name()), text) + "; " + std::string(rule));
  }

  int32_t Integer(pugi::xml_node element) const {
    const std::string text = ElementText(element);
    const std::optional<int32_t> value = ParseDecimal(text);
    if (!value) FailValue(element, text, kIntegerRule);
    return *value;
  }

  TColor Color(pugi::xml_node element) const { return static_cast<TColor>(Integer(element)); }

  int32_t IntegerAttribute(pugi::xml_node element, const char* name) const {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) Fail(element, InQuotes(element.name()) + " has no " + InQuotes(name) + " attribute");
    const std::string text = AnsiToUtf8(attribute.value());
    const std::optional<int32_t> value = ParseDecimal(text);
    if (!value)
      Fail(element,
           Holds("the " + InQuotes(name) + " attribute of " + InQuotes(element.name()), text) + "; " + kIntegerRule);
    return *value;
  }

  // "True" or "False" in any letter case, or a number: 0 is false.
  bool Boolean(pugi::xml_node element) const {
    const std::string text = ElementText(element);
    const std::string word = AsciiLowerCase(TrimXmlSpace(text));
    if (word == "true") return true;
    if (word == "false") return false;
    const std::optional<int32_t> number = ParseDecimal(text);
    if (!number) FailValue(element, text, "it must be True, False or a whole number");
    return *number != 0;
  }

  // The conversions' own messages name neither the value nor what is accepted.
  TPhotoSize PhotoSize(pugi::xml_node element) const {
    const std::string text = ElementText(element);
    try {
      return TextToPhotoSize(text);
    } catch (const TError&) {
      FailValue(element, text, "it must be small, medium, large, original or custom");
    }
  }

  TRotation Rotation(pugi::xml_node element) const {
    const std::string text = ElementText(element);
    try {
      return TextToRotation(text);
    } catch (const TError&) {
      FailValue(element, text, "it must be none, left, right or upsidedown");
    }
  }

  TPageStyle PageStyle(pugi::xml_node element) const {
    const std::string text = ElementText(element);
    try {
      return TextToPageStyle(text);
    } catch (const TError&) {
      FailValue(element, text, "it must be classic or modern");
    }
  }

  // The exact bytes of the "bytes" attribute when the writer gave one, else the text.
  std::string Path(pugi::xml_node element) const {
    const pugi::xml_attribute bytes = element.attribute("bytes");
    if (!bytes) return ElementText(element);
    const std::optional<std::string> path = PercentDecodedPath(bytes.value());
    if (!path)
      Fail(element, Holds("the \"bytes\" attribute of " + InQuotes(element.name()), bytes.value()) +
                        "; it must be a path with each \"%\" followed by two hexadecimal digits");
    return *path;
  }

  const std::string& file_;
  std::string_view text_;
};

void TXmlAlbumReader::ReadSettings(pugi::xml_node element, TAlbumSettings& settings) const {
  if (const pugi::xml_node size = ChildElement(element, "photosize")) {
    settings.SetPhotoSize(PhotoSize(size));
    settings.PhotoWidth = IntegerAttribute(size, "width");
    settings.PhotoHeight = IntegerAttribute(size, "height");
  }
  if (const pugi::xml_node size = ChildElement(element, "thumbsize")) {
    settings.SetThumbSize(PhotoSize(size));
    settings.ThumbWidth = IntegerAttribute(size, "width");
    settings.ThumbHeight = IntegerAttribute(size, "height");
  }
  IfChild(element, "homeurl", [&](pugi::xml_node child) { settings.HomeURL = ElementText(child); });
  IfChild(element, "outputdirectory", [&](pugi::xml_node child) { settings.SetOutputDirectory(Path(child)); });
  IfChild(element, "navigateinloop", [&](pugi::xml_node child) { settings.NavigateInLoop = Boolean(child); });
  IfChild(element, "albumcopy", [&](pugi::xml_node child) { settings.AlbumCopy = Boolean(child); });
  IfChild(element, "webaddress", [&](pugi::xml_node child) { settings.WebAddress = ElementText(child); });
  IfChild(element, "zipdownload", [&](pugi::xml_node child) { settings.ZipDownload = Boolean(child); });
  IfChild(element, "originaldownloads", [&](pugi::xml_node child) { settings.OriginalDownloads = Boolean(child); });
}

void TXmlAlbumReader::ReadLayout(pugi::xml_node element, TAlbumSettings& settings) const {
  TColorScheme& scheme = settings.ColorScheme;
  IfChild(element, "colourscheme", [&](pugi::xml_node child) { scheme.Name = ElementText(child); });
  IfChild(element, "pagecolor", [&](pugi::xml_node child) { scheme.SetPageColor(Color(child)); });
  IfChild(element, "textcolor", [&](pugi::xml_node child) { scheme.TextColor = Color(child); });
  IfChild(element, "linkcolor", [&](pugi::xml_node child) { scheme.LinkColor = Color(child); });
  IfChild(element, "hotlinkcolor", [&](pugi::xml_node child) { scheme.HotLinkColor = Color(child); });
  IfChild(element, "thumbnailrows", [&](pugi::xml_node child) { settings.ThumbnailRows = Integer(child); });
  IfChild(element, "thumbnailcols", [&](pugi::xml_node child) { settings.ThumbnailCols = Integer(child); });
  IfChild(element, "navigationbelowphoto",
          [&](pugi::xml_node child) { settings.NavigationBelowPhoto = Boolean(child); });
  IfChild(element, "pagestyle", [&](pugi::xml_node child) { settings.PageStyle = PageStyle(child); });
  IfChild(element, "cameradata", [&](pugi::xml_node child) { settings.ShowCameraData = Boolean(child); });
}

// The file name goes first: setting it reads the photograph's metadata, whose
// IPTC texts the stored title and caption then replace.
std::unique_ptr<TPhotograph> TXmlAlbumReader::ReadPhotograph(pugi::xml_node element) const {
  auto photograph = std::make_unique<TPhotograph>();
  IfChild(element, "filename",
          [&](pugi::xml_node child) { photograph->SetFileName(ResolvePhotoPath(Path(child), file_)); });
  IfChild(element, "title", [&](pugi::xml_node child) { photograph->Title = ElementText(child); });
  IfChild(element, "caption", [&](pugi::xml_node child) { photograph->Caption = ElementText(child); });
  IfChild(element, "rotation", [&](pugi::xml_node child) { photograph->Rotation = Rotation(child); });
  return photograph;
}

}  // namespace

void ReadXmlAlbum(TAlbum& album, std::string_view bytes) {
  const std::string text = Utf8Document(bytes);
  pugi::xml_document document;
  // White-space-only text is kept, so that a title of blanks reads back as written.
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
  if (!result) ThrowParseError(album.FileName, result, text);

  const pugi::xml_node root = document.document_element();
  // A missing attribute reads as "", which is refused like any other version.
  if (std::string_view(root.attribute("version").value()) != "1.8")
    throw TError("Can't open this album. It may have been saved in a newer version.");
  const TXmlAlbumReader reader(album.FileName, text);
  IfChild(root, "title", [&](pugi::xml_node child) { album.Title = ElementText(child); });
  IfChild(root, "description", [&](pugi::xml_node child) { album.Description = ElementText(child); });
  if (const pugi::xml_node settings = ChildElement(root, "settings")) reader.ReadSettings(settings, album.Settings);
  if (const pugi::xml_node layout = ChildElement(root, "layout")) reader.ReadLayout(layout, album.Settings);
  if (const pugi::xml_node photographs = ChildElement(root, "photographs"))
    for (pugi::xml_node photo : photographs.children("photo"))
      if (photo.type() == pugi::node_element) album.Photographs.Add(reader.ReadPhotograph(photo));
}

std::unique_ptr<TAlbum> TAlbum::LoadFromFile(const std::string& path) {
  auto album = std::make_unique<TAlbum>();
  album->FileName = path;
  // Empty rather than the creation defaults: a file without them reads back without them.
  album->Title.clear();
  album->Description.clear();
  const std::string bytes = ReadFileBytes(path, kMaxAlbumFileSize);
  // Older album files are INI text and always begin with a section header.
  if (!bytes.empty() && bytes.front() == '[')
    ImportLegacyAlbum(*album, bytes);
  else
    ReadXmlAlbum(*album, bytes);
  album->HasMissing = album->AnyMissing();
  return album;
}

}  // namespace folivant
