#include "generation/runchecks.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "generator/pagegenerator.h"
#include "generator/photogenerator.h"
#include "generator/utilities.h"
#include "platform/error.h"
#include "platform/fileidentity.h"
#include "platform/filesystem.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace folivant {

std::string ExistingFolderQuestion(const std::string& folder) {
  return "The output folder '" + folder +
         "' already exists and may have files in it. Would you like to continue anyway?";
}

std::string DefaultOutputFolder(const TAlbum& album, const std::string& desktop_folder) {
  const std::string base = album.AlbumFileBaseName();
  return desktop_folder.empty() ? base : JoinPath(desktop_folder, base);
}

void SettleOutputFolder(TAlbum& album, const std::string& field_text, const std::string& desktop_folder) {
  const std::string before = album.Settings.OutputDirectory;
  if (!TrimBlanks(field_text).empty()) {
    album.Settings.SetOutputDirectory(field_text);
  } else if (album.Settings.OutputDirectory.empty()) {
    album.Settings.SetOutputDirectory(DefaultOutputFolder(album, desktop_folder));
  }
  // The folder is saved with the album, so a new one is a change to keep.
  if (album.Settings.OutputDirectory != before) album.MarkModified();
}

namespace {

// The longest file name Linux file systems take, in bytes.
constexpr size_t kMaxFileNameBytes = 255;

void CheckRange(const std::string& what, int32_t value, int32_t maximum, const char* unit) {
  if (value < 1 || value > maximum)
    throw TError("The " + what + " must be from 1 to " + std::to_string(maximum) + unit + ", not " +
                 std::to_string(value) + ".");
}

void CheckTemplate(const char* name, const char* load_error) {
  if (!FindResource(name)) throw TError(load_error);
}

// Refuses a folder where a file of the run would replace the file of a
// photograph, under whatever name or link it is reached there.
void CheckOutputsSpareThePhotographs(const TAlbum& album) {
  std::vector<std::pair<TFileIdentity, const TPhotograph*>> sources;
  for (int i = 0; i < album.Photographs.Count(); ++i) {
    const TPhotograph& photograph = album.Photographs[i];
    if (const std::optional<TFileIdentity> identity = FileIdentity(photograph.FileName))
      sources.emplace_back(*identity, &photograph);
  }
  if (sources.empty()) return;
  for (const std::string& name : OutputFileNames(album)) {
    const std::string path = album.Settings.OutputDirectory + name;
    const std::optional<TFileIdentity> identity = FileIdentity(path);
    if (!identity) continue;
    for (const auto& [source, photograph] : sources) {
      if (source != *identity) continue;
      throw TError("The output file \"" + path + "\" would replace the photograph \"" + photograph->DisplayTitle() +
                   "\" (" + photograph->FileName + "). Please choose another output folder.");
    }
  }
}

void CreateOutputFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (DirectoryExists(folder)) return;
  const std::filesystem::path bare = std::filesystem::path(folder).parent_path();
  std::error_code ignored;
  const bool file_in_the_way = std::filesystem::exists(bare, ignored) && !std::filesystem::is_directory(bare, ignored);
  const std::string reason = file_in_the_way ? "A file of that name exists"
                             : error         ? error.message()
                                             : std::string("Not a folder");
  throw TError("Could not create directory \"" + folder + "\". " + reason);
}

}  // namespace

void CheckRunSettings(const TAlbumSettings& settings) {
  if (settings.PhotoSize != TPhotoSize::Original)
    CheckRange("photo width", settings.PhotoWidth, kMaxPictureSide, " pixels");
  CheckRange("thumbnail width", settings.ThumbWidth, kMaxPictureSide, " pixels");
  CheckRange("thumbnail height", settings.ThumbHeight, kMaxPictureSide, " pixels");
  CheckRange("number of thumbnail rows", settings.ThumbnailRows, kRunMaxThumbnailGridSide, "");
  CheckRange("number of thumbnail columns", settings.ThumbnailCols, kRunMaxThumbnailGridSide, "");
  CheckTemplate(IndexPageTemplateName(settings.PageStyle), "Could not load index page template");
  CheckTemplate(PhotoPageTemplateName(settings.PageStyle), "Could not load photo page template");
}

std::string AlbumCopyName(const TAlbum& album) {
  const std::string base = album.AlbumFileBaseName();
  const std::optional<TFileIdentity> album_file = FileIdentity(album.FileName);
  std::string name = base + kAlbumFileExtension;
  for (int n = 2; album_file && FileIdentity(album.Settings.OutputDirectory + name) == album_file; ++n) {
    const std::string number = std::to_string(n);
    const size_t room = kMaxFileNameBytes - std::string_view(kAlbumFileExtension).size() - number.size();
    name = base.substr(0, room) + number + kAlbumFileExtension;
  }
  return name;
}

std::vector<std::string> OutputFileNames(const TAlbum& album) {
  std::vector<std::string> names{"main.css"};
  if (album.Settings.AlbumCopy) names.push_back(AlbumCopyName(album));
  for (int i = 0; i < album.Photographs.Count(); ++i) {
    const std::string& web_name = album.Photographs[i].WebName;
    for (std::string_view ending : ImageFileEndings(album.Settings.PageStyle))
      names.push_back(web_name + std::string(ending));
    names.push_back(web_name + ".html");
  }
  const int index_pages = TAlbumPageGenerator(album).IndexPageCount();
  for (int page = 1; page <= index_pages; ++page) names.push_back(TAlbumPageGenerator::IndexPageFileName(page));
  return names;
}

TFinishCheck CheckFinish(TAlbum& album, const std::string& field_text, const std::string& desktop_folder,
                         const std::function<bool(const std::string& question)>& continue_in_existing_folder) {
  if (album.Photographs.Empty()) return TFinishCheck::NoPhotographs;
  CheckRunSettings(album.Settings);
  SettleOutputFolder(album, field_text, desktop_folder);
  const std::string& folder = album.Settings.OutputDirectory;
  album.AssignWebNames();
  CheckOutputsSpareThePhotographs(album);
  if (DirectoryExists(folder) && !continue_in_existing_folder(ExistingFolderQuestion(folder)))
    return TFinishCheck::FolderRefused;
  CreateOutputFolder(folder);
  return TFinishCheck::Ready;
}

}  // namespace folivant
