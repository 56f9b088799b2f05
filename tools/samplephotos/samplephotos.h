#pragma once

// Deterministic, photographic-looking JPEG pictures with the metadata that a
// camera and a photo organiser would write, for the sample album and for tests.

#include <cstdint>
#include <string>
#include <vector>

namespace folivant::samples {

/// What goes into a picture's metadata segments; an empty text leaves its tag out.
struct TSampleMetadata {
  /// "YYYY:MM:DD HH:MM:SS", written as EXIF DateTime and DateTimeOriginal.
  std::string DateTimeOriginal;
  /// UTF-8, written as IPTC Headline (2:105).
  std::string Headline;
  /// UTF-8, written as IPTC Caption/Abstract (2:120).
  std::string Caption;
};

/// A landscape of sky, sun, hills and grain; `scene` picks the light and the
/// lie of the land, the same scene and size always giving the same pixels.
/// Returns the bytes of a baseline JFIF file with an APP1 Exif segment and an
/// APP13 IPTC segment after the JFIF header. Throws std::runtime_error.
std::string MakeSamplePhoto(int scene, int width, int height, const TSampleMetadata& metadata, int quality = 90);

/// The APP1 payload: "Exif\0\0", a little-endian TIFF header, IFD0 with
/// DateTime and a link to the Exif sub-directory holding DateTimeOriginal.
std::string ExifSegment(const std::string& date_time);
/// The APP13 payload: "Photoshop 3.0\0" and one 8BIM resource 0x0404 holding
/// IIM datasets 1:90 (UTF-8), 2:0, 2:105 and 2:120.
std::string IptcSegment(const std::string& headline, const std::string& caption);

/// One picture of the sample album.
struct TSamplePicture {
  std::string FileName;
  int Scene;
  int Width;
  int Height;
  TSampleMetadata Metadata;
};

/// The pictures of the sample album, in file-name order; their dates are not.
const std::vector<TSamplePicture>& SamplePictures();

}  // namespace folivant::samples
