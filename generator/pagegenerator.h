#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/photogenerator.h"
#include "generator/utilities.h"
#include "model/albumclasses.h"

namespace folivant {

/// The names of the page templates of `style` (platform/resources.h).
const char* IndexPageTemplateName(TPageStyle style);
const char* PhotoPageTemplateName(TPageStyle style);

/// What the pages know of each photograph's image files, by album index:
/// nothing (not rendered in this run, so the pages refer to the usual files),
/// no files (the photograph got no images), or the files written, bytes empty.
using TPublishedImageFiles = std::vector<std::optional<std::vector<TImageFile>>>;

/// Writes the stylesheet and every page of one generation run. Reads the
/// album afresh for each page; web names must have been assigned first.
/// Album texts are written verbatim in element content (markup typed into a
/// caption stays markup) but escaped inside attribute values; bytes that are
/// not UTF-8 are replaced so that pages stay valid UTF-8.
class TAlbumPageGenerator {
 public:
  /// Keeps a reference to `album`, which must outlive the generator. Throws
  /// TError when the album's thumbnail rows or columns are below 1.
  explicit TAlbumPageGenerator(const TAlbum& album);
  virtual ~TAlbumPageGenerator() = default;

  const char IndentChar = '\t';
  int32_t PhotosPerPage() const { return photos_per_page_; }

  /// Fills the placeholders of a copy of the stylesheet template in place.
  virtual void FillStylesheet(TLineList& lines);
  int IndexPageCount() const;
  /// 1-based index page that shows the photograph at the 0-based `index`.
  int IndexPageOfPhoto(int index) const;
  std::string GeneratorMetaTag() const;
  std::string PhotoPageFileName(int index) const;
  /// "index.html" for page 1, "index" + N + ".html" from page 2.
  static std::string IndexPageFileName(int page);
  /// The thumbnail element of the photograph at `index`; a linked cell takes
  /// any index (wrapping or empty outside the album), an unlinked one needs a
  /// photograph of the album.
  std::string ThumbnailCell(int index, bool linked) const;
  /// Throws TError "Could not load index page template" when the template is absent.
  virtual TLineList BuildIndexPage(int page) const;
  /// Throws TError "Could not load photo page template" when the template is absent.
  virtual TLineList BuildPhotoPage(int index) const;

 protected:
  /// The bytes of the page template `name` ("indexpage", "photopage"), or
  /// nothing when there is none; the built-in resources unless overridden.
  virtual std::optional<std::string_view> TemplateText(std::string_view name) const;

  /// The template's lines with the product web address filled in; throws
  /// TError `load_error` when the template is absent.
  std::string LoadTemplate(std::string_view name, const char* load_error) const;
  const TPhotograph& Photo(int index) const { return album_.Photographs[index]; }
  int PhotoCount() const { return album_.Photographs.Count(); }
  /// The photograph a linked thumbnail at `index` shows: with the loop setting
  /// one wrap around the album, then clamping; else nothing outside the album.
  std::optional<int> LinkedIndex(int index) const;
  /// The photographs before and after the one at `index`, by the loop setting.
  std::optional<int> PreviousIndex(int index) const;
  std::optional<int> NextIndex(int index) const;
  /// Whether the album has a home address; "http://" alone is the prefix the wizard offers.
  bool HasHomeLink() const;

  const TAlbum& album_;

 private:
  std::string ThumbnailImage(int index) const;

  TLineList IndexTable(int page) const;
  TLineList DescriptionBlock() const;
  std::string HomeLink() const;
  std::string PageLinks(int page) const;

  TLineList TopNavigation(int index) const;
  TLineList BottomNavigation(int index) const;
  TLineList NavigationBlock(int index, bool thumbnails_first) const;
  void TextNavigationRow(TLineList& lines, int index) const;
  void ThumbnailNavigationRow(TLineList& lines, int index) const;
  std::string PreviousLink(int index) const;
  std::string IndexLink(int index) const;
  std::string NextLink(int index) const;
  TLineList PhotoElement(int index) const;
  TLineList CaptionBlock(int index) const;

  int32_t photos_per_page_ = 0;
};

/// The page generator of the album's page style; a modern one reads what it
/// knows of the images from `images`, which must outlive it.
std::unique_ptr<TAlbumPageGenerator> MakePageGenerator(const TAlbum& album, const TPublishedImageFiles& images);

}  // namespace folivant
