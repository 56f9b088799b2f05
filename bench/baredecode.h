#pragma once

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <string>
#include <vector>

namespace folivant {

/// The baseline of the benchmarks: the file decoded at full scale with
/// libjpeg's defaults into `pixels` (RGB), as any program showing the
/// photograph would. Returns the number of bytes decoded. Corpus files are
/// trusted: libjpeg's default error handler (which exits) is enough.
size_t BareDecode(const std::string& path, std::vector<JSAMPLE>& pixels);

}  // namespace folivant
