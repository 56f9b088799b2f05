// Feeds arbitrary bytes to the metadata reader three ways: as a whole file, as
// the payload of an EXIF segment and as an APP13 segment, so that the EXIF walk
// and the IPTC parser are reached without the fuzzer first finding a JPEG.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/metadata/imgdata.h"

namespace {

folivant::TSegment MakeSegment(uint8_t marker, std::string payload) {
  folivant::TSegment segment;
  segment.marker = marker;
  const size_t length = payload.size() + 2;
  segment.length = static_cast<uint16_t>(length);
  segment.bytes = std::string{static_cast<char>(length >> 8), static_cast<char>(length)} + payload;
  return segment;
}

void CheckDateTime(const folivant::TImageInfo& exif) {
  if (exif.DateTime().size() > 20) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  folivant::TimgData metadata;
  metadata.ReadMetadataFromBytes(bytes);
  metadata.ParseIptc();
  metadata.ReadDataset("ImageHeadline", "");
  if (metadata.HasExif()) CheckDateTime(*metadata.ExifData());
  if (metadata.Segments().size() > 20) std::abort();

  // A segment holds at most 65533 payload bytes.
  const std::string payload = bytes.substr(0, 65533 - 6);
  CheckDateTime(folivant::TImageInfo(MakeSegment(0xE1, std::string("Exif\0\0", 6) + payload)));
  folivant::TIPTCdata iptc;
  iptc.Parse(MakeSegment(0xED, payload));
  iptc.Find("Keywords");
  return 0;
}
