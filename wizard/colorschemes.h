#pragma once

// The list of named colour schemes the generation wizard offers. It is seeded
// from "schemes.ini" beside the program and kept in the settings key
// "ColourSchemes", one subkey per scheme with the values "Page", "Text",
// "Link" and "HLink" as decimal integers.

#include <string>
#include <string_view>
#include <vector>

#include "model/albumclasses.h"
#include "platform/settingsstore.h"

namespace folivant {

/// The schemes of "schemes.ini" found beside the program in `program_folder`,
/// in file order; none without the file. Throws TError only when the file
/// exists but cannot be read.
std::vector<TColorScheme> LoadShippedSchemes(const std::string& program_folder);

/// `name` followed by " 2", " 3", ...: the first such name that no scheme of
/// `schemes` has (letter case counts).
std::string UnusedSchemeName(const std::vector<TColorScheme>& schemes, const std::string& name);

/// Builds the list: the schemes of "schemes.ini" found beside the program in
/// `program_folder`, then those of the settings whose name no ini scheme has
/// exactly (letter case counts). Missing or malformed numbers take their
/// defaults. Throws TError only when "schemes.ini" exists but cannot be read.
std::vector<TColorScheme> LoadSchemes(const std::string& program_folder, TSettingsStore& store);

/// Replaces the settings' "ColourSchemes" by the list, in list order. Throws
/// TError when the settings cannot be written; the file is then unchanged.
void StoreSchemes(const std::vector<TColorScheme>& schemes, TSettingsStore& store);

/// The settings key name of a scheme name: "%", "\" and "/" become "%25", "%5C"
/// and "%2F", and the empty name becomes "%", so every name has a key of its own.
std::string SchemeKeyName(std::string_view scheme_name);
/// The scheme name of a settings key name; undoes SchemeKeyName and keeps any
/// other "%" as it stands.
std::string SchemeNameOfKey(std::string_view key_name);

}  // namespace folivant
