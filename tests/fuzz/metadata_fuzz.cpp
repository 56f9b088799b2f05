// Feeds arbitrary bytes to the metadata reader three ways: as a whole file, as
// the payload of an EXIF segment and as an APP13 segment, so that the EXIF walk
// and the IPTC parser are reached without the fuzzer first finding a JPEG.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/metadata/imgdata.h"
#include "platform/text.h"

namespace {

folivant::TSegment MakeSegment(uint8_t marker, std::string payload) {
  folivant::TSegment segment;
  segment.marker = marker;
  const size_t length = payload.size() + 2;
  segment.length = static_cast<uint16_t>(length);
  segment.bytes = std::string{static_cast<char>(length >> 8), static_cast<char>(length)} + payload;
  return segment;
}

// The camera texts go into pages: valid UTF-8, no control characters, short.
void CheckCameraText(const std::string& text) {
  if (text.size() > 64 * 4) std::abort();
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20) std::abort();
  if (!folivant::IsValidUtf8(text)) std::abort();
}

void CheckExif(const folivant::TImageInfo& exif) {
  if (exif.DateTime().size() > 20) std::abort();
  const folivant::TCameraData& camera = exif.CameraData();
  for (const std::string* text : {&camera.Make, &camera.Model, &camera.Lens, &camera.FocalLength, &camera.Aperture,
                                  &camera.ExposureTime, &camera.Iso, &camera.DateTaken})
    CheckCameraText(*text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  folivant::TimgData metadata;
  metadata.ReadMetadataFromBytes(bytes);
  metadata.ParseIptc();
  metadata.ReadDataset("ImageHeadline", "");
  if (metadata.HasExif()) CheckExif(*metadata.ExifData());
  if (metadata.Segments().size() > 20) std::abort();

  // A segment holds at most 65533 payload bytes.
  const std::string payload = bytes.substr(0, 65533 - 6);
  CheckExif(folivant::TImageInfo(MakeSegment(0xE1, std::string("Exif\0\0", 6) + payload)));
  folivant::TIPTCdata iptc;
  iptc.Parse(MakeSegment(0xED, payload));
  iptc.Find("Keywords");
  return 0;
}
