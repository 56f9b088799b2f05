#include "platform/filesystem.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>

namespace folivant {

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

static size_t FileNameStart(std::string_view path) {
  const size_t last = path.find_last_of("/\\");
  return last == std::string_view::npos ? 0 : last + 1;
}

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(FileNameStart(path))); }

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, FileNameStart(path))); }

std::string ExtractFileExt(std::string_view path) {
  const std::string_view name = path.substr(FileNameStart(path));
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kPathDelimiter) return folder + name;
  return folder + kPathDelimiter + name;
}

int32_t FileAgeDos(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return -1;
  std::tm local{};
  const std::time_t seconds = info.st_mtime;
  if (!::localtime_r(&seconds, &local)) return -1;
  const uint32_t date = static_cast<uint32_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  const uint32_t time = static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return static_cast<int32_t>((date << 16) | (time & 0xFFFF));
}

bool ForceDirectories(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return DirectoryExists(path);
}

}  // namespace folivant
