#include "platform/programfolder.h"

#include <filesystem>

#include "platform/filesystem.h"

namespace folivant {

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "";
  return ExtractFilePath(program.string());
}

std::string FindDataFile(const std::string& program_folder, const std::string& name) {
  std::string beside = JoinPath(program_folder, name);
  if (FileExists(beside)) return beside;
  const std::string installed = JoinPath(JoinPath(program_folder, "../share/folivant"), name);
  return FileExists(installed) ? installed : beside;
}

std::string FindManualPage(const std::string& program_folder, const std::string& page) {
  for (const char* folder : {"manual", "../share/doc/folivant/manual"}) {
    std::string path = JoinPath(JoinPath(program_folder, folder), page);
    if (FileExists(path)) return path;
  }
  return "";
}

}  // namespace folivant
