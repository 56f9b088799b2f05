#include "platform/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>
#include <mutex>
#include <string>

#include "platform/environment.h"

namespace folivant {
namespace {

std::mutex collator_mutex;
std::unique_ptr<icu::Collator> collator;
std::string pinned_locale;

// The user's locale from the environment, as setlocale would choose it.
icu::Locale UserLocale() {
  if (!pinned_locale.empty()) return icu::Locale(pinned_locale.c_str());
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    if (std::string name = EnvironmentValue(variable); !name.empty()) {
      name = name.substr(0, name.find_first_of(".@"));
      if (name != "C" && name != "POSIX") return icu::Locale(name.c_str());
      break;
    }
  }
  return icu::Locale("en_US");
}

icu::Collator& Collator() {
  if (!collator) {
    UErrorCode status = U_ZERO_ERROR;
    collator.reset(icu::Collator::createInstance(UserLocale(), status));
    if (U_FAILURE(status) || !collator) {
      status = U_ZERO_ERROR;
      collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    // Secondary strength tells accents apart but ignores letter case.
    collator->setStrength(icu::Collator::SECONDARY);
  }
  return *collator;
}

}  // namespace

int CompareTextLocale(std::string_view a, std::string_view b) {
  std::lock_guard lock(collator_mutex);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult result =
      Collator().compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                             icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
  if (U_FAILURE(status)) return a.compare(b);
  return static_cast<int>(result);
}

void SetCollationLocale(const char* locale_name) {
  std::lock_guard lock(collator_mutex);
  pinned_locale = locale_name ? locale_name : "";
  collator.reset();
}

}  // namespace folivant
