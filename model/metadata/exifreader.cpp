#include <algorithm>
#include <string_view>
#include <vector>

#include "model/metadata/imgdata.h"

namespace folivant {
namespace {

// The TIFF header follows the two length bytes and "Exif\0\0"; every offset in
// the EXIF data counts from it.
constexpr size_t kTiffStart = 8;
constexpr uint32_t kTiffHeaderSize = 8;

constexpr uint16_t kTagDateTime = 0x0132;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kTagSubDirectories = 0x014A;
constexpr uint16_t kTagInteroperability = 0xA005;
constexpr uint16_t kTagGps = 0x8825;

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

// Walks the directories of TIFF-structured data for the date-time tags. Every
// read is checked against the data: what lies outside it is absent.
class TDirectoryWalk {
 public:
  TDirectoryWalk(std::string_view tiff, bool big_endian, std::string& date_time)
      : tiff_(tiff), big_endian_(big_endian), date_time_(date_time) {}

  // Each directory is walked at most once, so links that lead back to a
  // directory already walked (a loop) are cut off.
  void Walk(uint32_t offset) {
    if (walked_.size() >= kMaxDirectories || std::ranges::find(walked_, offset) != walked_.end()) return;
    if (!Fits(offset, 2)) return;
    walked_.push_back(offset);
    const uint16_t entries = U16(offset);
    if (!Fits(uint64_t{offset} + 2, uint64_t{entries} * kEntrySize)) return;
    for (size_t i = 0; i < entries; ++i) ReadEntry(offset + 2 + i * kEntrySize);
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

  void ReadEntry(size_t entry) {
    const uint16_t tag = U16(entry);
    const uint64_t size = U32(entry + 4) * TypeSize(U16(entry + 2));
    if (size == 0) return;
    switch (tag) {
      case kTagDateTime:
      case kTagDateTimeOriginal: {
        // Values of up to four bytes sit in the entry itself.
        const uint64_t at = size <= 4 ? entry + 8 : U32(entry + 8);
        if (Fits(at, size)) StoreDateTime(tiff_.substr(static_cast<size_t>(at), static_cast<size_t>(size)));
        break;
      }
      case kTagExifDirectory:
      case kTagSubDirectories:
      case kTagInteroperability:
      case kTagGps: Walk(U32(entry + 8)); break;
      default: break;
    }
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
  std::vector<uint32_t> walked_;
};

}  // namespace

TImageInfo::TImageInfo(const TSegment& segment) {
  const std::string_view bytes = segment.bytes;
  if (bytes.size() < kTiffStart + kTiffHeaderSize || bytes.substr(2, 4) != "Exif") return;
  const std::string_view byte_order = bytes.substr(kTiffStart, 2);
  if (byte_order != "II" && byte_order != "MM") return;
  big_endian_ = byte_order == "MM";
  TDirectoryWalk walk(bytes.substr(kTiffStart), big_endian_, date_time_);
  const uint32_t first = walk.U32(4);
  // Some writers leave the first directory's offset 0 and put it right after the header.
  walk.Walk(first == 0 ? kTiffHeaderSize : first);
}

}  // namespace folivant
