#include "platform/environment.h"

#include <cstdlib>

#include "platform/filesystem.h"

namespace folivant {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ProgramBaseFolder(const char* variable, const char* in_home) {
  if (const std::string base = EnvironmentValue(variable); !base.empty()) return JoinPath(base, "folivant");
  return JoinPath(JoinPath(EnvironmentValue("HOME"), in_home), "folivant");
}

}  // namespace folivant
