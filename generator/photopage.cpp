#include "generator/pagegenerator.h"
#include "generator/pagetext.h"
#include "generator/templateexpansion.h"

namespace folivant {
namespace {

std::string Link(const std::string& href, std::string_view title, std::string_view text) {
  return "<a href=\"" + href + "\" title=\"" + std::string(title) + "\">" + std::string(text) + "</a>";
}

}  // namespace

TLineList TAlbumPageGenerator::BuildPhotoPage(int index) const {
  const TTemplatePlaceholder placeholders[] = {
      {"<!-- GENERATOR_METATAG -->", GeneratorMetaTag()},
      {"<!-- PHOTO_TITLE -->", ContentText(Photo(index).DisplayTitle())},
  };
  const TTemplateMarker markers[] = {
      {"<!-- #MARKLINE TOPNAVIGATION -->", [&] { return TopNavigation(index); }},
      {"<!-- #MARKLINE PHOTO -->", [&] { return PhotoElement(index); }},
      {"<!-- #MARKLINE CAPTION -->", [&] { return CaptionBlock(index); }},
      {"<!-- #MARKLINE BOTTOMNAVIGATION -->", [&] { return BottomNavigation(index); }},
  };
  return ExpandTemplate(LoadTemplate("photopage", "Could not load photo page template"), placeholders, markers);
}

TLineList TAlbumPageGenerator::TopNavigation(int index) const {
  if (album_.Settings.NavigationBelowPhoto) return {};
  return NavigationBlock(index, false);
}

TLineList TAlbumPageGenerator::BottomNavigation(int index) const {
  if (!album_.Settings.NavigationBelowPhoto) return {};
  return NavigationBlock(index, true);
}

// The thumbnail row always stands next to the photograph, the text row outside it.
TLineList TAlbumPageGenerator::NavigationBlock(int index, bool thumbnails_first) const {
  TLineList lines = {"", "<div id=\"navigation\">", std::string(1, IndentChar) + "<table>"};
  if (thumbnails_first) {
    ThumbnailNavigationRow(lines, index);
    TextNavigationRow(lines, index);
  } else {
    TextNavigationRow(lines, index);
    ThumbnailNavigationRow(lines, index);
  }
  lines.push_back(std::string(1, IndentChar) + "</table>");
  lines.push_back("</div>");
  lines.push_back("");
  return lines;
}

void TAlbumPageGenerator::TextNavigationRow(TLineList& lines, int index) const {
  const std::string tab(1, IndentChar), tabs(2, IndentChar);
  lines.push_back(tab + "<tr class=\"textnavigation\">");
  lines.push_back(tabs + "<td class=\"previous\"><span class=\"previous\">" + PreviousLink(index) + "</span></td>");
  // The middle cell spans three columns to line up with the five thumbnail cells.
  lines.push_back(tabs + "<td class=\"index\" colspan=\"3\"><span class=\"index\">" + IndexLink(index) +
                  "</span></td>");
  lines.push_back(tabs + "<td class=\"next\"><span class=\"next\">" + NextLink(index) + "</span></td>");
  lines.push_back(tab + "</tr>");
}

void TAlbumPageGenerator::ThumbnailNavigationRow(TLineList& lines, int index) const {
  if (!album_.Settings.ThumbNavigationBar) return;
  const std::string tab(1, IndentChar), tabs(2, IndentChar);
  lines.push_back(tab + "<tr>");
  for (int offset = -2; offset <= 2; ++offset) {
    if (offset == 0)
      lines.push_back(tabs + "<td class=\"thumbcell selected\">" + ThumbnailCell(index, false) + "</td>");
    else
      lines.push_back(tabs + "<td class=\"thumbcell\">" + ThumbnailCell(index + offset, true) + "</td>");
  }
  lines.push_back(tab + "</tr>");
}

std::string TAlbumPageGenerator::PreviousLink(int index) const {
  constexpr std::string_view text = "&lt;&lt; Previous";
  const std::optional<int> previous = PreviousIndex(index);
  if (!previous) return std::string(text);
  return Link(AttributeText(PhotoPageFileName(*previous)), "Previous Photograph", text);
}

std::string TAlbumPageGenerator::IndexLink(int index) const {
  return Link(IndexPageFileName(IndexPageOfPhoto(index)), "Return to Index", "Index");
}

std::string TAlbumPageGenerator::NextLink(int index) const {
  constexpr std::string_view text = "Next &gt;&gt;";
  const std::optional<int> next = NextIndex(index);
  if (!next) return std::string(text);
  return Link(AttributeText(PhotoPageFileName(*next)), "Next Photograph", text);
}

TLineList TAlbumPageGenerator::PhotoElement(int index) const {
  const std::string file = AttributeText(Photo(index).WebName + ".jpg");
  return {std::string(1, IndentChar) + "<img src=\"" + file + "\" title=\"" +
          AttributeText(Photo(index).DisplayTitle()) + "\" alt=\"" + file + "\" />"};
}

TLineList TAlbumPageGenerator::CaptionBlock(int index) const { return Paragraphs(Photo(index).Caption, "caption"); }

}  // namespace folivant
