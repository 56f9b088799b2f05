#pragma once

#include <string_view>

namespace folivant {

/// The product web site, without a final "/"; set at build time through the
/// CMake cache variable FOLIVANT_WEB_ADDRESS.
extern const std::string_view kProductWebAddress;
/// The program version, "1.8.1"; album files carry a version of their own.
extern const std::string_view kProgramVersion;

}  // namespace folivant
