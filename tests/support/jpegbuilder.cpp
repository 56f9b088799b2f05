#include "jpegbuilder.h"

namespace folivant::test {

static std::string BigEndian16(size_t value) {
  return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Segment(uint8_t marker, std::string_view payload) {
  return std::string{'\xFF', static_cast<char>(marker)} + BigEndian16(payload.size() + 2) + std::string(payload);
}

std::string FillerSegment(uint8_t marker) { return Segment(marker, std::string(6, '\x11')); }

std::string Jpeg(const std::vector<std::string>& segments) {
  std::string bytes = "\xFF\xD8";
  for (const std::string& segment : segments) bytes += segment;
  bytes += Segment(kSos, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  return bytes + "\x12\x34\x56\x78\xFF\xD9";
}

std::string ExifSegment(std::string_view tiff) {
  return Segment(kApp1, std::string("Exif\0\0", 6) + std::string(tiff));
}

std::string IptcSegment(std::string_view iim) {
  std::string resource = "8BIM\x04\x04";
  resource += std::string(2, '\0');  // empty resource name, padded to an even length
  resource += std::string(2, '\0') + BigEndian16(iim.size());
  return Segment(kApp13, std::string("Photoshop 3.0\0", 14) + resource + std::string(iim));
}

std::string Dataset(uint8_t record, uint8_t dataset, std::string_view data) {
  return std::string{'\x1C', static_cast<char>(record), static_cast<char>(dataset)} + BigEndian16(data.size()) +
         std::string(data);
}

TTiffBuilder::TTiffBuilder(bool big_endian, uint32_t first_directory) : big_endian_(big_endian) {
  bytes_ = big_endian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  bytes_ += U32(first_directory);
}

std::string TTiffBuilder::U16(uint16_t value) const {
  const std::string big = BigEndian16(value);
  return big_endian_ ? big : std::string{big[1], big[0]};
}

std::string TTiffBuilder::U32(uint32_t value) const {
  const std::string high = U16(static_cast<uint16_t>(value >> 16)), low = U16(static_cast<uint16_t>(value));
  return big_endian_ ? high + low : low + high;
}

std::string TTiffBuilder::Entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) const {
  return U16(tag) + U16(type) + U32(count) + U32(value);
}

std::string TTiffBuilder::Directory(const std::vector<std::string>& entries, uint32_t next) const {
  std::string directory = U16(static_cast<uint16_t>(entries.size()));
  for (const std::string& entry : entries) directory += entry;
  return directory + U32(next);
}

TTiffBuilder& TTiffBuilder::Put(uint32_t offset, std::string_view bytes) {
  if (bytes_.size() < offset + bytes.size()) bytes_.resize(offset + bytes.size(), '\0');
  bytes_.replace(offset, bytes.size(), bytes);
  return *this;
}

}  // namespace folivant::test
