#include "pagetestutil.h"

namespace folivant::test {

TPhotograph& AddPhoto(TAlbum& album, const std::string& web_name, const std::string& title,
                      const std::string& caption) {
  TPhotograph& photo = album.Photographs.Add(std::make_unique<TPhotograph>());
  photo.WebName = web_name;
  photo.Title = title;
  photo.Caption = caption;
  return photo;
}

void MakeSummerAlbum(TAlbum& album) {
  album.Title = "Summer";
  album.Description = "Two days at the lake.";
  album.Settings.HomeURL = "../index.html";
  album.Settings.ThumbnailRows = 1;
  album.Settings.ThumbnailCols = 2;
  AddPhoto(album, "lake", "Lake");
  AddPhoto(album, "boat", "Boat");
  AddPhoto(album, "dock", "Dock", "At dusk.");
}

}  // namespace folivant::test
