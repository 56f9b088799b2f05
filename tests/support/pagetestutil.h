#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "generator/pagegenerator.h"
#include "model/albumclasses.h"

namespace folivant::test {

/// Appends a photograph with its web name already assigned, as a generation run would.
TPhotograph& AddPhoto(TAlbum& album, const std::string& web_name, const std::string& title,
                      const std::string& caption = "");

/// The album of the worked examples: "Summer", one row of two thumbnails, and
/// the photographs "lake", "boat" and "dock" (caption "At dusk.").
void MakeSummerAlbum(TAlbum& album);

/// A page generator whose page templates a test can replace or take away.
class TTemplateSeamGenerator : public TAlbumPageGenerator {
 public:
  using TAlbumPageGenerator::TAlbumPageGenerator;
  /// nullopt makes the template absent.
  std::map<std::string, std::optional<std::string>, std::less<>> Templates;

 protected:
  std::optional<std::string_view> TemplateText(std::string_view name) const override {
    const auto found = Templates.find(name);
    if (found == Templates.end()) return TAlbumPageGenerator::TemplateText(name);
    if (!found->second) return std::nullopt;
    return std::string_view(*found->second);
  }
};

}  // namespace folivant::test
