#include "platform/programfolder.h"

#include <filesystem>

#include "platform/filesystem.h"

namespace folivant {

namespace {

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

}  // namespace

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "";
  return ExtractFilePath(program.string());
}

TInstallFolders ConfiguredInstallFolders() {
  return {FOLIVANT_INSTALL_BINDIR "/", FOLIVANT_INSTALL_DATADIR "/folivant/",
          FOLIVANT_INSTALL_DATADIR "/doc/folivant/manual/"};
}

std::string FindDataFile(const std::string& program_folder, const std::string& name, const TInstallFolders& installed) {
  if (SameFolder(program_folder, installed.Programs)) return JoinPath(installed.Data, name);
  const std::string moved = JoinPath(program_folder, "../share/folivant/");
  if (DirectoryExists(moved)) return JoinPath(moved, name);
  return JoinPath(program_folder, name);
}

std::string FindManualPage(const std::string& program_folder, const std::string& page,
                           const TInstallFolders& installed) {
  std::string folder = JoinPath(program_folder, "manual/");
  if (SameFolder(program_folder, installed.Programs))
    folder = installed.Manual;
  else if (const std::string moved = JoinPath(program_folder, "../share/doc/folivant/manual/"); DirectoryExists(moved))
    folder = moved;
  std::string path = JoinPath(folder, page);
  return FileExists(path) ? path : "";
}

}  // namespace folivant
