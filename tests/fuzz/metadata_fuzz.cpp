// Feeds arbitrary bytes to the metadata reader four ways: as a whole file, as
// the payload of an EXIF segment, of an XMP segment and as an APP13 segment, so
// that the EXIF walk, the XMP reader and the IPTC parser are reached without the
// fuzzer first finding a JPEG; and to the markup that metadata texts become.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/metadata/imgdata.h"
#include "platform/markup.h"
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
  if (exif.DateTime().size() > 20 || exif.Orientation() < 0 || exif.Orientation() > 8) std::abort();
  const folivant::TCameraData& camera = exif.CameraData();
  for (const std::string* text : {&camera.Make, &camera.Model, &camera.Lens, &camera.FocalLength, &camera.Aperture,
                                  &camera.ExposureTime, &camera.Iso, &camera.DateTaken})
    CheckCameraText(*text);
}

// XMP texts are valid UTF-8; a date has the one form of EXIF dates.
void CheckXmp(const folivant::TXmpData& xmp) {
  if (!folivant::IsValidUtf8(xmp.Title()) || !folivant::IsValidUtf8(xmp.Description())) std::abort();
  if (!xmp.DateTime().empty() && (xmp.DateTime().size() != 19 || xmp.DateTime()[10] != ' ')) std::abort();
}

// The markup of a text is what it stays when made safe again.
void CheckMarkup(const std::string& text) {
  const std::string markup = folivant::SafeInlineMarkup(text);
  if (folivant::SafeInlineMarkup(markup) != markup) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  folivant::TimgData metadata;
  metadata.ReadMetadataFromBytes(bytes);
  metadata.ParseIptc();
  metadata.ReadDataset("ImageHeadline", "");
  if (metadata.HasExif()) CheckExif(*metadata.ExifData());
  if (metadata.HasXmp()) CheckXmp(*metadata.XmpData());
  // At most one segment of each kind: header, EXIF, XMP, IPTC and comment.
  if (metadata.Segments().size() > 5) std::abort();

  // A segment holds at most 65533 payload bytes.
  const std::string payload = bytes.substr(0, 65533 - 6);
  CheckExif(folivant::TImageInfo(MakeSegment(0xE1, std::string("Exif\0\0", 6) + payload)));
  CheckXmp(folivant::TXmpData(MakeSegment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + payload)));
  folivant::TIPTCdata iptc;
  iptc.Parse(MakeSegment(0xED, payload));
  iptc.Find("Keywords");
  CheckMarkup(bytes);
  return 0;
}
