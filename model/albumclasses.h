#pragma once

// The album document: photographs, the album with its settings and colours.
// Texts are UTF-8 throughout; paths are the bytes the file system uses.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/metadata/imgdata.h"

namespace folivant {

/// Size choice for generated photographs and thumbnails; the album file stores the texts.
enum class TPhotoSize : uint8_t { Small, Medium, Large, Original, Custom };
/// Turn applied to a photograph: Left is a quarter turn anticlockwise, Right clockwise.
enum class TRotation : uint8_t { None, Left, Right, UpsideDown };

/// "small", "medium", "large", "original", "custom"; "unknown" outside the range.
std::string PhotoSizeToText(TPhotoSize size);
/// Exact, case-sensitive match; throws TError "Can't convert to photo size".
TPhotoSize TextToPhotoSize(const std::string& text);
/// "none", "left", "right", "upsidedown"; "unknown" outside the range.
std::string RotationToText(TRotation rotation);
/// Exact, case-sensitive match; throws TError "Can't convert to rotation".
TRotation TextToRotation(const std::string& text);

/// The page style an album is generated in: Classic writes XHTML 1.0 Strict
/// pages of fixed size, Modern fluid HTML5 pages with 2x images and keys.
enum class TPageStyle : uint8_t { Classic, Modern };
/// Every page style, in the order front ends offer them.
inline constexpr TPageStyle kPageStyles[] = {TPageStyle::Classic, TPageStyle::Modern};

/// "classic", "modern"; "unknown" outside the range.
std::string PageStyleToText(TPageStyle style);
/// Exact, case-sensitive match; throws TError "Can't convert to page style".
TPageStyle TextToPageStyle(const std::string& text);

/// A colour as 0x00BBGGRR: red in the lowest byte.
using TColor = uint32_t;

inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kBlue = 0xFF0000;
inline constexpr TColor kRed = 0x0000FF;

/// The colour as album and colour scheme files store it: a signed 32-bit decimal number.
std::string ColorText(TColor color);

/// A named set of page colours. The border colour always follows the page colour.
class TColorScheme {
 public:
  TColorScheme();

  std::string Name = "Default";
  TColor TextColor = kBlack;
  TColor LinkColor = kBlue;
  TColor HotLinkColor = kRed;

  TColor PageColor() const { return page_color_; }
  TColor BorderColor() const { return border_color_; }
  /// Stores the page colour and derives the border: 40 darker on a bright page, 40 lighter on a dark one.
  void SetPageColor(TColor color);
  void Assign(const TColorScheme& other);
  bool operator==(const TColorScheme&) const = default;

 private:
  TColor page_color_ = kWhite;
  TColor border_color_ = 0;
};

/// One photograph of an album: a JPEG file with a title, caption and rotation.
class TPhotograph {
 public:
  TPhotograph();
  ~TPhotograph();
  TPhotograph(const TPhotograph&) = delete;
  TPhotograph& operator=(const TPhotograph&) = delete;

  std::string Title;
  std::string Caption;
  std::string FileName;
  TRotation Rotation = TRotation::None;
  /// Unique output base name; valid only after the album's AssignWebNames.
  std::string WebName;

  /// The file did not exist when the file name was last set.
  bool Missing() const { return missing_; }
  const TimgData& Metadata() const { return *metadata_; }

  /// Sets the path, tests the file and reads its metadata. The title and
  /// caption become the IPTC headline and caption, else the XMP title and
  /// description (an IPTC segment without them clears them; a file with
  /// neither keeps them), as SafeInlineMarkup makes them. Never throws.
  void SetFileName(const std::string& path);
  /// Gives the photograph a file as adding or choosing one does: SetFileName,
  /// then the rotation that shows it upright when the file has an EXIF
  /// orientation (without one the rotation stays). Loading an album never
  /// does this, so saved rotations are kept. Never throws.
  void AdoptFile(const std::string& path);
  /// The title, or the file name when the title is blank; "[?] " first when missing.
  std::string DisplayTitle() const;
  /// Lower-case ASCII identifier from the title or file name, "photo" when nothing is left.
  std::string BaseWebName() const;
  /// Composes a further turn with the current rotation.
  void Rotate(TRotation by);

 private:
  bool missing_ = false;
  std::unique_ptr<TimgData> metadata_;
};

int CompareByTitle(const TPhotograph& a, const TPhotograph& b);
int CompareByFileName(const TPhotograph& a, const TPhotograph& b);
int CompareByDate(const TPhotograph& a, const TPhotograph& b);

/// Whether `text` can be an album's web address: an http or https address
/// with a host and no blanks or control characters.
bool IsWebAddress(std::string_view text);

/// The longer sides (in pixels) that modern photographs are offered at for
/// today's screens, as a square box a photograph is fitted into; new modern
/// albums take the last.
inline constexpr int32_t kModernPhotoSides[] = {1280, 1920, 2560};

/// The presentation and output settings of an album.
class TAlbumSettings {
 public:
  TAlbumSettings();

