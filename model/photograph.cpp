#include <algorithm>
#include <cmath>
#include <optional>

#include "model/albumclasses.h"
#include "model/identifier.h"
#include "platform/collation.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/markup.h"
#include "platform/text.h"

namespace folivant {

namespace {

// The texts album files store for an enumeration's values.
template <typename Value>
struct TNamedValue {
  const char* text;
  Value value;
};

constexpr TNamedValue<TPhotoSize> kPhotoSizeTexts[] = {{"small", TPhotoSize::Small},
                                                       {"medium", TPhotoSize::Medium},
                                                       {"large", TPhotoSize::Large},
                                                       {"original", TPhotoSize::Original},
                                                       {"custom", TPhotoSize::Custom}};
constexpr TNamedValue<TRotation> kRotationTexts[] = {{"none", TRotation::None},
                                                     {"left", TRotation::Left},
                                                     {"right", TRotation::Right},
                                                     {"upsidedown", TRotation::UpsideDown}};
constexpr TNamedValue<TPageStyle> kPageStyleTexts[] = {{"classic", TPageStyle::Classic},
                                                       {"modern", TPageStyle::Modern}};

template <typename Value, size_t Count>
std::string TextOf(const TNamedValue<Value> (&table)[Count], Value value) {
  for (const TNamedValue<Value>& entry : table)
    if (entry.value == value) return entry.text;
  return "unknown";
}

template <typename Value, size_t Count>
Value ValueOf(const TNamedValue<Value> (&table)[Count], const std::string& text, const char* error) {
  for (const TNamedValue<Value>& entry : table)
    if (text == entry.text) return entry.value;
  throw TError(error);
}

// A text of the file's metadata, which anyone may have written: the IPTC
// dataset, else the XMP text; nothing when the file has neither. An IPTC
// segment without the dataset gives an empty text, as it always has.
std::optional<std::string> MetadataText(const TimgData& metadata, const char* dataset, std::string_view xmp_text) {
  if (const TIptcDataset* found = metadata.IptcData() ? metadata.IptcData()->Find(dataset) : nullptr)
    return SafeInlineMarkup(AnsiToUtf8(found->data));
  if (!xmp_text.empty()) return SafeInlineMarkup(xmp_text);
  if (metadata.HasIptc()) return std::string();
  return std::nullopt;
}

// The turn that shows a picture stored with an EXIF orientation upright. The
// mirrored orientations take their turn only: 2 is mirrored, 4 mirrored and
// upside down, 5 mirrored and turned left, 7 mirrored and turned right.
TRotation UprightRotation(int orientation) {
  switch (orientation) {
    case 3:
    case 4: return TRotation::UpsideDown;
    case 5:
    case 8: return TRotation::Left;
    case 6:
    case 7: return TRotation::Right;
    default: return TRotation::None;
  }
}

}  // namespace

std::string PhotoSizeToText(TPhotoSize size) { return TextOf(kPhotoSizeTexts, size); }

TPhotoSize TextToPhotoSize(const std::string& text) {
  return ValueOf(kPhotoSizeTexts, text, "Can't convert to photo size");
}

std::string RotationToText(TRotation rotation) { return TextOf(kRotationTexts, rotation); }

TRotation TextToRotation(const std::string& text) { return ValueOf(kRotationTexts, text, "Can't convert to rotation"); }

std::string PageStyleToText(TPageStyle style) { return TextOf(kPageStyleTexts, style); }

TPageStyle TextToPageStyle(const std::string& text) {
  return ValueOf(kPageStyleTexts, text, "Can't convert to page style");
}

TPhotograph::TPhotograph() : metadata_(std::make_unique<TimgData>()) {}
TPhotograph::~TPhotograph() = default;

void TPhotograph::SetFileName(const std::string& path) {
  FileName = path;
  const bool exists = FileExists(path);
  missing_ = !exists;
  if (exists && metadata_->ReadMetadata(path) && metadata_->HasIptc()) metadata_->ParseIptc();
  // A missing file keeps the metadata last read, and with it the texts it gave.
  const TXmpData* xmp = metadata_->XmpData();
  if (std::optional<std::string> title = MetadataText(*metadata_, "ImageHeadline", xmp ? xmp->Title() : ""))
    Title = std::move(*title);
  if (std::optional<std::string> caption = MetadataText(*metadata_, "ImageCaption", xmp ? xmp->Description() : ""))
    Caption = std::move(*caption);
}

void TPhotograph::AdoptFile(const std::string& path) {
  SetFileName(path);
  if (missing_ || !metadata_->ExifData() || metadata_->ExifData()->Orientation() == 0) return;
  Rotation = UprightRotation(metadata_->ExifData()->Orientation());
}

std::string TPhotograph::DisplayTitle() const {
  std::string title = TrimBlanks(Title).empty() ? SanitizeUtf8(ExtractFileName(FileName)) : Title;
  return missing_ ? "[?] " + title : title;
}

std::string TPhotograph::BaseWebName() const {
  std::string source;
  if (!Title.empty()) {
    source = Title;
  } else {
    source = ExtractFileName(FileName);
    const std::string extension = ExtractFileExt(source);
    // The extension goes at its first occurrence, so "a.jpg.jpg" gives "a.jpg".
    if (!extension.empty()) source.erase(source.find(extension), extension.size());
  }
  const std::string result = AsciiIdentifier(source);
  return AsciiLowerCase(result.empty() ? "Photo" : result);
}

// Quarter turns clockwise of each rotation.
static int QuarterTurns(TRotation rotation) {
  switch (rotation) {
    case TRotation::Right: return 1;
    case TRotation::UpsideDown: return 2;
    case TRotation::Left: return 3;
    case TRotation::None: break;
  }
  return 0;
}

void TPhotograph::Rotate(TRotation by) {
  static const TRotation kByTurns[] = {TRotation::None, TRotation::Right, TRotation::UpsideDown, TRotation::Left};
  Rotation = kByTurns[(QuarterTurns(Rotation) + QuarterTurns(by)) % 4];
}

int CompareByTitle(const TPhotograph& a, const TPhotograph& b) {
  return CompareTextLocale(a.DisplayTitle(), b.DisplayTitle());
}

static int AsciiUpperByte(char c) {
  const int byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
}

// Byte by byte with only ASCII letters folded to upper case.
static int CompareAsciiFolded(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const int difference = AsciiUpperByte(a[i]) - AsciiUpperByte(b[i]);
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareByFileName(const TPhotograph& a, const TPhotograph& b) { return CompareAsciiFolded(a.FileName, b.FileName); }

int CompareByDate(const TPhotograph& a, const TPhotograph& b) {
  if (a.Metadata().HasCaptureDate() && b.Metadata().HasCaptureDate())
    return CompareAsciiFolded(a.Metadata().CaptureDate(), b.Metadata().CaptureDate());
  const int64_t difference = int64_t{FileAgeDos(a.FileName)} - int64_t{FileAgeDos(b.FileName)};
  return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

}  // namespace folivant
