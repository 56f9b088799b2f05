#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace folivant {

/// The endings that name a JPEG file: photographs are added and their metadata
/// read with ".jpe" too, while the generator decodes only ".jpg" and ".jpeg".
enum class TJpegEndings : uint8_t { WithJpe, JpgJpegOnly };
/// True when the file name ends in one of `endings`, letter case ignored.
bool IsJpegName(const std::string& path, TJpegEndings endings = TJpegEndings::WithJpe);

/// One JPEG segment as read from the file: its marker and its bytes (the two
/// length bytes followed by the payload).
struct TSegment {
  uint8_t marker = 0;
  uint16_t length = 0;
  std::string bytes;
};

/// What the camera recorded of a photograph, as texts a page may show; each
/// empty when absent. Only the camera's own directories are read: nothing
/// ever comes from the location (GPS) directory.
struct TCameraData {
  std::string Make;          // "Canon"
  std::string Model;         // "Canon EOS 5D"
  std::string Lens;          // "EF 50mm f/1.8"
  std::string FocalLength;   // "50 mm"
  std::string Aperture;      // "f/2.8"
  std::string ExposureTime;  // "1/250 s", "2 s"
  std::string Iso;           // "200"
  std::string DateTaken;     // "2021-07-14 15:30"
  bool Empty() const;
  bool operator==(const TCameraData&) const = default;
};

/// The EXIF reader: the date-time, orientation and camera data found in the
/// EXIF data.
class TImageInfo {
 public:
  /// Reads the segment's EXIF data at once; data that is not EXIF yields no date-time.
  explicit TImageInfo(const TSegment& segment);
  /// "YYYY:MM:DD HH:MM:SS" of the last DateTime or DateTimeOriginal tag met, at
  /// most 20 characters; empty when none was read.
  const std::string& DateTime() const { return date_time_; }
  /// The Orientation tag of the main directory (IFD0): 1 to 8 as EXIF
  /// defines them, 0 when it is absent or holds another value.
  int Orientation() const { return orientation_; }
  /// Texts are valid UTF-8 without control characters, each at most 64 bytes.
  const TCameraData& CameraData() const { return camera_; }

 private:
  std::string date_time_;
  int orientation_ = 0;
  TCameraData camera_;
};

/// The XMP reader: the title, description and capture date a photo manager
/// wrote into the XMP packet of an APP1 segment.
class TXmpData {
 public:
  /// Parses the segment's packet at once; a packet that is not well-formed
  /// XML, or that declares a document type (and with it entities), yields nothing.
  explicit TXmpData(const TSegment& segment);
  /// dc:title and dc:description (the "x-default" language, else the first):
  /// UTF-8 as written, references resolved; empty when absent.
  const std::string& Title() const { return title_; }
  const std::string& Description() const { return description_; }
  /// exif:DateTimeOriginal, else xmp:CreateDate, else photoshop:DateCreated, as
  /// "YYYY:MM:DD HH:MM:SS" (the form of EXIF dates, so that both sort alike;
  /// missing parts are the first month, day or second); empty when none is a date.
  const std::string& DateTime() const { return date_time_; }

 private:
  std::string title_;
  std::string description_;
  std::string date_time_;
};

/// One parsed IPTC dataset; `data` holds the raw bytes.
struct TIptcDataset {
  std::string name;
  uint8_t record = 0;
  uint8_t dataset = 0;
  std::string data;
};

/// The IPTC reader: datasets parsed from a Photoshop APP13 segment.
class TIPTCdata {
 public:
  /// Replaces the datasets by those of `segment`; malformed data yields fewer.
  void Parse(const TSegment& segment);
  /// The first dataset named `name` (ASCII case ignored), or null.
  const TIptcDataset* Find(const std::string& name) const;
  const std::vector<TIptcDataset>& Datasets() const { return datasets_; }

 private:
  void Store(uint8_t record, uint8_t dataset, std::string data);
  std::vector<TIptcDataset> datasets_;
};

/// The metadata of one photograph file: the EXIF date-time and orientation,
/// the IPTC datasets and the XMP texts, wherever their segments sit before the
/// image data. Reads only segment headers and metadata segments, never the
/// compressed image, never outside a segment's bytes, and never throws:
/// malformed files simply yield less.
class TimgData {
 public:
  TimgData();
  ~TimgData();
  TimgData(const TimgData&) = delete;
  TimgData& operator=(const TimgData&) = delete;

  /// Forgets everything, then reads the file at `path` when its extension is
  /// ".jpg", ".jpeg" or ".jpe" (any letter case). True when an EXIF, IPTC,
  /// XMP or comment segment was found.
  bool ReadMetadata(const std::string& path);
  /// Reads metadata from bytes already in memory, as ReadMetadata does from a
  /// ".jpg" file (used by the fuzz target and hand-made fixtures).
  bool ReadMetadataFromBytes(const std::string& bytes);
  /// An EXIF segment was taken, even when it then proved not to hold EXIF data.
  bool HasExif() const;
  bool HasIptc() const;
  bool HasXmp() const;
  bool HasComment() const;
  /// The EXIF reader, present exactly when HasExif().
  const TImageInfo* ExifData() const { return exif_.get(); }
  /// The IPTC reader, present exactly when HasIptc().
  const TIPTCdata* IptcData() const { return iptc_.get(); }
  /// The XMP reader, present exactly when HasXmp().
  const TXmpData* XmpData() const { return xmp_.get(); }
  /// Whether the file tells when the picture was taken: it has an EXIF
  /// segment (even one without a date, as older versions took it) or an XMP date.
  bool HasCaptureDate() const;
  /// The EXIF date-time, else the XMP capture date, as "YYYY:MM:DD HH:MM:SS".
  std::string CaptureDate() const;
  /// Parses the IPTC segment's datasets, replacing those held before.
  void ParseIptc();
  /// The data of the first dataset named `name` (ASCII case ignored), else `fallback`.
  std::string ReadDataset(const std::string& name, const std::string& fallback) const;
  /// The segments taken as metadata, at most one of each kind (header, EXIF,
  /// XMP, IPTC, comment), in the order they were first met.
  const std::vector<TSegment>& Segments() const { return segments_; }

 private:
  void Reset();
  bool ScanJpeg(std::istream& in);
  void TakeSegment(TSegment segment);
  void Keep(int& index, TSegment segment);
  bool HasMetadata() const { return HasExif() || HasIptc() || HasXmp() || HasComment(); }

  std::vector<TSegment> segments_;
  int exif_segment_ = -1;
  int xmp_segment_ = -1;
  int iptc_segment_ = -1;
  int comment_segment_ = -1;
  int header_segment_ = -1;
  std::unique_ptr<TImageInfo> exif_;
  std::unique_ptr<TXmpData> xmp_;
  std::unique_ptr<TIPTCdata> iptc_;
};

}  // namespace folivant
