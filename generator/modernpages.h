#pragma once

#include <string>
#include <string_view>

#include "generator/pagegenerator.h"

namespace folivant {

/// Writes the modern pages: HTML5 whose photo page shows the photograph as
/// large as the window allows, each photograph and thumbnail offered at
/// several widths so that every screen loads the smallest that is sharp
/// there, a justified thumbnail index, light and dark looks from the album's
/// colours, and links to the neighbours that keys and swipes follow. The page
/// arithmetic and file names are the classic pages' own; the author's texts
/// keep only the markup SafeInlineMarkup keeps.
class TModernPageGenerator : public TAlbumPageGenerator {
 public:
  /// Borrows `album` and `images` (what the run knows of each photograph's
  /// image files); both must outlive the generator.
  TModernPageGenerator(const TAlbum& album, const TPublishedImageFiles& images);

  /// Also fills the modern template's placeholders: the dark look's colours
  /// ("<DARK_PAGE_COLOR>" ...), the muted text colours, "<ROW_HEIGHT>",
  /// "<DENSE_ROW_HEIGHT>", "<PHOTO_ROOM>", "<STRIP_HEIGHT>", and the older "<THUMB_HEIGHT>",
  /// "<THUMBNAIL_COLUMNS>" and "<PHOTO_TOP_ROOM>".
  void FillStylesheet(TLineList& lines) override;
  TLineList BuildIndexPage(int page) const override;
  TLineList BuildPhotoPage(int index) const override;

 private:
  std::string GeneratorMeta() const;
  const std::vector<TImageFile>* Files(int index) const;
  /// Whether any photograph got images, so that the album has a zip.
  bool AnyImages() const;
  /// The photograph's files of the photo ladder, or of its thumbnail, by width.
  std::vector<const TImageFile*> Candidates(int index, bool thumbnail) const;
  /// How high a thumbnail is shown (a CSS length) on the screens a media
  /// condition names; on every other screen when it is empty.
  struct TShownHeight {
    std::string_view Media;
    std::string Height;
  };
  /// The <img> of the photograph's thumbnail shown as high as the first of
  /// `heights` whose screens the browser's is, and at most `widest` wide
  /// (none when empty), or the text standing in for it when the photograph
  /// got no images; `named` when the title stands beside it.
  std::string Thumbnail(int index, const std::vector<TShownHeight>& heights, std::string_view widest, bool lazy,
                        bool named) const;
  /// Head lines shared by every page: description, icon, link previews.
  TLineList Head(const std::string& description, const std::string& title, const std::string& page_file,
                 int image_index) const;
  std::string AbsoluteAddress(const std::string& file) const;

  TLineList Header() const;
  TLineList Grid(int page) const;
  TLineList Pager(int page) const;

  TLineList Stage(int index) const;
  TLineList Bar(int index) const;
  TLineList Caption(int index) const;
  TLineList CameraList(int index) const;
  TLineList Strip(int index) const;

  const TPublishedImageFiles& images_;
};

}  // namespace folivant
