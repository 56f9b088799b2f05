// Writes the ".alb" album file. The bytes are assembled here rather than by
// pugixml's serializer, because the file's layout is fixed to the byte (no
// declaration, two-space indentation, text elements on one line, CR LF line
// ends) and pugixml writes LF line ends and its own forms of empty elements.

#include <string>
#include <string_view>

#include "model/albumclasses.h"
#include "model/albumfile.h"
#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {
namespace {

// Character content as XML requires it. Invalid UTF-8 and the control
// characters XML 1.0 forbids become U+FFFD, so the file always parses. CR is
// written as a character reference, because a parser turns a raw CR (and
// CR LF) into LF: this way a text's line breaks come back exactly as they were.
std::string EscapeText(std::string_view text) {
  std::string escaped;
  for (char c : SanitizeUtf8(text)) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '\r': escaped += "&#13;"; break;
      case '\t':
      case '\n': escaped += c; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20)
          escaped += "\xEF\xBF\xBD";
        else
          escaped += c;
    }
  }
  return escaped;
}

std::string BooleanText(bool value) { return value ? "True" : "False"; }

class TAlbumFileWriter {
 public:
  std::string Text() && { return std::move(text_); }

  void Open(int level, std::string_view name, std::string_view attributes = "") {
    Line(level, "<" + std::string(name) + std::string(attributes) + ">");
  }
  void Close(int level, std::string_view name) { Line(level, "</" + std::string(name) + ">"); }
  /// An element with text keeps start tag, text and end tag on one line; an
  /// empty text gives "<name></name>".
  void Element(int level, std::string_view name, std::string_view text, std::string_view attributes = "") {
    Line(level,
         "<" + std::string(name) + std::string(attributes) + ">" + EscapeText(text) + "</" + std::string(name) + ">");
  }
  void ElementIfNotEmpty(int level, std::string_view name, std::string_view text) {
    if (!text.empty()) Element(level, name, text);
  }
  /// A path whose bytes the element's text cannot carry (not UTF-8, or holding
  /// characters XML forbids) also gets them percent-encoded in a "bytes"
  /// attribute, which the reader prefers; the text stays readable for people
  /// and older readers. Every other path is written as plain text.
  void PathElement(int level, std::string_view name, const std::string& path) {
    const bool lossless = XmlCharacterText(path) == path;
    Element(level, name, path, lossless ? "" : " bytes=\"" + PercentEncodedPath(path) + "\"");
  }

 private:
  void Line(int level, const std::string& content) {
    text_.append(static_cast<size_t>(level) * 2, ' ');
    text_ += content;
    text_ += "\r\n";
  }

  std::string text_;
};

std::string SizeAttributes(int32_t width, int32_t height) {
  return " width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) + "\"";
}

void WriteSettings(TAlbumFileWriter& out, const TAlbumSettings& settings) {
  out.Open(1, "settings");
  out.Element(2, "photosize", PhotoSizeToText(settings.PhotoSize),
              SizeAttributes(settings.PhotoWidth, settings.PhotoHeight));
  out.Element(2, "thumbsize", PhotoSizeToText(settings.ThumbSize),
              SizeAttributes(settings.ThumbWidth, settings.ThumbHeight));
  out.ElementIfNotEmpty(2, "homeurl", settings.HomeURL);
  out.PathElement(2, "outputdirectory", settings.OutputDirectory);
  out.Element(2, "navigateinloop", BooleanText(settings.NavigateInLoop));
  // Only when off, so that older files keep their bytes and older readers skip it.
  if (!settings.AlbumCopy) out.Element(2, "albumcopy", BooleanText(false));
  out.ElementIfNotEmpty(2, "webaddress", settings.WebAddress);
  if (settings.ZipDownload) out.Element(2, "zipdownload", BooleanText(true));
  if (settings.OriginalDownloads) out.Element(2, "originaldownloads", BooleanText(true));
  out.Close(1, "settings");
}

void WriteLayout(TAlbumFileWriter& out, const TAlbumSettings& settings) {
  const TColorScheme& scheme = settings.ColorScheme;
  out.Open(1, "layout");
  out.Element(2, "colourscheme", scheme.Name);
  out.Element(2, "pagecolor", ColorText(scheme.PageColor()));
  out.Element(2, "textcolor", ColorText(scheme.TextColor));
  out.Element(2, "linkcolor", ColorText(scheme.LinkColor));
  out.Element(2, "hotlinkcolor", ColorText(scheme.HotLinkColor));
  out.Element(2, "thumbnailrows", std::to_string(settings.ThumbnailRows));
  out.Element(2, "thumbnailcols", std::to_string(settings.ThumbnailCols));
  out.Element(2, "navigationbelowphoto", BooleanText(settings.NavigationBelowPhoto));
  // Written only when they differ from what older files mean, so a classic
  // album's file keeps its bytes and older readers skip what they do not know.
  if (settings.PageStyle != TPageStyle::Classic) out.Element(2, "pagestyle", PageStyleToText(settings.PageStyle));
  if (settings.ShowCameraData) out.Element(2, "cameradata", BooleanText(true));
  out.Close(1, "layout");
}

void WritePhotograph(TAlbumFileWriter& out, const TPhotograph& photograph) {
  out.Open(2, "photo");
  out.ElementIfNotEmpty(3, "title", photograph.Title);
  out.ElementIfNotEmpty(3, "caption", photograph.Caption);
  out.PathElement(3, "filename", photograph.FileName);
  if (photograph.Rotation != TRotation::None) out.Element(3, "rotation", RotationToText(photograph.Rotation));
  out.Close(2, "photo");
}

}  // namespace

// Colours go out as the signed 32-bit values the Windows version stores, so
// that every value reads back unchanged.
std::string ColorText(TColor color) { return std::to_string(static_cast<int32_t>(color)); }

std::string AlbumFileText(const TAlbum& album) {
  TAlbumFileWriter out;
  out.Open(0, "folivant", " version=\"1.8\"");
  out.Element(1, "title", album.Title);
  out.ElementIfNotEmpty(1, "description", album.Description);
  WriteSettings(out, album.Settings);
  WriteLayout(out, album.Settings);
  out.Open(1, "photographs");
  for (int i = 0; i < album.Photographs.Count(); ++i) WritePhotograph(out, album.Photographs[i]);
  out.Close(1, "photographs");
  out.Close(0, "folivant");
  return std::move(out).Text();
}

void TAlbum::SaveToFile() {
  WriteFileAtomically(FileName, AlbumFileText(*this));
  Saved = true;
}

}  // namespace folivant
