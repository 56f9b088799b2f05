#include "model/globalsettings.h"

#include <algorithm>

#include "platform/ini.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace folivant {

namespace {

// A hand-edited "LineCount" of a billion would otherwise fill memory with empty lines.
constexpr int32_t kMaxTemplateLines = 100000;

std::string LineValueName(size_t index) { return "Line" + std::to_string(index); }

}  // namespace

const char* StylesheetTemplateKey(TPageStyle style) {
  return style == TPageStyle::Modern ? "Modern Stylesheet Template" : "Stylesheet Template";
}

const char* DefaultStylesheetResource(TPageStyle style) {
  return style == TPageStyle::Modern ? "modernstylesheet" : "defaultstylesheet";
}

TGlobalSettings::TGlobalSettings(std::string program_folder, TSettingsStore& store)
    : program_folder_(std::move(program_folder)), store_(store) {
  for (TPageStyle style : kPageStyles) LoadStylesheetTemplate(style);
}

void TGlobalSettings::RestoreDefaultStylesheet(TPageStyle style) {
  std::vector<std::string>& lines = templates_[Slot(style)];
  lines.clear();
  for (std::string_view line : SplitLineViews(FindResource(DefaultStylesheetResource(style)).value_or("")))
    lines.emplace_back(line);
}

void TGlobalSettings::LoadStylesheetTemplate(TPageStyle style) {
  const TSettingsKey* key = store_.Load().OpenKey(StylesheetTemplateKey(style));
  if (!key) {
    RestoreDefaultStylesheet(style);
    return;
  }
  // An existing key without a usable "LineCount" means an empty template, not the default.
  const int32_t count = ParseIniInteger(key->ReadString("LineCount").value_or("")).value_or(0);
  std::vector<std::string>& lines = templates_[Slot(style)];
  lines.clear();
  for (int32_t i = 0; i < std::min(count, kMaxTemplateLines); ++i)
    lines.push_back(key->ReadString(LineValueName(static_cast<size_t>(i))).value_or(""));
}

void TGlobalSettings::SaveStylesheetTemplate(TPageStyle style) {
  const std::vector<std::string>& lines = templates_[Slot(style)];
  // Lines beyond the new count stay from a longer template; the count hides them.
  TSettingsKey& key = store_.Load().CreateKey(StylesheetTemplateKey(style));
  key.WriteString("LineCount", std::to_string(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) key.WriteString(LineValueName(i), lines[i]);
  store_.Save();
}

}  // namespace folivant
