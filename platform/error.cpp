#include "platform/error.h"

namespace folivant {

std::string ErrorMessage(const std::exception& error) {
  if (dynamic_cast<const TError*>(&error)) return error.what();
  return std::string("An unexpected error inside Folivant stopped this operation. Details: ") + error.what();
}

}  // namespace folivant
