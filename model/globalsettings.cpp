#include "model/globalsettings.h"

#include <algorithm>

#include "platform/ini.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace folivant {

namespace {

constexpr const char* kTemplateKey = "Stylesheet Template";
// A hand-edited "LineCount" of a billion would otherwise fill memory with empty lines.
constexpr int32_t kMaxTemplateLines = 100000;

std::string LineValueName(size_t index) { return "Line" + std::to_string(index); }

}  // namespace

TGlobalSettings::TGlobalSettings(std::string program_folder, TSettingsStore& store)
    : program_folder_(std::move(program_folder)), store_(store) {
  LoadStylesheetTemplate();
}

void TGlobalSettings::RestoreDefaultStylesheet() {
  stylesheet_template_.clear();
  for (std::string_view line : SplitLineViews(FindResource("defaultstylesheet").value_or("")))
    stylesheet_template_.emplace_back(line);
}

void TGlobalSettings::LoadStylesheetTemplate() {
  const TSettingsKey* key = store_.Load().OpenKey(kTemplateKey);
  if (!key) {
    RestoreDefaultStylesheet();
    return;
  }
  // An existing key without a usable "LineCount" means an empty template, not the default.
  const int32_t count = ParseIniInteger(key->ReadString("LineCount").value_or("")).value_or(0);
  stylesheet_template_.clear();
  for (int32_t i = 0; i < std::min(count, kMaxTemplateLines); ++i)
    stylesheet_template_.push_back(key->ReadString(LineValueName(static_cast<size_t>(i))).value_or(""));
}

void TGlobalSettings::SaveStylesheetTemplate() {
  // Lines beyond the new count stay from a longer template; the count hides them.
  TSettingsKey& key = store_.Load().CreateKey(kTemplateKey);
  key.WriteString("LineCount", std::to_string(stylesheet_template_.size()));
  for (size_t i = 0; i < stylesheet_template_.size(); ++i) key.WriteString(LineValueName(i), stylesheet_template_[i]);
  store_.Save();
}

}  // namespace folivant
