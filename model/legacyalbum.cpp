// Imports album files of the older INI-style format. The program never writes
// this format; saving an imported album writes the current XML file.

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "model/albumclasses.h"
#include "model/albumfile.h"
#include "platform/ini.h"
#include "platform/text.h"

namespace folivant {
namespace {

// The older format numbered the photo sizes in another order, and code 3 was
// a fixed custom size.
void SetLegacyPhotoSize(TAlbumSettings& settings, int32_t code) {
  switch (code) {
    case 0: settings.SetPhotoSize(TPhotoSize::Small); break;
    case 1: settings.SetPhotoSize(TPhotoSize::Medium); break;
    case 2: settings.SetPhotoSize(TPhotoSize::Large); break;
    case 3:
      settings.SetPhotoSize(TPhotoSize::Custom);
      settings.PhotoWidth = 1024;
      settings.PhotoHeight = 768;
      break;
    case 4: settings.SetPhotoSize(TPhotoSize::Original); break;
    default: break;
  }
}

// The older program wrote one line per photograph, so a Count beyond the
// file's line count can only come from damage; trusting it would create
// photographs by the billion.
int32_t PlausiblePhotographCount(int32_t count, std::string_view bytes) {
  const auto line_breaks = std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
  return static_cast<int32_t>(std::min<int64_t>(count, line_breaks + 1));
}

class TLegacyAlbumReader {
 public:
  explicit TLegacyAlbumReader(std::string_view bytes) : ini_(bytes) {}

  // Files are Windows-1252 text; valid UTF-8 stays as it is.
  std::string Text(std::string_view section, std::string_view key, const std::string& fallback) const {
    return AnsiToUtf8(ini_.ReadString(section, key, fallback));
  }
  int32_t Integer(std::string_view key, int32_t fallback) const { return ini_.ReadInteger("Settings", key, fallback); }
  TColor Color(std::string_view key, TColor fallback) const {
    return static_cast<TColor>(Integer(key, static_cast<int32_t>(fallback)));
  }
  bool Boolean(std::string_view key, bool fallback) const { return Integer(key, fallback ? 1 : 0) != 0; }
  int32_t PhotographCount() const { return ini_.ReadInteger("Photographs", "Count", 0); }

 private:
  TIniFile ini_;
};

void ReadLegacySettings(const TLegacyAlbumReader& file, TAlbum& album) {
  TAlbumSettings& settings = album.Settings;
  TColorScheme& scheme = settings.ColorScheme;
  // The thumbnail choice stays Medium whatever pixel size the file gives.
  settings.SetThumbSize(TPhotoSize::Medium);
  settings.ThumbWidth = file.Integer("ThumbWidth", 100);
  settings.ThumbHeight = file.Integer("ThumbHeight", 75);
  settings.SetOutputDirectory(file.Text("Settings", "OutputDirectory", ""));
  scheme.Name = file.Text("Settings", "SchemeName", "Default");
  scheme.SetPageColor(file.Color("PageColor", kWhite));
  scheme.TextColor = file.Color("TextColor", kBlack);
  scheme.LinkColor = file.Color("LinkColor", kBlue);
  scheme.HotLinkColor = file.Color("HotLinkColor", kRed);
  settings.NavigationBelowPhoto = file.Boolean("NavBelowPhoto", false);
  settings.ThumbNavigationBar = file.Boolean("ThumbNavigationBar", true);
  settings.ThumbnailRows = file.Integer("IndexRows", 5);
  settings.ThumbnailCols = file.Integer("IndexCols", 4);
  SetLegacyPhotoSize(settings, file.Integer("PhotoSize", 1));
  album.Title = file.Text("Settings", "AlbumTitle", "My Untitled Album");
  settings.HomeURL = file.Text("Settings", "HomeURL", "");
}

}  // namespace

void ImportLegacyAlbum(TAlbum& album, std::string_view bytes) {
  const TLegacyAlbumReader file(bytes);
  ReadLegacySettings(file, album);
  const int32_t count = PlausiblePhotographCount(file.PhotographCount(), bytes);
  for (int32_t i = 0; i < count; ++i) {
    const std::string number = std::to_string(i);
    auto photograph = std::make_unique<TPhotograph>();
    photograph->SetFileName(ResolvePhotoPath(file.Text("Photographs", "Photo" + number, ""), album.FileName));
    // Assigned even when empty, so IPTC texts of the file never survive the import.
    photograph->Caption = file.Text("PhotoCaptions", "Caption" + number, "");
    photograph->Title = file.Text("PhotoTitles", "Title" + number, "");
    album.Photographs.Add(std::move(photograph));
  }
}

}  // namespace folivant
