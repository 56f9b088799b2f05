#pragma once

// The one place that reads the environment for the user's folders and locale.

#include <string>

namespace folivant {

/// The value of the environment variable `name`; empty when it is not set.
std::string EnvironmentValue(const char* name);

/// The program's folder under an XDG base folder: "$<variable>/folivant" when
/// `variable` (XDG_CONFIG_HOME, XDG_CACHE_HOME) is set, else
/// "$HOME/<in_home>/folivant" (`in_home` is ".config", ".cache").
std::string ProgramBaseFolder(const char* variable, const char* in_home);

}  // namespace folivant