  bool ThumbNavigationBar = true;
  bool NavigationBelowPhoto = false;
  bool NavigateInLoop = false;
  /// Ends with "/" whenever it is not empty (SetOutputDirectory keeps it so).
  std::string OutputDirectory;
  std::string HomeURL;
  TPhotoSize PhotoSize = TPhotoSize::Medium;
  int32_t PhotoWidth = 640;
  int32_t PhotoHeight = 480;
  TPhotoSize ThumbSize = TPhotoSize::Medium;
  int32_t ThumbWidth = 100;
  int32_t ThumbHeight = 75;
  int32_t ThumbnailRows = 5;
  int32_t ThumbnailCols = 4;
  TColorScheme ColorScheme;
  /// The album file stores it only when it is not Classic.
  TPageStyle PageStyle = TPageStyle::Classic;
  /// Modern pages show each photograph's camera data under its caption; the
  /// album file stores it only when it is on.
  bool ShowCameraData = false;
  /// The run writes a copy of the album file into the output folder; the
  /// album file stores it only when it is off.
  bool AlbumCopy = true;
  /// Where the album folder will be on the web ("https://example.org/trip/"),
  /// so that modern pages can give link previews absolute addresses; empty
  /// when unknown. The album file stores it only when it is set.
  std::string WebAddress;
  /// Modern pages offer one zip file of the album's photographs; the album
  /// file stores it only when it is on.
  bool ZipDownload = false;
  /// Modern photo pages offer the photograph's own file for download, copied
  /// into the folder; the album file stores it only when it is on.
  bool OriginalDownloads = false;

  /// Sets the choice and its standard pixel size.
  void SetPhotoSize(TPhotoSize size);
  /// Sets the choice and its standard pixel size; Original keeps the pixel size.
  void SetThumbSize(TPhotoSize size);
  void SetOutputDirectory(const std::string& path);
  /// Sets the page style. A photo size made for the other style becomes this
  /// style's own: a classic size a modern album's largest screen size, a
  /// modern screen size the classic Medium.
  void SetPageStyle(TPageStyle style);
  /// Whether the photo size is one of kModernPhotoSides.
  bool HasModernPhotoSize() const;
  bool operator==(const TAlbumSettings&) const = default;
};

/// The album's photographs in album order; the list owns them.
class TPhotographList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  TPhotograph& operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }
  /// Takes ownership and appends; returns the photograph.
  TPhotograph& Add(std::unique_ptr<TPhotograph> photograph);
  /// Removes and destroys the given photograph.
  void Remove(const TPhotograph* photograph);
  /// Removes the photograph at `index` and hands it over.
  std::unique_ptr<TPhotograph> Take(int index);
  /// Takes ownership and puts the photograph at `index` (0..Count()); returns it.
  TPhotograph& Insert(int index, std::unique_ptr<TPhotograph> photograph);
  /// Moves the photograph at `from` to `to`; the others shift.
  void Move(int from, int to);
  void Clear() { items_.clear(); }
  int IndexOf(const TPhotograph* photograph) const;
  /// Unstable in-place quicksort, safe with comparisons that are not transitive.
  void Sort(int (*compare)(const TPhotograph&, const TPhotograph&));
  /// The photographs in album order, by identity.
  std::vector<const TPhotograph*> Order() const;
  /// Puts the photographs in `order`, which names each of them once; throws
  /// std::invalid_argument, changing nothing, when it does not.
  void Arrange(const std::vector<const TPhotograph*>& order);

 private:
  std::vector<std::unique_ptr<TPhotograph>> items_;
};

/// The document the user edits.
class TAlbum {
 public:
  TAlbum();

  TAlbumSettings Settings;
  /// Set by LoadFromFile: some photograph's file was missing.
  bool HasMissing = false;
  TPhotographList Photographs;
  std::string Title = "Untitled Album";
  std::string Description = "Various photographs that I'd like to share on the Web.";
  /// Path of the album file; empty for an album never saved.
  std::string FileName;
  /// No change since creation, loading or saving.
  bool Saved = true;

  void MarkModified() { Saved = false; }
  bool AnyMissing() const;
  void SortByTitle();
  void SortByFileName();
  void SortByDate();
  /// Identifier made from the title ("MyAlbum" when nothing is left), at most
  /// 251 bytes so that it takes ".alb" as a file name.
  std::string AlbumFileBaseName() const;
  /// Gives every photograph a unique WebName ("beach", "beach2", ...) of at
  /// most 242 bytes, none of them the name of an index page ("index",
  /// "index2", ...) or of another photograph's thumbnail ("<web name>_small").
  void AssignWebNames();

  /// Writes the album file to FileName. Throws TError; the previous file stays
  /// intact on failure and Saved becomes true only after a successful write.
  void SaveToFile();
  /// Reads the album file at `path` (either format) into a new album, saved,
  /// with FileName `path` and HasMissing set. Throws TError and then gives
  /// nothing back, so no half-read album can be saved over the file.
  static std::unique_ptr<TAlbum> LoadFromFile(const std::string& path);
};

}  // namespace folivant
