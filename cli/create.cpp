#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "editor/findfiles.h"
#include "model/albumclasses.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/stoprequest.h"

namespace folivant::cli {

namespace {

void Sort(TAlbum& album, TSortOrder order) {
  switch (order) {
    case TSortOrder::Title: album.SortByTitle(); break;
    case TSortOrder::Date: album.SortByDate(); break;
    case TSortOrder::FileName: album.SortByFileName(); break;
  }
}

}  // namespace

int Create(const TOptions& options) {
  if (!options.Force && std::filesystem::exists(options.Album))
    throw TError("The album file \"" + options.Album + "\" already exists. Use --force to replace it.");
  if (!DirectoryExists(options.FromFolder)) throw TError("Couldn't find the folder \"" + options.FromFolder + "\".");
  // Photographs are stored with absolute paths, so the album works from anywhere.
  const std::string folder = std::filesystem::absolute(options.FromFolder).lexically_normal().string();
  const std::vector<std::string> paths = FindPhotographs(folder);
  if (paths.empty()) throw TError("Couldn't find any JPEG photos in " + options.FromFolder + ".");

  TAlbum album;
  if (options.Title) album.Title = *options.Title;
  for (const std::string& path : paths) {
    StopPoint();  // a large folder takes a while; nothing is written until the end
    album.Photographs.Add(std::make_unique<TPhotograph>()).AdoptFile(path);
  }
  if (options.Sort) Sort(album, *options.Sort);
  album.FileName = options.Album;
  album.SaveToFile();
  const int count = album.Photographs.Count();
  std::printf("Created %s with %d photograph%s from %s\n", options.Album.c_str(), count, count == 1 ? "" : "s",
              folder.c_str());
  return 0;
}

}  // namespace folivant::cli
