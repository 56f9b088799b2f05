#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "model/metadata/imgdata.h"
#include "platform/text.h"

namespace folivant {
namespace {

// The TIFF header follows the two length bytes and "Exif\0\0"; every offset in
// the EXIF data counts from it.
constexpr size_t kTiffStart = 8;
constexpr uint32_t kTiffHeaderSize = 8;

constexpr uint16_t kTagDateTime = 0x0132;
constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kTagSubDirectories = 0x014A;
constexpr uint16_t kTagInteroperability = 0xA005;
constexpr uint16_t kTagGps = 0x8825;

// What the camera recorded; read only from the main and the EXIF directories.
constexpr uint16_t kTagMake = 0x010F;
constexpr uint16_t kTagModel = 0x0110;
constexpr uint16_t kTagExposureTime = 0x829A;
constexpr uint16_t kTagFNumber = 0x829D;
constexpr uint16_t kTagIso = 0x8827;
constexpr uint16_t kTagFocalLength = 0x920A;
constexpr uint16_t kTagLensModel = 0xA434;

constexpr uint16_t kTypeAscii = 2;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeRational = 5;
constexpr size_t kMaxCameraText = 64;

constexpr size_t kEntrySize = 12;
constexpr size_t kMaxDateTimeLength = 20;
// A camera's EXIF data holds a handful of directories; a link structure with
// more is malformed, and following it could take very long.
constexpr size_t kMaxDirectories = 64;

// Bytes per value of the TIFF field types 1 to 12; other types count as 0.
uint64_t TypeSize(uint16_t type) {
  static constexpr uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  return type < std::size(kSizes) ? kSizes[type] : 0;
}

// A number with at most one decimal, without a trailing ".0".
std::string ShortNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string number = text;
  if (number.ends_with(".0")) number.resize(number.size() - 2);
  return number;
}

std::string ExposureText(uint32_t numerator, uint32_t denominator) {
  if (numerator >= denominator) return ShortNumber(static_cast<double>(numerator) / denominator) + " s";
  if (numerator == 1) return "1/" + std::to_string(denominator) + " s";
  // Cameras write 1/250 s as 10/2500 too; long exposures read better as decimals.
  const double fraction = static_cast<double>(denominator) / numerator;
  if (fraction >= 3) return "1/" + ShortNumber(std::round(fraction)) + " s";
  return ShortNumber(static_cast<double>(numerator) / denominator) + " s";
}

// A text tag's value for a page: up to its first zero byte, without trailing
// blanks, valid UTF-8 without control characters, and short.
std::string CameraText(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  std::string text;
  for (const char c : AnsiToUtf8(FirstCharacters(value, kMaxCameraText)))
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) text += c;
  return text;
}

// "YYYY:MM:DD HH:MM(:SS)" as "YYYY-MM-DD HH:MM"; anything else as it stands.
std::string DateTakenText(std::string_view value) {
  std::string text = CameraText(value);
  static constexpr std::string_view kForm = "dddd:dd:dd dd:dd";
  if (text.size() < kForm.size()) return text;
  for (size_t i = 0; i < kForm.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kForm[i] == 'd' ? !digit : text[i] != kForm[i]) return text;
  }
  text[4] = '-';
  text[7] = '-';
  return text.substr(0, kForm.size());
}

// Which directory is being walked: camera data is taken only from the main
// and the EXIF directories, never from the location or other directories, and
// the orientation only from the main one (the thumbnail's has its own).
enum class TDirectory : uint8_t { Main, Camera, Other };

// Walks the directories of TIFF-structured data for the date-time tags, the
// orientation and the camera data. Every read is checked against the data:
// what lies outside it is absent.
class TDirectoryWalk {
 public:
  TDirectoryWalk(std::string_view tiff, bool big_endian, std::string& date_time, int& orientation, TCameraData& camera)
      : tiff_(tiff), big_endian_(big_endian), date_time_(date_time), orientation_(orientation), camera_(camera) {}

  // Each directory is walked at most once, so links that lead back to a
  // directory already walked (a loop) are cut off.
  void Walk(uint32_t offset, TDirectory kind) {
    if (walked_.size() >= kMaxDirectories || std::ranges::find(walked_, offset) != walked_.end()) return;
    if (!Fits(offset, 2)) return;
    walked_.push_back(offset);
    const uint16_t entries = U16(offset);
    if (!Fits(uint64_t{offset} + 2, uint64_t{entries} * kEntrySize)) return;
    for (size_t i = 0; i < entries; ++i) ReadEntry(offset + 2 + i * kEntrySize, kind);
  }

  // The date taken falls back to the date-time of the main directory.
  void Finish() {
    if (camera_.DateTaken.empty()) camera_.DateTaken = DateTakenText(main_date_time_);
  }

  bool Fits(uint64_t offset, uint64_t size) const { return offset <= tiff_.size() && size <= tiff_.size() - offset; }

  uint32_t U32(size_t pos) const {
    return big_endian_ ? uint32_t{U16(pos)} << 16 | U16(pos + 2) : uint32_t{U16(pos + 2)} << 16 | U16(pos);
  }

