// ReadStylesheetFile on arbitrary bytes, and its lines used as a generation
// run uses a template: filled as the stylesheet template (FillStylesheet) and
// expanded as the index page and photo page templates of a small album, in
// either page style. Every
// line that comes out must be valid UTF-8, as the pages and "main.css" are.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "editor/stylesheetfile.h"
#include "generator/modernpages.h"
#include "generator/pagegenerator.h"
#include "model/albumclasses.h"
#include "platform/text.h"
#include "scratchfile.h"

namespace {

void CheckUtf8(const folivant::TLineList& lines) {
  for (const std::string& line : lines)
    if (!folivant::IsValidUtf8(line)) std::abort();
}

// A page generator of either style whose page templates are the fuzzed text.
template <typename Generator>
class TFuzzedTemplates : public Generator {
 public:
  template <typename... Arguments>
  explicit TFuzzedTemplates(std::string text, const Arguments&... arguments)
      : Generator(arguments...), text_(std::move(text)) {}

 protected:
  std::optional<std::string_view> TemplateText(std::string_view) const override { return text_; }

 private:
  std::string text_;
};

// A run's knowledge of the images: one photograph with files, one without, one not rendered.
const folivant::TPublishedImageFiles kImages = {
    std::vector<folivant::TImageFile>{{folivant::kPhotoEnding, {1280, 960}, {}},
                                      {folivant::kPhotoLadder[0].Ending, {480, 360}, {}},
                                      {folivant::kThumbnailEnding, {200, 150}, {}},
                                      {folivant::kOriginalEnding, {4000, 3000}, {}}},
    std::vector<folivant::TImageFile>{}, std::nullopt};

template <typename Generator>
void ExpandAll(Generator& generator, int photographs) {
  for (int page = 1; page <= generator.IndexPageCount(); ++page) CheckUtf8(generator.BuildIndexPage(page));
  for (int index = 0; index < photographs; ++index) CheckUtf8(generator.BuildPhotoPage(index));
}

// Three photographs on two index pages, with markup, a line break and a byte
// that is not UTF-8 among their texts.
const folivant::TAlbum& SmallAlbum() {
  static const std::unique_ptr<folivant::TAlbum> album = [] {
    auto made = std::make_unique<folivant::TAlbum>();
    made->Title = "Summer <b>&</b>";
    made->Description = "Two days\r\nat the lake \xE9.";
    made->Settings.HomeURL = "../index.html?a=1&b=\"2\"";
    made->Settings.ThumbnailRows = 1;
    made->Settings.ThumbnailCols = 2;
    const char* const names[][3] = {
        {"lake", "Lake", ""}, {"boat", "", "A <i>caption</i>"}, {"dock", "Dock", "At dusk."}};
    for (const auto& [web_name, title, caption] : names) {
      folivant::TPhotograph& photo = made->Photographs.Add(std::make_unique<folivant::TPhotograph>());
      photo.WebName = web_name;
      photo.Title = title;
      photo.Caption = caption;
    }
    return made;
  }();
  return *album;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  folivant::fuzz::WriteScratchFile(std::string_view(reinterpret_cast<const char*>(data), size));
  folivant::TLineList lines = folivant::ReadStylesheetFile(folivant::fuzz::ScratchFile());
  CheckUtf8(lines);
  for (const std::string& line : lines)
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();

  const std::string text = folivant::JoinLinesCrLf(lines);
  const int photographs = SmallAlbum().Photographs.Count();
  TFuzzedTemplates<folivant::TAlbumPageGenerator> classic(text, SmallAlbum());
  ExpandAll(classic, photographs);
  TFuzzedTemplates<folivant::TModernPageGenerator> modern(text, SmallAlbum(), kImages);
  ExpandAll(modern, photographs);
  folivant::TLineList modern_lines = lines;
  modern.FillStylesheet(modern_lines);
  CheckUtf8(modern_lines);
  classic.FillStylesheet(lines);
  CheckUtf8(lines);
  return 0;
}
