#pragma once

#include <string>
#include <string_view>

#include "generator/pagegenerator.h"

namespace folivant {

/// Writes the modern pages: HTML5 that fits every window from a phone to a
/// large screen, images offered at twice their size to sharp screens, links to
/// the previous and next photograph that the arrow keys follow. The page
/// arithmetic, file names and album texts are the classic pages' own.
class TModernPageGenerator : public TAlbumPageGenerator {
 public:
  /// Borrows `album` and `images` (what the run knows of each photograph's
  /// image files); both must outlive the generator.
  TModernPageGenerator(const TAlbum& album, const TPublishedImageFiles& images);

  /// Also fills "<THUMB_HEIGHT>", "<THUMBNAIL_COLUMNS>" and "<PHOTO_TOP_ROOM>"
  /// (the height above the photograph, which the photograph leaves free so it
  /// fits the window).
  void FillStylesheet(TLineList& lines) override;
  TLineList BuildIndexPage(int page) const override;
  TLineList BuildPhotoPage(int index) const override;

 private:
  std::string GeneratorMeta() const;
  std::string PhotoTopRoom() const;
  const std::vector<TImageFile>* Files(int index) const;
  /// The <img> of one of the photograph's pictures, or the text standing in
  /// for it when the photograph got no images.
  std::string Picture(int index, bool thumbnail) const;

  TLineList Grid(int page) const;
  std::string PageNavigation(int page) const;
  std::string HomeNavigation() const;

  TLineList Relations(int index) const;
  TLineList Navigation(int index) const;
  std::string TextNavigation(int index) const;
  TLineList ThumbnailStrip(int index) const;
  TLineList Figure(int index) const;
  TLineList CameraList(int index) const;

  const TPublishedImageFiles& images_;
};

}  // namespace folivant
