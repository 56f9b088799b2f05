#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Hand-made JPEG byte sequences for what real tools will not write.
namespace folivant::test {

inline constexpr uint8_t kApp0 = 0xE0, kApp1 = 0xE1, kApp2 = 0xE2, kApp13 = 0xED, kComment = 0xFE;
inline constexpr uint8_t kDqt = 0xDB, kDht = 0xC4, kSof0 = 0xC0, kSos = 0xDA;
inline constexpr uint16_t kTypeAscii = 2, kTypeLong = 4;

/// 0xFF, the marker, the 16-bit big-endian length (payload + 2), the payload.
std::string Segment(uint8_t marker, std::string_view payload);
/// A segment of `marker` with a few bytes of filler payload.
std::string FillerSegment(uint8_t marker);
/// Start of image, the segments, then a start of scan, scan data and end of image.
std::string Jpeg(const std::vector<std::string>& segments);
/// An APP1 segment holding `tiff` after the "Exif\0\0" signature.
std::string ExifSegment(std::string_view tiff);
/// An APP13 segment: "Photoshop 3.0" and an 8BIM IPTC resource holding `iim`.
std::string IptcSegment(std::string_view iim);
/// One IIM dataset: tag marker 0x1C, record, dataset, 16-bit size, data.
std::string Dataset(uint8_t record, uint8_t dataset, std::string_view data);

/// TIFF-structured EXIF data laid out by hand: each directory and value goes
/// at the offset the test chooses (offsets count from the TIFF header).
class TTiffBuilder {
 public:
  explicit TTiffBuilder(bool big_endian, uint32_t first_directory = 8);
  std::string Entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) const;
  /// The entry count, the entries and the link to the next directory.
  std::string Directory(const std::vector<std::string>& entries, uint32_t next = 0) const;
  /// Writes `bytes` at `offset`, padding with zero bytes up to it.
  TTiffBuilder& Put(uint32_t offset, std::string_view bytes);
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string U16(uint16_t value) const;
  std::string U32(uint32_t value) const;
  bool big_endian_;
  std::string bytes_;
};

}  // namespace folivant::test
