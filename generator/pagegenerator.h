#pragma once

#include <string>

#include "generator/utilities.h"
#include "model/albumclasses.h"

namespace folivant {

/// Writes the stylesheet and every page of one generation run. Reads the
/// album afresh for each page; web names must have been assigned first.
class TAlbumPageGenerator {
 public:
  /// Throws TError when the album's rows or columns are below 1.
  explicit TAlbumPageGenerator(const TAlbum& album);

  const char IndentChar = '\t';
  int32_t PhotosPerPage() const { return photos_per_page_; }

  /// Fills the placeholders of a copy of the stylesheet template in place.
  void FillStylesheet(TLineList& lines);
  int IndexPageCount() const;
  /// 1-based index page that shows the photograph at the 0-based `index`.
  int IndexPageOfPhoto(int index) const;
  std::string GeneratorMetaTag() const;
  std::string PhotoPageFileName(int index) const;
  /// "index.html" for page 1, "index" + N + ".html" from page 2.
  static std::string IndexPageFileName(int page);
  std::string ThumbnailCell(int index, bool linked) const;
  /// Throws TError "Could not load index page template" when the template is absent.
  TLineList BuildIndexPage(int page) const;
  /// Throws TError "Could not load photo page template" when the template is absent.
  TLineList BuildPhotoPage(int index) const;

 private:
  const TAlbum& album_;
  const TLineList* stylesheet_ = nullptr;
  int32_t photos_per_page_ = 0;
};

}  // namespace folivant
