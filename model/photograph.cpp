#include <algorithm>
#include <cmath>

#include "model/albumclasses.h"
#include "model/identifier.h"
#include "platform/collation.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/ini.h"
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
  if (metadata_->HasIptc()) {
    Title = AnsiToUtf8(metadata_->ReadDataset("ImageHeadline", ""));
    Caption = AnsiToUtf8(metadata_->ReadDataset("ImageCaption", ""));
  }
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
  if (a.Metadata().HasExif() && b.Metadata().HasExif())
    return CompareAsciiFolded(a.Metadata().ExifData()->DateTime(), b.Metadata().ExifData()->DateTime());
  const int64_t difference = int64_t{FileAgeDos(a.FileName)} - int64_t{FileAgeDos(b.FileName)};
  return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

}  // namespace folivant