 private:
  uint8_t Byte(size_t pos) const { return static_cast<uint8_t>(tiff_[pos]); }
  uint16_t U16(size_t pos) const {
    return static_cast<uint16_t>(big_endian_ ? Byte(pos) << 8 | Byte(pos + 1) : Byte(pos + 1) << 8 | Byte(pos));
  }

  // The entry's value, or nothing when it lies outside the data; values of up
  // to four bytes sit in the entry itself.
  std::optional<std::string_view> Value(size_t entry, uint64_t size) const {
    const uint64_t at = size <= 4 ? entry + 8 : U32(entry + 8);
    if (!Fits(at, size)) return std::nullopt;
    return tiff_.substr(static_cast<size_t>(at), static_cast<size_t>(size));
  }

  void ReadEntry(size_t entry, TDirectory kind) {
    const uint16_t tag = U16(entry);
    const uint16_t type = U16(entry + 2);
    const uint64_t size = U32(entry + 4) * TypeSize(type);
    if (size == 0) return;
    switch (tag) {
      case kTagDateTime:
      case kTagDateTimeOriginal:
        if (const std::optional<std::string_view> value = Value(entry, size)) {
          StoreDateTime(*value);
          if (kind != TDirectory::Other && type == kTypeAscii) {
            if (tag == kTagDateTimeOriginal)
              camera_.DateTaken = DateTakenText(*value);
            else
              main_date_time_ = *value;
          }
        }
        break;
      case kTagExifDirectory:
      case kTagSubDirectories:
        Walk(U32(entry + 8), kind == TDirectory::Other ? TDirectory::Other : TDirectory::Camera);
        break;
      case kTagOrientation: {
        // One short, which sits in the entry itself; values beyond 8 mean nothing.
        const uint16_t value = U16(entry + 8);
        if (kind == TDirectory::Main && type == kTypeShort && size == 2 && value >= 1 && value <= 8)
          orientation_ = value;
        break;
      }
      case kTagInteroperability:
      case kTagGps: Walk(U32(entry + 8), TDirectory::Other); break;
      default:
        if (kind != TDirectory::Other) ReadCameraEntry(entry, tag, type, size);
        break;
    }
  }

  void ReadCameraEntry(size_t entry, uint16_t tag, uint16_t type, uint64_t size) {
    const std::optional<std::string_view> value = Value(entry, size);
    if (!value) return;
    const auto text = [&](std::string& field) {
      if (type == kTypeAscii) field = CameraText(*value);
    };
    switch (tag) {
      case kTagMake: text(camera_.Make); break;
      case kTagModel: text(camera_.Model); break;
      case kTagLensModel: text(camera_.Lens); break;
      case kTagIso:
        if (type == kTypeShort) camera_.Iso = std::to_string(U16(value->data() - tiff_.data()));
        if (type == kTypeLong) camera_.Iso = std::to_string(U32(value->data() - tiff_.data()));
        break;
      case kTagExposureTime:
      case kTagFNumber:
      case kTagFocalLength: ReadRational(tag, type, static_cast<size_t>(value->data() - tiff_.data())); break;
      default: break;
    }
  }

  // A rational with a zero part means "unknown".
  void ReadRational(uint16_t tag, uint16_t type, size_t at) {
    if (type != kTypeRational) return;
    const uint32_t numerator = U32(at), denominator = U32(at + 4);
    if (numerator == 0 || denominator == 0) return;
    const double value = static_cast<double>(numerator) / denominator;
    if (tag == kTagExposureTime) camera_.ExposureTime = ExposureText(numerator, denominator);
    if (tag == kTagFNumber) camera_.Aperture = "f/" + ShortNumber(value);
    if (tag == kTagFocalLength) camera_.FocalLength = ShortNumber(value) + " mm";
  }

  // The value is ASCII ending with a zero byte; the tag met last wins.
  void StoreDateTime(std::string_view value) {
    value.remove_suffix(1);
    date_time_ = value.substr(0, kMaxDateTimeLength);
    std::ranges::replace_if(
        date_time_, [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '.');
  }

  std::string_view tiff_;
  bool big_endian_;
  std::string& date_time_;
  int& orientation_;
  TCameraData& camera_;
  std::string_view main_date_time_;
  std::vector<uint32_t> walked_;
};

}  // namespace

TImageInfo::TImageInfo(const TSegment& segment) {
  const std::string_view bytes = segment.bytes;
  if (bytes.size() < kTiffStart + kTiffHeaderSize || bytes.substr(2, 4) != "Exif") return;
  const std::string_view byte_order = bytes.substr(kTiffStart, 2);
  if (byte_order != "II" && byte_order != "MM") return;
  TDirectoryWalk walk(bytes.substr(kTiffStart), byte_order == "MM", date_time_, orientation_, camera_);
  const uint32_t first = walk.U32(4);
  // Some writers leave the first directory's offset 0 and put it right after the header.
  walk.Walk(first == 0 ? kTiffHeaderSize : first, TDirectory::Main);
  walk.Finish();
}

bool TCameraData::Empty() const {
  return Make.empty() && Model.empty() && Lens.empty() && FocalLength.empty() && Aperture.empty() &&
         ExposureTime.empty() && Iso.empty() && DateTaken.empty();
}

}  // namespace folivant
