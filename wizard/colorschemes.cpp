#include "wizard/colorschemes.h"

#include <algorithm>

#include "platform/filesystem.h"
#include "platform/ini.h"
#include "platform/programfolder.h"
#include "platform/text.h"

namespace folivant {

namespace {

constexpr const char* kSchemesKey = "ColourSchemes";
constexpr TColor kDefaultPage = 0xFFFFFF;
constexpr TColor kDefaultText = 0;
constexpr TColor kDefaultLink = 0xFF0000;
constexpr TColor kDefaultHotLink = 255;
// A hand-edited "NumSchemes" of a billion would otherwise hang the wizard.
constexpr int32_t kMaxIniSchemes = 10000;

struct TEscape {
  char character;
  std::string_view code;
};
constexpr TEscape kEscapes[] = {{'%', "%25"}, {'\\', "%5C"}, {'/', "%2F"}};

TColor ColorOf(const std::optional<std::string>& text, TColor fallback) {
  if (!text) return fallback;
  const std::optional<int32_t> value = ParseIniInteger(*text);
  return value ? static_cast<TColor>(*value) : fallback;
}

template <typename Read>
TColorScheme ReadScheme(std::string name, Read read) {
  TColorScheme scheme;
  scheme.Name = std::move(name);
  scheme.SetPageColor(ColorOf(read("Page"), kDefaultPage));
  scheme.TextColor = ColorOf(read("Text"), kDefaultText);
  scheme.LinkColor = ColorOf(read("Link"), kDefaultLink);
  scheme.HotLinkColor = ColorOf(read("HLink"), kDefaultHotLink);
  return scheme;
}

bool HasSchemeNamed(const std::vector<TColorScheme>& schemes, const std::string& name) {
  return std::any_of(schemes.begin(), schemes.end(), [&](const TColorScheme& s) { return s.Name == name; });
}

}  // namespace

std::vector<TColorScheme> LoadShippedSchemes(const std::string& program_folder) {
  std::vector<TColorScheme> schemes;
  const std::string path = FindDataFile(program_folder, "schemes.ini");
  if (!FileExists(path)) return schemes;
  const TIniFile ini = TIniFile::FromFile(path);
  const int32_t count = std::min(ini.ReadInteger("Schemes", "NumSchemes", 0), kMaxIniSchemes);
  for (int32_t i = 0; i < count; ++i) {
    const std::string section = "Scheme" + std::to_string(i);
    schemes.push_back(ReadScheme(ini.ReadString(section, "Name", "Untitled Scheme"),
                                 [&](std::string_view key) { return ini.Find(section, key); }));
  }
  return schemes;
}

std::string SchemeKeyName(std::string_view scheme_name) {
  if (scheme_name.empty()) return "%";
  std::string key;
  for (char c : scheme_name) {
    const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                     [c](const TEscape& candidate) { return candidate.character == c; });
    if (escape == std::end(kEscapes))
      key += c;
    else
      key += escape->code;
  }
  return key;
}

std::string SchemeNameOfKey(std::string_view key_name) {
  if (key_name == "%") return "";
  std::string name;
  while (!key_name.empty()) {
    const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes), [&](const TEscape& candidate) {
      return AsciiUpperCase(key_name.substr(0, candidate.code.size())) == candidate.code;
    });
    if (escape == std::end(kEscapes)) {
      name += key_name.front();
      key_name.remove_prefix(1);
    } else {
      name += escape->character;
      key_name.remove_prefix(escape->code.size());
    }
  }
  return name;
}

std::string UnusedSchemeName(const std::vector<TColorScheme>& schemes, const std::string& name) {
  for (int number = 2;; ++number) {
    std::string candidate = name + " " + std::to_string(number);
    if (!HasSchemeNamed(schemes, candidate)) return candidate;
  }
}

std::vector<TColorScheme> LoadSchemes(const std::string& program_folder, TSettingsStore& store) {
  std::vector<TColorScheme> schemes = LoadShippedSchemes(program_folder);
  const TSettingsKey* stored = store.Load().OpenKey(kSchemesKey);
  if (!stored) return schemes;
  for (const std::string& key_name : stored->SubkeyNames()) {
    const std::string name = SchemeNameOfKey(key_name);
    if (HasSchemeNamed(schemes, name)) continue;
    const TSettingsKey& key = *stored->OpenKey(key_name);
    schemes.push_back(ReadScheme(name, [&](std::string_view value) { return key.ReadString(value); }));
  }
  return schemes;
}

void StoreSchemes(const std::vector<TColorScheme>& schemes, TSettingsStore& store) {
  TSettingsKey& root = store.Load();
  root.DeleteKey(kSchemesKey);
  TSettingsKey& stored = root.CreateKey(kSchemesKey);
  for (const TColorScheme& scheme : schemes) {
    TSettingsKey& key = stored.CreateKey(SchemeKeyName(scheme.Name));
    key.WriteString("Page", ColorText(scheme.PageColor()));
    key.WriteString("Text", ColorText(scheme.TextColor));
    key.WriteString("Link", ColorText(scheme.LinkColor));
    key.WriteString("HLink", ColorText(scheme.HotLinkColor));
  }
  store.Save();
}

}  // namespace folivant
