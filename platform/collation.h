#pragma once

#include <string_view>

namespace folivant {

/// Compares two UTF-8 texts by the collation of the user's locale with letter
/// case ignored: negative, zero or positive. Invalid UTF-8 is compared as
/// replacement characters, never rejected.
int CompareTextLocale(std::string_view a, std::string_view b);

/// Pins the collation locale (an ICU locale name such as "en_US"); tests use it
/// so that results do not depend on the machine's locale. Empty restores the user's.
void SetCollationLocale(const char* locale_name);

}  // namespace folivant
