#include "platform/product.h"

namespace folivant {

const std::string_view kProductWebAddress = FOLIVANT_WEB_ADDRESS;
const std::string_view kProgramVersion = FOLIVANT_VERSION;

}  // namespace folivant
