#pragma once

#include <string>
#include <vector>

namespace folivant::test {

/// Writes a small grey baseline JPEG with libjpeg (JFIF header, no metadata).
void WritePlainJpeg(const std::string& path, int width = 16, int height = 16);

/// Runs exiftool with `arguments` on `path`, overwriting the file in place;
/// fails the current test when exiftool is missing or reports an error.
void TagWithExiftool(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace folivant::test
