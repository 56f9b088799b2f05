#include "generator/pagegenerator.h"

#include <algorithm>
#include <limits>

#include "generator/pagetext.h"
#include "generator/templateexpansion.h"
#include "platform/error.h"
#include "platform/product.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace folivant {
namespace {

// Stands in the footers of the page templates; the address is a build setting.
constexpr std::string_view kWebAddressToken = "@PRODUCT_WEB_ADDRESS@";

int32_t CheckedPhotosPerPage(const TAlbumSettings& settings) {
  if (settings.ThumbnailRows < 1) throw TError("The number of thumbnail rows must be at least 1.");
  if (settings.ThumbnailCols < 1) throw TError("The number of thumbnail columns must be at least 1.");
  const int64_t product = int64_t{settings.ThumbnailRows} * settings.ThumbnailCols;
  if (product > std::numeric_limits<int32_t>::max())
    throw TError("The number of thumbnails per index page is too large.");
  return static_cast<int32_t>(product);
}

int CeilingDivide(int dividend, int divisor) { return dividend / divisor + (dividend % divisor != 0 ? 1 : 0); }

}  // namespace

const char* IndexPageTemplateName(TPageStyle style) {
  return style == TPageStyle::Modern ? "modernindexpage" : "indexpage";
}

const char* PhotoPageTemplateName(TPageStyle style) {
  return style == TPageStyle::Modern ? "modernphotopage" : "photopage";
}

TLineList Paragraphs(std::string_view text, std::string_view css_class) {
  TLineList paragraphs;
  for (const std::string& line : SplitLines(ContentText(text)))
    if (!TrimBlanks(line).empty()) paragraphs.push_back("<p class=\"" + std::string(css_class) + "\">" + line + "</p>");
  return paragraphs;
}

TAlbumPageGenerator::TAlbumPageGenerator(const TAlbum& album)
    : album_(album), photos_per_page_(CheckedPhotosPerPage(album.Settings)) {}

void TAlbumPageGenerator::FillStylesheet(TLineList& lines) {
  const TAlbumSettings& settings = album_.Settings;
  const TColorScheme& colors = settings.ColorScheme;
  const TTemplatePlaceholder placeholders[] = {
      {"<PAGE_COLOR>", ColorToHtml(colors.PageColor())},      {"<TEXT_COLOR>", ColorToHtml(colors.TextColor)},
      {"<LINK_COLOR>", ColorToHtml(colors.LinkColor)},        {"<HOTLINK_COLOR>", ColorToHtml(colors.HotLinkColor)},
      {"<THUMB_WIDTH>", std::to_string(settings.ThumbWidth)}, {"<BORDER_COLOR>", ColorToHtml(colors.BorderColor())},
      {"<PHOTO_WIDTH>", std::to_string(settings.PhotoWidth)},
  };
  for (std::string& line : lines)
    for (const TTemplatePlaceholder& placeholder : placeholders)
      line = ReplaceAll(std::move(line), placeholder.Token, placeholder.Value);
}

int TAlbumPageGenerator::IndexPageCount() const { return CeilingDivide(PhotoCount(), photos_per_page_); }

int TAlbumPageGenerator::IndexPageOfPhoto(int index) const { return CeilingDivide(index + 1, photos_per_page_); }

std::string TAlbumPageGenerator::GeneratorMetaTag() const {
  return "<meta http-equiv=\"Generator\" content=\"Folivant " + std::string(kProgramVersion) + "; " +
         EscapeAttributeValue(kProductWebAddress) + "\" />";
}

std::string TAlbumPageGenerator::PhotoPageFileName(int index) const { return Photo(index).WebName + ".html"; }

std::string TAlbumPageGenerator::IndexPageFileName(int page) {
  return page == 1 ? "index.html" : "index" + std::to_string(page) + ".html";
}

std::optional<int> TAlbumPageGenerator::LinkedIndex(int index) const {
  const int count = PhotoCount();
  if (album_.Settings.NavigateInLoop && count > 0) {
    // One wrap around the album, then clamping: small albums repeat photographs.
    if (index < 0)
      index += count;
    else if (index > count - 1)
      index -= count;
    return std::clamp(index, 0, count - 1);
  }
  if (index < 0 || index > count - 1) return std::nullopt;
  return index;
}

std::optional<int> TAlbumPageGenerator::PreviousIndex(int index) const {
  if (index > 0) return index - 1;
  if (album_.Settings.NavigateInLoop) return PhotoCount() - 1;
  return std::nullopt;
}

std::optional<int> TAlbumPageGenerator::NextIndex(int index) const {
  if (index < PhotoCount() - 1) return index + 1;
  if (album_.Settings.NavigateInLoop) return 0;
  return std::nullopt;
}

bool TAlbumPageGenerator::HasHomeLink() const {
  const std::string& url = album_.Settings.HomeURL;
  return !TrimBlanks(url).empty() && url != "http://";
}

std::string TAlbumPageGenerator::ThumbnailCell(int index, bool linked) const {
  if (!linked) return ThumbnailImage(index);
  const std::optional<int> shown = LinkedIndex(index);
  if (!shown) return "";
  return "<a href=\"" + AttributeText(PhotoPageFileName(*shown)) + "\">" + ThumbnailImage(*shown) + "</a>";
}

std::string TAlbumPageGenerator::ThumbnailImage(int index) const {
  const std::string file = AttributeText(Photo(index).WebName + "_small.jpg");
  return "<img src=\"" + file + "\" title=\"" + AttributeText(Photo(index).DisplayTitle()) + "\" alt=\"" + file +
         "\" />";
}

std::optional<std::string_view> TAlbumPageGenerator::TemplateText(std::string_view name) const {
  return FindResource(name);
}

std::string TAlbumPageGenerator::LoadTemplate(std::string_view name, const char* load_error) const {
  const std::optional<std::string_view> text = TemplateText(name);
  if (!text) throw TError(load_error);
  return ReplaceAll(std::string(*text), kWebAddressToken, EscapeAttributeValue(kProductWebAddress));
}

}  // namespace folivant
