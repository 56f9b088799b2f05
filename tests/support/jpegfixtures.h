#pragma once

// JPEG files the program itself never writes (greyscale, CMYK, YCCK,
// progressive), made with the samples' JPEG writer, and libjpeg's own decoding.

#include <cstdint>
#include <string>
#include <vector>

namespace folivant::test {

enum class TFixtureSpace { Greyscale, Cmyk, Ycck };

/// A JPEG of `samples` (1 byte a pixel for greyscale, 4 for CMYK given in
/// Adobe's inverted form, which libjpeg marks with an Adobe segment).
std::string WriteFixtureJpeg(TFixtureSpace space, int width, int height, const std::vector<uint8_t>& samples,
                             int quality);

/// A progressive colour JPEG of width x height mid-grey pixels.
std::string WriteProgressiveJpeg(int width, int height);

/// The grey levels libjpeg itself decodes from a greyscale JPEG.
std::vector<uint8_t> DecodeGreyLevels(const std::string& jpeg);

}  // namespace folivant::test
