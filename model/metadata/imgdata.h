#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace folivant {

/// One JPEG segment as read from the file: its marker and its bytes (the two
/// length bytes followed by the payload).
struct TSegment {
  uint8_t marker = 0;
  uint16_t length = 0;
  std::string bytes;
};

/// The EXIF reader: the byte order of the EXIF data and the date-time found in it.
class TImageInfo {
 public:
  explicit TImageInfo(const TSegment& segment);
  bool BigEndian() const { return big_endian_; }
  /// "YYYY:MM:DD HH:MM:SS" of the last DateTime or DateTimeOriginal tag met, at
  /// most 20 characters; empty when none was read.
  const std::string& DateTime() const { return date_time_; }

 private:
  bool big_endian_ = false;
  std::string date_time_;
};

/// One parsed IPTC dataset.
struct TIptcDataset {
  std::string name;
  uint8_t record = 0;
  uint8_t dataset = 0;
  std::string data;
};

/// The IPTC reader: datasets parsed from a Photoshop APP13 segment.
class TIPTCdata {
 public:
  std::vector<TIptcDataset> Datasets;
};

/// The metadata of one photograph file: its first segments, the EXIF date-time
/// and the IPTC datasets. Reads only segment headers and metadata segments,
/// never the compressed image, never outside a segment's bytes, and never
/// throws: malformed files simply yield less.
class TimgData {
 public:
  TimgData();
  ~TimgData();
  TimgData(const TimgData&) = delete;
  TimgData& operator=(const TimgData&) = delete;

  /// Forgets everything, then reads the file at `path`. True when an EXIF, IPTC
  /// or comment segment was found.
  bool ReadMetadata(const std::string& path);
  /// Reads metadata from bytes already in memory, as ReadMetadata does from a
  /// ".jpg" file (used by the fuzz target and hand-made fixtures).
  bool ReadMetadataFromBytes(const std::string& bytes);
  bool HasExif() const;
  bool HasIptc() const;
  bool HasComment() const;
  /// The EXIF reader, present when an EXIF segment was taken.
  const TImageInfo* ExifData() const { return exif_.get(); }
  /// Parses the IPTC segment's datasets, replacing those held before.
  void ParseIptc();
  /// The data of the first dataset named `name` (ASCII case ignored), else `fallback`.
  std::string ReadDataset(const std::string& name, const std::string& fallback) const;
  const std::vector<TSegment>& Segments() const { return segments_; }

 private:
  void Reset();
  std::vector<TSegment> segments_;
  int exif_segment_ = -1;
  int iptc_segment_ = -1;
  int comment_segment_ = -1;
  int header_segment_ = -1;
  std::unique_ptr<TImageInfo> exif_;
  std::unique_ptr<TIPTCdata> iptc_;
};

}  // namespace folivant
