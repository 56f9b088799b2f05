#include "testutil.h"

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/fileidentity.h"

namespace folivant::test {

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "folivant-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TTempDir::File(const std::string& name) const { return path_ + "/" + name; }

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = File(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::optional<uint64_t> BytesReadByProcess(const std::string& process) {
  std::ifstream in("/proc/" + process + "/io");
  for (std::string key; in >> key;) {
    uint64_t value = 0;
    if (!(in >> value)) break;
    if (key == "rchar:") return value;
  }
  return std::nullopt;
}

TEnvironment::TEnvironment(const char* name) : name_(name) {
  if (const char* value = std::getenv(name)) saved_ = value;
}

TEnvironment::~TEnvironment() { Set(saved_ ? saved_->c_str() : nullptr); }

void TEnvironment::Set(const char* value) {
  if (value)
    ::setenv(name_, value, 1);
  else
    ::unsetenv(name_);
}

void WaitForFileClockTick() {
  const int64_t now =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  while (FileClockNowNs() <= now) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TCommandResult RunCommand(const std::string& command) {
  TCommandResult result;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, read);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TCommandResult ValidateXhtml(const std::vector<std::string>& paths) {
  std::string command = "xmllint --valid --noout --nonet";
  for (const std::string& path : paths) command += " '" + path + "'";
  return RunCommand(command);
}

}  // namespace folivant::test
