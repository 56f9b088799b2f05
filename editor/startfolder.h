#pragma once

// The folder each kind of file dialog starts in, kept per user in the settings
// key "Folders" as "Albums", "Photographs", "StylesheetTemplates" and "OutputFolder".

#include <string>

namespace folivant {

class TSettingsKey;

/// The kinds of file the dialogs choose, each remembering its own folder.
enum class TFileKind { Albums, Photographs, StylesheetTemplates, OutputFolder };

/// The folder a dialog for `kind` starts in: the one last used for that kind
/// while it exists, else `pictures` when it exists, else `home`. Never the
/// folder the program was started in, which a dialog given no folder would show.
std::string StartFolder(const TSettingsKey& program_key, TFileKind kind, const std::string& pictures,
                        const std::string& home);

/// Remembers the folder of `chosen` for `kind`: a chosen folder itself, or the
/// folder part of a chosen file (which need not exist yet).
void RememberFolder(TSettingsKey& program_key, TFileKind kind, const std::string& chosen);

}  // namespace folivant
