#include "generator/modernpages.h"

#include <algorithm>
#include <optional>

#include "generator/albumzip.h"
#include "generator/pagetext.h"
#include "generator/templateexpansion.h"
#include "generator/themecolors.h"
#include "platform/ini.h"
#include "platform/markup.h"
#include "platform/product.h"
#include "platform/text.h"

namespace folivant {
namespace {

// Keep in sync with resources/modernstylesheet.css, which gets these through
// its placeholders: the pages' `sizes` tell the browser, before any style is
// known, how wide each image will be shown.
// The photo page keeps this height beside the photograph for its title bar.
constexpr std::string_view kPhotoRoom = "3rem";
// The height of the photo page's thumbnail strip.
constexpr std::string_view kStripHeight = "4rem";
// The index rows' height at least and, as a share of the window's width, on
// phones (so that three landscapes fit side by side at 390 pixels); then
// kModernRowFactor times the thumbnail height (the height of its 1x file).
constexpr std::string_view kRowLeast = "64px";
constexpr std::string_view kRowShareOfWidth = "20vw";
// Wider windows grow the rows with them, by this share of their width (about
// six landscapes a row), as far as the thumbnail's 3x file (three times the
// row height) stays sharp on a row stretched to fill the width: twice the
// row height on screens of fewer than 1.5 device pixels a CSS pixel, even
// for a row stretched by half; 1.2 times on denser ones (at the average
// stretch on a 2x screen).
constexpr std::string_view kWideRowShareOfWidth = "11vw";
constexpr int64_t kWideRowMostTenths = 20;
constexpr int64_t kDenseRowMostTenths = 12;
constexpr std::string_view kDenseScreen = "(min-resolution: 1.5dppx)";
// The width of the index's rows: the window's, less the grid's padding.
constexpr std::string_view kGridWidth = "calc(100vw - 8px)";
// Justified rows grow to fill the width, by about this much on average.
constexpr std::string_view kRowGrowth = "1.25";
// The first thumbnails of an index page load at once, the rest as they come into view.
constexpr int kEagerThumbnails = 8;
// Link previews look for a picture about this wide.
constexpr int32_t kPreviewWidth = 1280;

std::string Indent(int depth) { return std::string(static_cast<size_t>(depth), '\t'); }

// Text from the album (titles, captions, the description) as page markup:
// only the small inline markup that imported metadata keeps, so no text can
// run script.
std::string SafeText(std::string_view text) { return SafeInlineMarkup(XmlCharacterText(text)); }

// Album text where no element may stand: a page title or an attribute value.
std::string PlainText(std::string_view text) { return ReplaceAll(MarkupText(SafeText(text)), "\"", "&quot;"); }

// Camera data comes from the file, not from the user: shown as text, never as markup.
std::string EscapedText(std::string_view text) { return EscapeAttributeValue(XmlCharacterText(text)); }

const TImageFile* FileWithEnding(const std::vector<TImageFile>& files, std::string_view ending) {
  for (const TImageFile& file : files)
    if (file.Ending == ending) return &file;
  return nullptr;
}

bool IsPhotoLadderEnding(std::string_view ending) {
  return ending == kPhotoEnding || std::any_of(std::begin(kPhotoLadder), std::end(kPhotoLadder),
                                               [&](const TLadderStep& step) { return step.Ending == ending; });
}

bool IsThumbnailEnding(std::string_view ending) {
  return ending == kThumbnailEnding || ending == kThumbnailDoubleEnding || ending == kThumbnailTripleEnding;
}

// The aspect ratio as CSS computes it, exact.
std::string Aspect(TPictureSize size) { return std::to_string(size.Width) + " / " + std::to_string(size.Height); }

// A length in CSS pixels, to a tenth of a pixel.
std::string PixelsInTenths(int64_t tenths) {
  const std::string whole = std::to_string(tenths / 10);
  return (tenths % 10 == 0 ? whole : whole + "." + std::to_string(tenths % 10)) + "px";
}

// The index rows' height on a screen whose rows grow to at most `most_tenths`
// tenths of the thumbnail row height.
std::string RowHeight(const TAlbumSettings& settings, int64_t most_tenths) {
  const int64_t row = int64_t{settings.ThumbHeight} * kModernRowFactor;
  return "clamp(" + std::string(kRowLeast) + ", " + std::string(kRowShareOfWidth) + ", max(" +
         PixelsInTenths(row * 10) + ", min(" + std::string(kWideRowShareOfWidth) + ", " +
         PixelsInTenths(row * most_tenths) + ")))";
}

// The icon is drawn in the page itself, so that browsers ask the server for none.
std::string IconAddress(TColor accent) {
  const std::string color = ColorToHtml(accent).substr(1);
  return "data:image/svg+xml,%3Csvg%20xmlns='http://www.w3.org/2000/svg'%20viewBox='0%200%2032%2032'%3E"
         "%3Crect%20width='32'%20height='32'%20rx='7'%20fill='%23" +
         color +
         "'/%3E%3Cpath%20d='M5%2025l8-10%205%206%203-4%206%208z'%20fill='%23fff'/%3E"
         "%3Ccircle%20cx='22'%20cy='10'%20r='3'%20fill='%23fff'/%3E%3C/svg%3E";
}

// Chevrons of the previous and next controls; decoration, named by their links.
constexpr std::string_view kPreviousIcon =
    "<svg viewBox=\"0 0 24 24\" aria-hidden=\"true\"><path d=\"M15 5l-7 7 7 7\"></path></svg>";
constexpr std::string_view kNextIcon =
    "<svg viewBox=\"0 0 24 24\" aria-hidden=\"true\"><path d=\"M9 5l7 7-7 7\"></path></svg>";

}  // namespace

TModernPageGenerator::TModernPageGenerator(const TAlbum& album, const TPublishedImageFiles& images)
    : TAlbumPageGenerator(album), images_(images) {}

void TModernPageGenerator::FillStylesheet(TLineList& lines) {
  TAlbumPageGenerator::FillStylesheet(lines);
  const TAlbumSettings& settings = album_.Settings;
  const TThemeColors light = LightTheme(settings.ColorScheme);
  const TThemeColors dark = DarkTheme(settings.ColorScheme);
  const TTemplatePlaceholder placeholders[] = {
      {"<MUTED_TEXT_COLOR>", ColorToHtml(light.Muted)},
      {"<DARK_PAGE_COLOR>", ColorToHtml(dark.Page)},
      {"<DARK_TEXT_COLOR>", ColorToHtml(dark.Text)},
      {"<DARK_MUTED_TEXT_COLOR>", ColorToHtml(dark.Muted)},
      {"<DARK_LINK_COLOR>", ColorToHtml(dark.Link)},
      {"<DARK_HOTLINK_COLOR>", ColorToHtml(dark.HotLink)},
      {"<DARK_BORDER_COLOR>", ColorToHtml(dark.Border)},
      {"<ROW_HEIGHT>", RowHeight(settings, kWideRowMostTenths)},
      {"<DENSE_ROW_HEIGHT>", RowHeight(settings, kDenseRowMostTenths)},
      {"<PHOTO_ROOM>", std::string(kPhotoRoom)},
      {"<STRIP_HEIGHT>", std::string(kStripHeight)},
      // Modern templates that users kept from earlier versions name the
      // room the photograph leaves so; it is the bar's now.
      {"<PHOTO_TOP_ROOM>", std::string(kPhotoRoom)},
      {"<THUMB_HEIGHT>", std::to_string(settings.ThumbHeight)},
      {"<THUMBNAIL_COLUMNS>", std::to_string(settings.ThumbnailCols)},
  };
  for (std::string& line : lines)
    for (const TTemplatePlaceholder& placeholder : placeholders)
      line = ReplaceAll(std::move(line), placeholder.Token, placeholder.Value);
}

std::string TModernPageGenerator::GeneratorMeta() const {
  return "<meta name=\"generator\" content=\"Folivant " + std::string(kProgramVersion) + "; " +
         EscapeAttributeValue(kProductWebAddress) + "\">";
}

bool TModernPageGenerator::AnyImages() const {
  for (int index = 0; index < PhotoCount(); ++index)
    if (const std::vector<TImageFile>* files = Files(index); files && !files->empty()) return true;
  return false;
}

const std::vector<TImageFile>* TModernPageGenerator::Files(int index) const {
  const size_t at = static_cast<size_t>(index);
  if (at >= images_.size() || !images_[at]) return nullptr;
  return &*images_[at];
}

std::vector<const TImageFile*> TModernPageGenerator::Candidates(int index, bool thumbnail) const {
  std::vector<const TImageFile*> candidates;
  if (const std::vector<TImageFile>* files = Files(index))
    for (const TImageFile& file : *files)
      if (thumbnail ? IsThumbnailEnding(file.Ending) : IsPhotoLadderEnding(file.Ending)) candidates.push_back(&file);
  std::sort(candidates.begin(), candidates.end(),
            [](const TImageFile* a, const TImageFile* b) { return a->Size.Width < b->Size.Width; });
  return candidates;
}

namespace {

// The srcset of image files by their widths.
std::string SourceSet(const std::string& web_name, const std::vector<const TImageFile*>& candidates) {
  std::string set;
  for (const TImageFile* file : candidates) {
    if (!set.empty()) set += ", ";
    set += AttributeText(web_name + std::string(file->Ending)) + " " + std::to_string(file->Size.Width) + "w";
  }
  return set;
}

// How wide a picture of `size` is shown `height` high (a CSS length), at most `widest` (none when empty).
std::string ShownWidth(TPictureSize size, const std::string& height, std::string_view widest) {
  const std::string width = "calc(" + height + " * " + Aspect(size) + ")";
  return widest.empty() ? width : "min(" + std::string(widest) + ", " + width + ")";
}

}  // namespace

std::string TModernPageGenerator::Thumbnail(int index, const std::vector<TShownHeight>& heights,
                                            std::string_view widest, bool lazy, bool named) const {
  const TPhotograph& photograph = Photo(index);
  // A title beside the thumbnail names the link already; screen readers would read it twice.
  const std::string alt = named ? "" : PlainText(photograph.DisplayTitle());
  const std::vector<TImageFile>* files = Files(index);
  if (files && files->empty()) return "<span class=\"unavailable\">" + (named ? "No picture" : alt) + "</span>";
  std::string element = "<img src=\"" + AttributeText(photograph.WebName + std::string(kThumbnailEnding)) + "\"";
  const std::vector<const TImageFile*> candidates = Candidates(index, true);
  if (!candidates.empty()) {
    const TPictureSize size = candidates.front()->Size;
    std::string sizes;
    for (const TShownHeight& shown : heights) {
      if (!sizes.empty()) sizes += ", ";
      if (!shown.Media.empty()) sizes.append(shown.Media).append(" ");
      sizes += ShownWidth(size, shown.Height, widest);
    }
    element += " srcset=\"" + SourceSet(photograph.WebName, candidates) + "\" sizes=\"" + sizes + "\" width=\"" +
               std::to_string(size.Width) + "\" height=\"" + std::to_string(size.Height) + "\"";
  }
  element += " alt=\"" + alt + "\"";
  if (lazy) element += " loading=\"lazy\"";
  return element + " decoding=\"async\">";
}

std::string TModernPageGenerator::AbsoluteAddress(const std::string& file) const {
  std::string base(TrimBlanks(album_.Settings.WebAddress));
  // An album file may hold any text there; only a web address makes links.
  if (!IsWebAddress(base)) return "";
  if (!base.ends_with('/')) base += '/';
  return base + file;
}

TLineList TModernPageGenerator::Head(const std::string& description, const std::string& title,
                                     const std::string& page_file, int image_index) const {
  const TColorScheme& colors = album_.Settings.ColorScheme;
  TLineList lines = {
      Indent(1) + "<meta name=\"description\" content=\"" + description + "\">",
      Indent(1) + "<meta name=\"theme-color\" content=\"" + ColorToHtml(LightTheme(colors).Page) +
          "\" media=\"(prefers-color-scheme: light)\">",
      Indent(1) + "<meta name=\"theme-color\" content=\"" + ColorToHtml(DarkTheme(colors).Page) +
          "\" media=\"(prefers-color-scheme: dark)\">",
      Indent(1) + "<link rel=\"icon\" href=\"" + IconAddress(LightTheme(colors).Link) + "\">",
      Indent(1) + "<meta property=\"og:type\" content=\"website\">",
      Indent(1) + "<meta property=\"og:site_name\" content=\"" + PlainText(album_.Title) + "\">",
      Indent(1) + "<meta property=\"og:title\" content=\"" + title + "\">",
      Indent(1) + "<meta property=\"og:description\" content=\"" + description + "\">",
  };
  const std::string page_address = AbsoluteAddress(page_file);
  if (!page_address.empty()) {
    lines.push_back(Indent(1) + "<link rel=\"canonical\" href=\"" + AttributeText(page_address) + "\">");
    lines.push_back(Indent(1) + "<meta property=\"og:url\" content=\"" + AttributeText(page_address) + "\">");
  }
  // Link previews need the picture's absolute address.
  const std::vector<const TImageFile*> candidates = Candidates(image_index, false);
  if (page_address.empty() || candidates.empty()) {
    lines.push_back(Indent(1) + "<meta name=\"twitter:card\" content=\"summary\">");
    return lines;
  }
  const TImageFile* preview = candidates.front();
  for (const TImageFile* file : candidates)
    if (file->Size.Width <= kPreviewWidth) preview = file;
  const std::string image = AbsoluteAddress(Photo(image_index).WebName + std::string(preview->Ending));
  lines.push_back(Indent(1) + "<meta property=\"og:image\" content=\"" + AttributeText(image) + "\">");
  lines.push_back(Indent(1) + "<meta property=\"og:image:width\" content=\"" + std::to_string(preview->Size.Width) +
                  "\">");
  lines.push_back(Indent(1) + "<meta property=\"og:image:height\" content=\"" + std::to_string(preview->Size.Height) +
                  "\">");
  lines.push_back(Indent(1) + "<meta property=\"og:image:alt\" content=\"" +
                  PlainText(Photo(image_index).DisplayTitle()) + "\">");
  lines.push_back(Indent(1) + "<meta name=\"twitter:card\" content=\"summary_large_image\">");
  return lines;
}

namespace {

// The first line of a text that is not blank, as plain text for a description.
std::string FirstLine(std::string_view text) {
  for (const std::string& line : SplitLines(text))
    if (!TrimBlanks(line).empty()) return PlainText(TrimBlanks(line));
  return "";
}

}  // namespace

TLineList TModernPageGenerator::BuildIndexPage(int page) const {
  std::string description = FirstLine(album_.Description);
  if (description.empty()) description = PlainText(album_.Title);
  const std::string title = PlainText(album_.Title);
  const std::string page_title = page == 1 ? title : title + " (" + std::to_string(page) + ")";
  const int first = (page - 1) * PhotosPerPage();
  const TTemplatePlaceholder placeholders[] = {
      {"<!-- GENERATOR_METATAG -->", GeneratorMeta()},
      {"<!-- PAGE_TITLE -->", page_title},
  };
  const TTemplateMarker markers[] = {
      {"<!-- #MARKLINE HEAD -->", [&] { return Head(description, title, IndexPageFileName(page), first); }},
      {"<!-- #MARKLINE HEADER -->", [&] { return Header(); }},
      {"<!-- #MARKLINE INDEX -->", [&] { return Grid(page); }},
  };
  return ExpandTemplate(LoadTemplate(IndexPageTemplateName(TPageStyle::Modern), "Could not load index page template"),
                        placeholders, markers);
}

TLineList TModernPageGenerator::Header() const {
  TLineList lines = {Indent(2) + "<h1>" + SafeText(album_.Title) + "</h1>"};
  for (const std::string& line : SplitLines(SafeText(album_.Description)))
    if (!TrimBlanks(line).empty()) lines.push_back(Indent(2) + "<p class=\"description\">" + line + "</p>");
  if (album_.Settings.ZipDownload && AnyImages())
    lines.push_back(Indent(2) + "<p class=\"download\"><a href=\"" + std::string(kAlbumZipName) +
                    "\" download>Download all photographs (zip)</a></p>");
  if (HasHomeLink())
    lines.push_back(Indent(2) + "<nav class=\"home\" aria-label=\"Home\"><a href=\"" +
                    AttributeText(album_.Settings.HomeURL) + "\" title=\"Return to Home\">Back to Home</a></nav>");
  return lines;
}

TLineList TModernPageGenerator::Grid(int page) const {
  TLineList lines = {Indent(1) + "<main id=\"index\">", Indent(2) + "<ul class=\"grid\">"};
  const std::string growth = " * " + std::string(kRowGrowth);
  const std::vector<TShownHeight> heights = {
      {kDenseScreen, RowHeight(album_.Settings, kDenseRowMostTenths) + growth},
      {"", RowHeight(album_.Settings, kWideRowMostTenths) + growth},
  };
  const int first = (page - 1) * PhotosPerPage();
  for (int index = first; index < PhotoCount() && index - first < PhotosPerPage(); ++index) {
    const TPhotograph& photograph = Photo(index);
    const std::vector<const TImageFile*> candidates = Candidates(index, true);
    // Each thumbnail takes a share of its row by its aspect ratio, so that a row's are equally high.
    const std::string aspect = candidates.empty() ? "3 / 2" : Aspect(candidates.front()->Size);
    const bool named = !TrimBlanks(photograph.Title).empty();
    const std::string name = named ? "<span class=\"name\">" + MarkupText(SafeText(photograph.Title)) + "</span>" : "";
    std::string item = Indent(3) + "<li style=\"--aspect: " + aspect + "\"><a href=\"" +
                       AttributeText(PhotoPageFileName(index)) + "\">";
    item += Thumbnail(index, heights, kGridWidth, index - first >= kEagerThumbnails, named);
    item += name + "</a></li>";
    lines.push_back(std::move(item));
  }
  lines.push_back(Indent(2) + "</ul>");
  const TLineList pager = Pager(page);
  lines.insert(lines.end(), pager.begin(), pager.end());
  lines.push_back(Indent(1) + "</main>");
  return lines;
}

// Previous and next, the first and last pages, and two on either side of this one.
TLineList TModernPageGenerator::Pager(int page) const {
  const int count = IndexPageCount();
  if (count < 2) return {};
  constexpr int kNear = 2;
  const auto link = [](int target, const std::string& text, const char* rel) {
    std::string element = "<a href=\"" + IndexPageFileName(target) + "\"";
    if (rel) element += std::string(" rel=\"") + rel + "\"";
    return element + " title=\"Jump to index page " + std::to_string(target) + "\">" + text + "</a>";
  };
  TLineList lines = {Indent(2) + "<nav class=\"pages\" aria-label=\"Index pages\">"};
  if (page > 1) lines.push_back(Indent(3) + link(page - 1, "&larr; Previous", "prev"));
  bool gap = false;
  for (int n = 1; n <= count; ++n) {
    if (n != 1 && n != count && std::abs(n - page) > kNear) {
      if (!gap) lines.push_back(Indent(3) + "<span class=\"gap\">&hellip;</span>");
      gap = true;
      continue;
    }
    gap = false;
    if (n == page)
      lines.push_back(Indent(3) + "<span aria-current=\"page\">" + std::to_string(n) + "</span>");
    else
      lines.push_back(Indent(3) + link(n, std::to_string(n), nullptr));
  }
  if (page < count) lines.push_back(Indent(3) + link(page + 1, "Next &rarr;", "next"));
  lines.push_back(Indent(2) + "</nav>");
  return lines;
}

TLineList TModernPageGenerator::BuildPhotoPage(int index) const {
  const TPhotograph& photograph = Photo(index);
  const std::string title = PlainText(photograph.DisplayTitle());
  std::string description = FirstLine(photograph.Caption);
  if (description.empty()) description = title;
  const TTemplatePlaceholder placeholders[] = {
      {"<!-- GENERATOR_METATAG -->", GeneratorMeta()},
      {"<!-- PAGE_TITLE -->", title + " &ndash; " + PlainText(album_.Title)},
  };
  const TTemplateMarker markers[] = {
      {"<!-- #MARKLINE HEAD -->", [&] { return Head(description, title, PhotoPageFileName(index), index); }},
      {"<!-- #MARKLINE PHOTO -->", [&] { return Stage(index); }},
      {"<!-- #MARKLINE BAR -->", [&] { return Bar(index); }},
      {"<!-- #MARKLINE CAPTION -->", [&] { return Caption(index); }},
      {"<!-- #MARKLINE NAVIGATION -->", [&] { return Strip(index); }},
  };
  return ExpandTemplate(LoadTemplate(PhotoPageTemplateName(TPageStyle::Modern), "Could not load photo page template"),
                        placeholders, markers);
}

// The photograph as large as the window allows, never larger than its largest
// image, with the controls to its neighbours over it. The ids are what the
// page's script follows.
TLineList TModernPageGenerator::Stage(int index) const {
  const TPhotograph& photograph = Photo(index);
  const std::vector<TImageFile>* files = Files(index);
  TLineList lines;
  if (files && files->empty()) {
    lines.push_back(Indent(4) + "<p class=\"unavailable\">This photograph is not available.</p>");
  } else {
    std::string element = "<img src=\"" + AttributeText(photograph.WebName + std::string(kPhotoEnding)) + "\"";
    const std::vector<const TImageFile*> candidates = Candidates(index, false);
    if (!candidates.empty()) {
      const TPictureSize largest = candidates.back()->Size;
      const std::string width = std::to_string(largest.Width);
      element += " srcset=\"" + SourceSet(photograph.WebName, candidates) + "\" sizes=\"min(100vw, calc((100dvh - " +
                 std::string(kPhotoRoom) + ") * " + Aspect(largest) + "), " + width + "px)\" width=\"" + width +
                 "\" height=\"" + std::to_string(largest.Height) + "\" style=\"--aspect: " + Aspect(largest) +
                 "; --width: " + width + "px\"";
    }
    lines.push_back(Indent(4) + element + " alt=\"" + PlainText(photograph.DisplayTitle()) +
                    "\" fetchpriority=\"high\">");
  }
  const auto control = [&](std::optional<int> target, const char* id, const char* label, std::string_view icon) {
    if (!target) return;
    std::string element = "<a class=\"step " + std::string(id) + "\" id=\"" + id + "\" href=\"" +
                          AttributeText(PhotoPageFileName(*target)) + "\" aria-label=\"" + label + "\"";
    // The script fetches the next photograph's image ahead, at the width this screen takes.
    const std::vector<const TImageFile*> next = Candidates(*target, false);
    if (std::string_view(id) == "next" && !next.empty())
      element += " data-srcset=\"" + SourceSet(Photo(*target).WebName, next) +
                 "\" data-sizes=\"min(100vw, calc((100dvh - " + std::string(kPhotoRoom) + ") * " +
                 Aspect(next.back()->Size) + "), " + std::to_string(next.back()->Size.Width) + "px)\"";
    lines.push_back(Indent(4) + element + ">" + std::string(icon) + "</a>");
  };
  control(PreviousIndex(index), "previous", "Previous photograph", kPreviousIcon);
  control(NextIndex(index), "next", "Next photograph", kNextIcon);
  return lines;
}

TLineList TModernPageGenerator::Bar(int index) const {
  const std::vector<TImageFile>* files = Files(index);
  TLineList lines = {
      Indent(4) + "<a id=\"up\" class=\"up\" href=\"" + IndexPageFileName(IndexPageOfPhoto(index)) +
          "\" title=\"Return to Index\">Index</a>",
      Indent(4) + "<h1 class=\"title\">" + SafeText(Photo(index).DisplayTitle()) + "</h1>",
      Indent(4) + "<p class=\"counter\">" + std::to_string(index + 1) + " / " + std::to_string(PhotoCount()) + "</p>",
  };
  if (files && FileWithEnding(*files, kOriginalEnding))
    lines.push_back(Indent(4) + "<a class=\"download\" href=\"" +
                    AttributeText(Photo(index).WebName + std::string(kOriginalEnding)) + "\" download>Download</a>");
  return lines;
}

TLineList TModernPageGenerator::Caption(int index) const {
  TLineList lines;
  for (const std::string& line : SplitLines(SafeText(Photo(index).Caption)))
    if (!TrimBlanks(line).empty()) lines.push_back(Indent(4) + "<p class=\"caption\">" + line + "</p>");
  const TLineList camera = CameraList(index);
  lines.insert(lines.end(), camera.begin(), camera.end());
  if (lines.empty()) return {};
  lines.insert(lines.begin(), Indent(3) + "<div class=\"text\">");
  lines.push_back(Indent(3) + "</div>");
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
  TLineList lines = {Indent(4) + "<dl class=\"camera\">"};
  for (const auto& [name, value] : entries)
    if (!value.empty())
      lines.push_back(Indent(5) + "<div><dt>" + name + "</dt><dd>" + EscapedText(value) + "</dd></div>");
  lines.push_back(Indent(4) + "</dl>");
  return lines;
}

// The neighbours' thumbnails, two on either side, as the classic strip shows them.
TLineList TModernPageGenerator::Strip(int index) const {
  if (!album_.Settings.ThumbNavigationBar) return {};
  TLineList lines = {Indent(2) + "<nav class=\"strip\" aria-label=\"Photographs\">", Indent(3) + "<ul>"};
  for (int offset = -2; offset <= 2; ++offset) {
    const std::optional<int> shown = offset == 0 ? index : LinkedIndex(index + offset);
    if (!shown) continue;
    const std::string current = offset == 0 ? " aria-current=\"page\"" : "";
    lines.push_back(Indent(4) + "<li><a href=\"" + AttributeText(PhotoPageFileName(*shown)) + "\"" + current + ">" +
                    Thumbnail(*shown, {{"", std::string(kStripHeight)}}, "", true, false) + "</a></li>");
  }
  lines.push_back(Indent(3) + "</ul>");
  lines.push_back(Indent(2) + "</nav>");
  return lines;
}

std::unique_ptr<TAlbumPageGenerator> MakePageGenerator(const TAlbum& album, const TPublishedImageFiles& images) {
  if (album.Settings.PageStyle == TPageStyle::Modern) return std::make_unique<TModernPageGenerator>(album, images);
  return std::make_unique<TAlbumPageGenerator>(album);
}

}  // namespace folivant
