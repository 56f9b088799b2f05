#include "wizard/stylechoices.h"

namespace folivant {

bool StyleUsesChoice(TPageStyle style, TStyleChoice choice) {
  switch (choice) {
    // Modern photo pages put their previous and next controls over the photograph.
    case TStyleChoice::NavigationPlace: return style == TPageStyle::Classic;
    case TStyleChoice::CameraData:
    case TStyleChoice::Downloads:
    case TStyleChoice::WebAddress: return style == TPageStyle::Modern;
  }
  return true;
}

}  // namespace folivant
