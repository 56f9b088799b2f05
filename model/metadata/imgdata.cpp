#include "model/metadata/imgdata.h"

#include <sstream>
#include <streambuf>
#include <string_view>

#include "platform/fileidentity.h"
#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {
namespace {

// Metadata may sit anywhere before the image data, behind colour profiles and
// other segments; a file with more segments than this before it is malformed.
constexpr size_t kMaxSegments = 128;

constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kApp0 = 0xE0;
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp13 = 0xED;
constexpr uint8_t kComment = 0xFE;

// The segment scan reads a stream; this one reads a TFileReader, which never
// waits on a named pipe. A read error ends the stream, as the end of the file does.
class TFileStreamBuffer : public std::streambuf {
 public:
  explicit TFileStreamBuffer(TFileReader& file) : file_(file) {}

 protected:
  int_type underflow() override {
    const size_t count = file_.Read(buffer_, sizeof buffer_);
    if (count == 0) return traits_type::eof();
    setg(buffer_, buffer_, buffer_ + count);
    return traits_type::to_int_type(buffer_[0]);
  }

 private:
  TFileReader& file_;
  char buffer_[8192];
};

// What an APP1 segment's payload begins with: EXIF data or an XMP packet.
constexpr std::string_view kExifSignature = "Exif";
constexpr std::string_view kXmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);

bool IsReadMarker(uint8_t marker) {
  return marker == kApp0 || marker == kApp1 || marker == kApp13 || marker == kComment;
}

}  // namespace

// TIFF-structured raw files (".tif", ".tiff", ".nef") are not read: photographs
// enter an album only as JPEG files.
bool IsJpegName(const std::string& path, TJpegEndings endings) {
  const std::string extension = AsciiLowerCase(ExtractFileExt(path));
  return extension == ".jpg" || extension == ".jpeg" || (endings == TJpegEndings::WithJpe && extension == ".jpe");
}

TimgData::TimgData() = default;
TimgData::~TimgData() = default;

void TimgData::Reset() {
  segments_.clear();
  exif_segment_ = xmp_segment_ = iptc_segment_ = comment_segment_ = header_segment_ = -1;
  exif_.reset();
  xmp_.reset();
  iptc_.reset();
}

bool TimgData::ReadMetadata(const std::string& path) {
  Reset();
  try {
    if (!IsJpegName(path)) return false;
    TFileReader file(path);
    TFileStreamBuffer buffer(file);
    std::istream in(&buffer);
    return ScanJpeg(in);
  } catch (const std::exception&) {
    // A file that cannot be opened, or out of memory; what was recorded so far stays.
    return false;
  }
}

bool TimgData::ReadMetadataFromBytes(const std::string& bytes) {
  Reset();
  try {
    std::istringstream in(bytes);
    return ScanJpeg(in);
  } catch (const std::exception&) {
    return false;
  }
}

// Walks the segments up to the image data, reading those that may hold
// metadata and passing over the others.
bool TimgData::ScanJpeg(std::istream& in) {
  if (in.get() != 0xFF || in.get() != 0xD8) return false;
  for (size_t walked = 0; walked < kMaxSegments; ++walked) {
    int byte;
    do {
      byte = in.get();
      if (byte == std::char_traits<char>::eof()) return HasMetadata();
    } while (byte == 0xFF);
    const auto marker = static_cast<uint8_t>(byte);
    if (marker == kEndOfImage || marker == kStartOfScan) break;
    const int high = in.get();
    const int low = in.get();
    if (high == std::char_traits<char>::eof() || low == std::char_traits<char>::eof()) break;
    const size_t length = static_cast<size_t>(high << 8 | low);
    if (length < 2) break;
    if (!IsReadMarker(marker)) {
      // Passed over by reading: the file reader reads forward only.
      in.ignore(static_cast<std::streamsize>(length - 2));
      if (static_cast<size_t>(in.gcount()) != length - 2) break;
      continue;
    }
    TSegment segment{marker, static_cast<uint16_t>(length), std::string(length, '\0')};
    segment.bytes[0] = static_cast<char>(high);
    segment.bytes[1] = static_cast<char>(low);
    in.read(segment.bytes.data() + 2, static_cast<std::streamsize>(length - 2));
    if (static_cast<size_t>(in.gcount()) != length - 2) break;
    TakeSegment(std::move(segment));
  }
  return HasMetadata();
}

// Decides what a segment that was read is taken as: the first EXIF, XMP and
// IPTC segments, and the last header and comment segments.
void TimgData::TakeSegment(TSegment segment) {
  const std::string_view payload = std::string_view(segment.bytes).substr(2);
  switch (segment.marker) {
    case kApp0: Keep(header_segment_, std::move(segment)); break;
    case kApp1:
      if (payload.starts_with(kExifSignature) && !HasExif()) {
        Keep(exif_segment_, std::move(segment));
        exif_ = std::make_unique<TImageInfo>(segments_[static_cast<size_t>(exif_segment_)]);
      } else if (payload.starts_with(kXmpSignature) && !HasXmp()) {
        Keep(xmp_segment_, std::move(segment));
        xmp_ = std::make_unique<TXmpData>(segments_[static_cast<size_t>(xmp_segment_)]);
      }
      break;
    case kApp13:
      if (!HasIptc()) {
        Keep(iptc_segment_, std::move(segment));
        iptc_ = std::make_unique<TIPTCdata>();
      }
      break;
    case kComment: Keep(comment_segment_, std::move(segment)); break;
    default: break;
  }
}

// Stores the segment as the one of its kind at `index`, replacing an earlier one.
void TimgData::Keep(int& index, TSegment segment) {
  if (index < 0) {
    index = static_cast<int>(segments_.size());
    segments_.push_back(std::move(segment));
  } else {
    segments_[static_cast<size_t>(index)] = std::move(segment);
  }
}

bool TimgData::HasExif() const { return exif_segment_ >= 0; }
bool TimgData::HasIptc() const { return iptc_segment_ >= 0; }
bool TimgData::HasXmp() const { return xmp_segment_ >= 0; }
bool TimgData::HasComment() const { return comment_segment_ >= 0; }

bool TimgData::HasCaptureDate() const { return HasExif() || (xmp_ && !xmp_->DateTime().empty()); }

std::string TimgData::CaptureDate() const {
  if (exif_ && !exif_->DateTime().empty()) return exif_->DateTime();
  return xmp_ ? xmp_->DateTime() : std::string();
}

void TimgData::ParseIptc() {
  if (iptc_) iptc_->Parse(segments_[static_cast<size_t>(iptc_segment_)]);
}

std::string TimgData::ReadDataset(const std::string& name, const std::string& fallback) const {
  const TIptcDataset* dataset = iptc_ ? iptc_->Find(name) : nullptr;
  return dataset ? dataset->data : fallback;
}

}  // namespace folivant
