#include "model/metadata/imgdata.h"

#include <sstream>
#include <streambuf>

#include "platform/fileidentity.h"
#include "platform/filesystem.h"

namespace folivant {
namespace {

constexpr size_t kMaxSegments = 20;
// Metadata sits among the first segments of a file; four others before it mean
// that there is none, and the rest of the file is not read.
constexpr size_t kMetadataWindow = 5;

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
  exif_segment_ = iptc_segment_ = comment_segment_ = header_segment_ = -1;
  exif_.reset();
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

bool TimgData::ScanJpeg(std::istream& in) {
  if (in.get() != 0xFF || in.get() != 0xD8) return false;
  while (segments_.size() < kMaxSegments) {
    TSegment segment;
    if (!ReadSegment(in, segment)) break;
    segments_.push_back(std::move(segment));
    if (segments_.size() == kMetadataWindow && !HasMetadata()) return false;
    const uint8_t marker = segments_.back().marker;
    if (marker == kEndOfImage || marker == kStartOfScan) break;
    TakeSegment();
  }
  return HasMetadata();
}

// Reads the marker and the whole segment; false at the end of the file or at a
// length that cannot be one, and then nothing is recorded.
bool TimgData::ReadSegment(std::istream& in, TSegment& segment) {
  int byte;
  do {
    byte = in.get();
    if (byte == std::char_traits<char>::eof()) return false;
  } while (byte == 0xFF);
  segment.marker = static_cast<uint8_t>(byte);
  const int high = in.get();
  const int low = in.get();
  if (high == std::char_traits<char>::eof() || low == std::char_traits<char>::eof()) return false;
  const size_t length = static_cast<size_t>(high << 8 | low);
  if (length < 2) return false;
  segment.length = static_cast<uint16_t>(length);
  segment.bytes.resize(length);
  segment.bytes[0] = static_cast<char>(high);
  segment.bytes[1] = static_cast<char>(low);
  in.read(segment.bytes.data() + 2, static_cast<std::streamsize>(length - 2));
  return static_cast<size_t>(in.gcount()) == length - 2;
}

// Decides what the segment just recorded is taken as.
void TimgData::TakeSegment() {
  const int index = static_cast<int>(segments_.size()) - 1;
  switch (segments_.back().marker) {
    case kApp0: header_segment_ = index; break;
    case kApp1:
      // Only the first APP1 counts, even when it holds other data than EXIF (XMP).
      if (segments_.size() <= kMetadataWindow && !HasExif()) {
        exif_segment_ = index;
        exif_ = std::make_unique<TImageInfo>(segments_.back());
      } else {
        segments_.pop_back();
      }
      break;
    case kApp13:
      if (!HasIptc()) {
        iptc_segment_ = index;
        iptc_ = std::make_unique<TIPTCdata>();
      }
      break;
    case kComment: comment_segment_ = index; break;
    default: break;
  }
}

bool TimgData::HasExif() const { return exif_segment_ >= 0; }
bool TimgData::HasIptc() const { return iptc_segment_ >= 0; }
bool TimgData::HasComment() const { return comment_segment_ >= 0; }

void TimgData::ParseIptc() {
  if (iptc_) iptc_->Parse(segments_[static_cast<size_t>(iptc_segment_)]);
}

std::string TimgData::ReadDataset(const std::string& name, const std::string& fallback) const {
  const TIptcDataset* dataset = iptc_ ? iptc_->Find(name) : nullptr;
  return dataset ? dataset->data : fallback;
}

}  // namespace folivant
