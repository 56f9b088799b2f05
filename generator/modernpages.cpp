#include "generator/modernpages.h"

#include <optional>

#include "generator/pagetext.h"
#include "generator/templateexpansion.h"
#include "platform/product.h"
#include "platform/text.h"

namespace folivant {
namespace {

// Keep in sync with resources/modernstylesheet.css: the photo page's title
// (1.5rem and its margins), the figure's margin and some slack, then the text
// navigation (2rem and its margins) and the thumbnail strip above the photograph.
constexpr std::string_view kTitleRoom = "3.5rem";
constexpr std::string_view kTitleAndNavigationRoom = "6rem";
// The strip's cells are the thumbnail height plus padding and borders.
constexpr int kThumbnailCellExtra = 22;

std::string Indent(int depth) { return std::string(static_cast<size_t>(depth), '\t'); }

// Camera data comes from the file, not from the user: shown as text, never as markup.
std::string EscapedText(std::string_view text) { return EscapeAttributeValue(XmlCharacterText(text)); }

const TImageFile* FileWithEnding(const std::vector<TImageFile>& files, std::string_view ending) {
  for (const TImageFile& file : files)
    if (file.Ending == ending) return &file;
  return nullptr;
}

}  // namespace

TModernPageGenerator::TModernPageGenerator(const TAlbum& album, const TPublishedImageFiles& images)
    : TAlbumPageGenerator(album), images_(images) {}

void TModernPageGenerator::FillStylesheet(TLineList& lines) {
  TAlbumPageGenerator::FillStylesheet(lines);
  const TAlbumSettings& settings = album_.Settings;
  const TTemplatePlaceholder placeholders[] = {
      {"<THUMB_HEIGHT>", std::to_string(settings.ThumbHeight)},
      {"<THUMBNAIL_COLUMNS>", std::to_string(settings.ThumbnailCols)},
      {"<PHOTO_TOP_ROOM>", PhotoTopRoom()},
  };
  for (std::string& line : lines)
    for (const TTemplatePlaceholder& placeholder : placeholders)
      line = ReplaceAll(std::move(line), placeholder.Token, placeholder.Value);
}

std::string TModernPageGenerator::PhotoTopRoom() const {
  const TAlbumSettings& settings = album_.Settings;
  if (settings.NavigationBelowPhoto) return std::string(kTitleRoom);
  if (!settings.ThumbNavigationBar) return std::string(kTitleAndNavigationRoom);
  return "(" + std::string(kTitleAndNavigationRoom) + " + " +
         std::to_string(int64_t{settings.ThumbHeight} + kThumbnailCellExtra) + "px)";
}

std::string TModernPageGenerator::GeneratorMeta() const {
  return "<meta name=\"generator\" content=\"Folivant " + std::string(kProgramVersion) + "; " +
         EscapeAttributeValue(kProductWebAddress) + "\">";
}

const std::vector<TImageFile>* TModernPageGenerator::Files(int index) const {
  const size_t at = static_cast<size_t>(index);
  if (at >= images_.size() || !images_[at]) return nullptr;
  return &*images_[at];
}

std::string TModernPageGenerator::Picture(int index, bool thumbnail) const {
  const TPhotograph& photograph = Photo(index);
  const std::string_view ending = thumbnail ? kThumbnailEnding : kPhotoEnding;
  const std::string title = AttributeText(photograph.DisplayTitle());
  const std::vector<TImageFile>* files = Files(index);
  if (files && files->empty()) {
    if (thumbnail) return "<span class=\"unavailable\">" + title + "</span>";
    return "<p class=\"unavailable\">This photograph is not available.</p>";
  }
  const std::string source = AttributeText(photograph.WebName + std::string(ending));
  std::string element = "<img src=\"" + source + "\"";
  if (files) {
    const TImageFile* single = FileWithEnding(*files, ending);
    const TImageFile* twice = FileWithEnding(*files, thumbnail ? kThumbnailDoubleEnding : kPhotoDoubleEnding);
    if (twice)
      element +=
          " srcset=\"" + source + " 1x, " + AttributeText(photograph.WebName + std::string(twice->Ending)) + " 2x\"";
    if (single)
      element += " width=\"" + std::to_string(single->Size.Width) + "\" height=\"" +
                 std::to_string(single->Size.Height) + "\"";
  }
  element += " title=\"" + title + "\" alt=\"" + title + "\"";
  if (thumbnail) element += " loading=\"lazy\"";
  return element + " decoding=\"async\">";
}

TLineList TModernPageGenerator::BuildIndexPage(int page) const {
  const TTemplatePlaceholder placeholders[] = {
      {"<!-- GENERATOR_METATAG -->", GeneratorMeta()},
      {"<!-- ALBUM_TITLE -->", ContentText(album_.Title)},
      {"<!-- ALBUM_HOMEURLTAG -->", HomeNavigation()},
  };
  const TTemplateMarker markers[] = {
      {"<!-- #MARKLINE INDEX -->", [&] { return Grid(page); }},
      {"<!-- #MARKLINE DESCRIPTION -->", [&] { return Paragraphs(album_.Description, "description"); }},
  };
  return ExpandTemplate(LoadTemplate(IndexPageTemplateName(TPageStyle::Modern), "Could not load index page template"),
                        placeholders, markers);
}

TLineList TModernPageGenerator::Grid(int page) const {
  TLineList lines = {Indent(1) + "<main id=\"index\">", Indent(2) + "<ul class=\"grid\">"};
  const int first = (page - 1) * PhotosPerPage();
  for (int index = first; index < PhotoCount() && index - first < PhotosPerPage(); ++index)
    lines.push_back(Indent(3) + "<li><a href=\"" + AttributeText(PhotoPageFileName(index)) + "\">" +
                    Picture(index, true) + "</a></li>");
  lines.push_back(Indent(2) + "</ul>");
  if (IndexPageCount() > 1) lines.push_back(Indent(2) + PageNavigation(page));
  lines.push_back(Indent(1) + "</main>");
  return lines;
}

std::string TModernPageGenerator::PageNavigation(int page) const {
  std::string links = "<nav class=\"pages\">Page:";
  for (int n = 1; n <= IndexPageCount(); ++n) {
    const std::string number = std::to_string(n);
    if (n == page) {
      links += " <span>[" + number + "]</span>";
      continue;
    }
    links += " <a href=\"";
    links += IndexPageFileName(n);
    links += "\" title=\"Jump to index page " + number;
    links += "\">[" + number + "]</a>";
  }
  return links + "</nav>";
}

std::string TModernPageGenerator::HomeNavigation() const {
  if (!HasHomeLink()) return "";
  return "<nav id=\"home\"><a href=\"" + AttributeText(album_.Settings.HomeURL) +
         "\" title=\"Return to Home\">Back to Home</a></nav>";
}

TLineList TModernPageGenerator::BuildPhotoPage(int index) const {
  const bool below = album_.Settings.NavigationBelowPhoto;
  const TTemplatePlaceholder placeholders[] = {
      {"<!-- GENERATOR_METATAG -->", GeneratorMeta()},
      {"<!-- PHOTO_TITLE -->", ContentText(Photo(index).DisplayTitle())},
  };
  const TTemplateMarker markers[] = {
      {"<!-- #MARKLINE RELATIONS -->", [&] { return Relations(index); }},
      {"<!-- #MARKLINE TOPNAVIGATION -->", [&] { return below ? TLineList{} : Navigation(index); }},
      {"<!-- #MARKLINE PHOTO -->", [&] { return TLineList{Indent(2) + Picture(index, false)}; }},
      {"<!-- #MARKLINE CAPTION -->", [&] { return Figure(index); }},
      {"<!-- #MARKLINE BOTTOMNAVIGATION -->", [&] { return below ? Navigation(index) : TLineList{}; }},
  };
  return ExpandTemplate(LoadTemplate(PhotoPageTemplateName(TPageStyle::Modern), "Could not load photo page template"),
                        placeholders, markers);
}

TLineList TModernPageGenerator::Relations(int index) const {
  TLineList lines;
  if (const std::optional<int> previous = PreviousIndex(index))
    lines.push_back(Indent(1) + "<link rel=\"prev\" href=\"" + AttributeText(PhotoPageFileName(*previous)) + "\">");
  if (const std::optional<int> next = NextIndex(index))
    lines.push_back(Indent(1) + "<link rel=\"next\" href=\"" + AttributeText(PhotoPageFileName(*next)) + "\">");
  return lines;
}

// As on the classic pages, the thumbnail strip stands next to the photograph.
TLineList TModernPageGenerator::Navigation(int index) const {
  TLineList lines = {Indent(1) + "<nav id=\"navigation\">"};
  const TLineList strip = ThumbnailStrip(index);
  const std::string text = Indent(2) + TextNavigation(index);
  if (album_.Settings.NavigationBelowPhoto) {
    lines.insert(lines.end(), strip.begin(), strip.end());
    lines.push_back(text);
  } else {
    lines.push_back(text);
    lines.insert(lines.end(), strip.begin(), strip.end());
  }
  lines.push_back(Indent(1) + "</nav>");
  return lines;
}

// The ids are what the page's key script follows; a missing neighbour is
// plain text, so the key does nothing.
std::string TModernPageGenerator::TextNavigation(int index) const {
  const auto link = [&](std::optional<int> target, const char* id, const char* title, const char* text) {
    if (!target) return "<span>" + std::string(text) + "</span>";
    return "<a id=\"" + std::string(id) + "\" href=\"" + AttributeText(PhotoPageFileName(*target)) + "\" title=\"" +
           title + "\">" + text + "</a>";
  };
  return "<p class=\"textnavigation\">" +
         link(PreviousIndex(index), "previous", "Previous Photograph", "&larr; Previous") + " <a id=\"up\" href=\"" +
         IndexPageFileName(IndexPageOfPhoto(index)) + "\" title=\"Return to Index\">Index</a> " +
         link(NextIndex(index), "next", "Next Photograph", "Next &rarr;") + "</p>";
}

TLineList TModernPageGenerator::ThumbnailStrip(int index) const {
  if (!album_.Settings.ThumbNavigationBar) return {};
  TLineList lines = {Indent(2) + "<ul class=\"thumbs\">"};
  for (int offset = -2; offset <= 2; ++offset) {
    if (offset == 0) {
      lines.push_back(Indent(3) + "<li class=\"selected\">" + Picture(index, true) + "</li>");
      continue;
    }
    const std::optional<int> shown = LinkedIndex(index + offset);
    if (!shown) {
      lines.push_back(Indent(3) + "<li class=\"empty\"></li>");
      continue;
    }
    lines.push_back(Indent(3) + "<li><a href=\"" + AttributeText(PhotoPageFileName(*shown)) + "\">" +
                    Picture(*shown, true) + "</a></li>");
  }
  lines.push_back(Indent(2) + "</ul>");
  return lines;
}

TLineList TModernPageGenerator::Figure(int index) const {
  TLineList inside;
  for (std::string& line : Paragraphs(Photo(index).Caption, "caption")) inside.push_back(Indent(3) + line);
  const TLineList camera = CameraList(index);
  inside.insert(inside.end(), camera.begin(), camera.end());
  if (inside.empty()) return {};
  TLineList lines = {Indent(2) + "<figcaption>"};
  lines.insert(lines.end(), inside.begin(), inside.end());
  lines.push_back(Indent(2) + "</figcaption>");
  return lines;
}

TLineList TModernPageGenerator::CameraList(int index) const {
  if (!album_.Settings.ShowCameraData) return {};
  const TImageInfo* exif = Photo(index).Metadata().ExifData();
  if (!exif || exif->CameraData().Empty()) return {};
  const TCameraData& data = exif->CameraData();
  // The model usually names the make already ("Canon" "Canon EOS 5D").
  const bool model_names_make = !data.Make.empty() && data.Model.starts_with(data.Make);
  const std::string camera = model_names_make || data.Make.empty() ? data.Model
                             : data.Model.empty()                  ? data.Make
                                                                   : data.Make + " " + data.Model;
  const std::pair<const char*, const std::string&> entries[] = {
      {"Camera", camera},
      {"Lens", data.Lens},
      {"Focal length", data.FocalLength},
      {"Aperture", data.Aperture},
      {"Exposure", data.ExposureTime},
      {"ISO", data.Iso},
      {"Taken", data.DateTaken},
  };
  TLineList lines = {Indent(3) + "<dl class=\"camera\">"};
  for (const auto& [name, value] : entries)
    if (!value.empty())
      lines.push_back(Indent(4) + "<div><dt>" + name + "</dt><dd>" + EscapedText(value) + "</dd></div>");
  lines.push_back(Indent(3) + "</dl>");
  return lines;
}

std::unique_ptr<TAlbumPageGenerator> MakePageGenerator(const TAlbum& album, const TPublishedImageFiles& images) {
  if (album.Settings.PageStyle == TPageStyle::Modern) return std::make_unique<TModernPageGenerator>(album, images);
  return std::make_unique<TAlbumPageGenerator>(album);
}

}  // namespace folivant
