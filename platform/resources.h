#pragma once

#include <optional>
#include <string_view>

namespace folivant {

/// One file of resources/ compiled into the program.
struct TResource {
  std::string_view name;
  std::string_view data;
};

/// The bytes of the built-in resource `name` ("defaultstylesheet", "indexpage",
/// "photopage"), or nothing when the program carries no such resource.
std::optional<std::string_view> FindResource(std::string_view name);

}  // namespace folivant
