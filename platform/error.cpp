#include "platform/error.h"

#include <cstring>

namespace folivant {

std::string ErrorMessage(const std::exception& error) {
  if (dynamic_cast<const TError*>(&error)) return error.what();
  return std::string("An unexpected error inside Folivant stopped this operation. Details: ") + error.what();
}

void ThrowFileError(const std::string& what, const std::string& path, int error_number) {
  throw TError(what + " \"" + path + "\". " + std::strerror(error_number));
}

}  // namespace folivant
