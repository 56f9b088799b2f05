#include "generator/pagegenerator.h"
#include "generator/pagetext.h"
#include "generator/templateexpansion.h"
#include "platform/ini.h"

namespace folivant {

TLineList TAlbumPageGenerator::BuildIndexPage(int page) const {
  const TTemplatePlaceholder placeholders[] = {
      {"<!-- GENERATOR_METATAG -->", GeneratorMetaTag()},
      {"<!-- ALBUM_TITLE -->", ContentText(album_.Title)},
      {"<!-- ALBUM_HOMEURLTAG -->", HomeLink()},
  };
  const TTemplateMarker markers[] = {
      {"<!-- #MARKLINE INDEX -->", [&] { return IndexTable(page); }},
      {"<!-- #MARKLINE DESCRIPTION -->", [&] { return DescriptionBlock(); }},
  };
  return ExpandTemplate(LoadTemplate("indexpage", "Could not load index page template"), placeholders, markers);
}

TLineList TAlbumPageGenerator::IndexTable(int page) const {
  const std::string tab(1, IndentChar), tabs(2, IndentChar);
  const int count = PhotoCount();
  const int rows = album_.Settings.ThumbnailRows, cols = album_.Settings.ThumbnailCols;
  TLineList lines = {"<div id=\"index\">", tab + "<table>"};
  int index = (page - 1) * photos_per_page_;
  for (int row = 0; row < rows; ++row) {
    lines.push_back(tab + "<tr>");
    for (int col = 0; col < cols; ++col, ++index) {
      std::string line = tabs + "<td class=\"thumbcell\">";
      if (index <= count - 1) line += ThumbnailCell(index, true);
      line += "</td>";
      lines.push_back(std::move(line));
    }
    lines.push_back(tab + "</tr>");
    if (index > count - 1) break;
  }
  if (IndexPageCount() > 1) {
    lines.push_back(tab + "<tr>");
    lines.push_back(tabs + "<td colspan=\"" + std::to_string(cols) + "\"><div class=\"pages\">" + PageLinks(page) +
                    "</div></td>");
    lines.push_back(tab + "</tr>");
  }
  lines.push_back(tab + "</table>");
  lines.push_back("</div>");
  return lines;
}

TLineList TAlbumPageGenerator::DescriptionBlock() const { return Paragraphs(album_.Description, "description"); }

std::string TAlbumPageGenerator::HomeLink() const {
  if (!HasHomeLink()) return "";
  return "<div id=\"navigation\"><span class=\"home\"><a href=\"" + AttributeText(album_.Settings.HomeURL) +
         "\" title=\"Return to Home\">Back to Home</a></span></div>";
}

std::string TAlbumPageGenerator::PageLinks(int page) const {
  std::string links = "Page:";
  const int pages = IndexPageCount();
  for (int n = 1; n <= pages; ++n) {
    const std::string number = std::to_string(n);
    if (n == page) {
      links += "[" + number + "]";
      continue;
    }
    links += " <a href=\"";
    links += IndexPageFileName(n);
    links += "\" title=\"Jump to index page " + number;
    links += "\">[" + number + "]</a>";
  }
  return links;
}

}  // namespace folivant
