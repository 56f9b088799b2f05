#include "editor/startfolder.h"

#include "platform/filesystem.h"
#include "platform/settingsstore.h"

namespace folivant {

static const char kFoldersKey[] = "Folders";

static const char* ValueName(TFileKind kind) {
  switch (kind) {
    case TFileKind::Albums: return "Albums";
    case TFileKind::Photographs: return "Photographs";
    case TFileKind::StylesheetTemplates: return "StylesheetTemplates";
    case TFileKind::OutputFolder: return "OutputFolder";
  }
  return "";
}

std::string StartFolder(const TSettingsKey& program_key, TFileKind kind, const std::string& pictures,
                        const std::string& home) {
  const TSettingsKey* key = program_key.OpenKey(kFoldersKey);
  std::string last = key ? key->ReadString(ValueName(kind)).value_or("") : "";
  if (!last.empty() && DirectoryExists(last)) return last;
  if (!pictures.empty() && DirectoryExists(pictures)) return pictures;
  return home;
}

void RememberFolder(TSettingsKey& program_key, TFileKind kind, const std::string& chosen) {
  std::string folder = DirectoryExists(chosen) ? chosen : ExtractFilePath(chosen);
  while (folder.size() > 1 && folder.back() == kPathDelimiter) folder.pop_back();
  if (folder.empty()) return;
  program_key.CreateKey(kFoldersKey).WriteString(ValueName(kind), folder);
}

}  // namespace folivant
