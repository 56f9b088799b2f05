// ReadStylesheetFile on arbitrary bytes, and its lines used as a generation
// run uses a template: filled as the stylesheet template (FillStylesheet) and
// expanded as the index page and photo page templates of a small album. Every
// line that comes out must be valid UTF-8, as the pages and "main.css" are.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "editor/stylesheetfile.h"
#include "generator/pagegenerator.h"
#include "model/albumclasses.h"
#include "platform/text.h"
#include "scratchfile.h"

namespace {

// A page generator whose page templates are the fuzzed text.
class TFuzzedTemplates : public folivant::TAlbumPageGenerator {
 public:
  TFuzzedTemplates(const folivant::TAlbum& album, std::string text)
      : TAlbumPageGenerator(album), text_(std::move(text)) {}

 protected:
  std::optional<std::string_view> TemplateText(std::string_view) const override { return text_; }

 private:
  std::string text_;
};

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

void CheckUtf8(const folivant::TLineList& lines) {
  for (const std::string& line : lines)
    if (!folivant::IsValidUtf8(line)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  folivant::fuzz::WriteScratchFile(std::string_view(reinterpret_cast<const char*>(data), size));
  folivant::TLineList lines = folivant::ReadStylesheetFile(folivant::fuzz::ScratchFile());
  CheckUtf8(lines);
  for (const std::string& line : lines)
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();

  TFuzzedTemplates generator(SmallAlbum(), folivant::JoinLinesCrLf(lines));
  for (int page = 1; page <= generator.IndexPageCount(); ++page) CheckUtf8(generator.BuildIndexPage(page));
  for (int index = 0; index < SmallAlbum().Photographs.Count(); ++index) CheckUtf8(generator.BuildPhotoPage(index));
  generator.FillStylesheet(lines);
  CheckUtf8(lines);
  return 0;
}
