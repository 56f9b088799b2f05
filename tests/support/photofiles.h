#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folivant::test {

/// Writes a small grey baseline JPEG with libjpeg (JFIF header, no metadata).
void WritePlainJpeg(const std::string& path, int width = 16, int height = 16);

/// Runs exiftool with `arguments` on `path`, overwriting the file in place;
/// fails the current test when exiftool is missing or reports an error.
void TagWithExiftool(const std::string& path, const std::vector<std::string>& arguments);

/// Where MoveSegment puts a segment: right after the start of image, or last
/// before the image data.
enum class TSegmentPlace : uint8_t { First, Last };

/// Moves the first segment before the image data with `marker` whose payload
/// begins with `signature` to `place`, as writers other than exiftool order
/// them; fails the current test when there is none.
void MoveSegment(const std::string& path, uint8_t marker, std::string_view signature, TSegmentPlace place);

}  // namespace folivant::test
