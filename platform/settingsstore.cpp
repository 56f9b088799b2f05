#include "platform/settingsstore.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "platform/error.h"
#include "platform/filesystem.h"

namespace folivant {

using TJson = nlohmann::ordered_json;

static bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLowerCase(a) == AsciiLowerCase(b);
}

static void ThrowIfNameTaken(bool taken, std::string_view name) {
  if (taken) throw TError("The settings name \"" + std::string(name) + "\" is used by both a key and a value.");
}

TSettingsKey& TSettingsKey::CreateKey(std::string_view name) {
  if (TSettingsKey* existing = OpenKey(name)) return *existing;
  if (name.empty() || name.find('\\') != std::string_view::npos)
    throw TError("\"" + std::string(name) + "\" is not a valid settings key name.");
  ThrowIfNameTaken(FindValue(name) != nullptr, name);
  return *subkeys_.emplace_back(std::make_unique<TSettingsKey>(std::string(name)));
}

TSettingsKey* TSettingsKey::OpenKey(std::string_view name) {
  for (const std::unique_ptr<TSettingsKey>& subkey : subkeys_)
    if (SameName(subkey->name_, name)) return subkey.get();
  return nullptr;
}

const TSettingsKey* TSettingsKey::OpenKey(std::string_view name) const {
  return const_cast<TSettingsKey*>(this)->OpenKey(name);
}

bool TSettingsKey::DeleteKey(std::string_view name) {
  return std::erase_if(subkeys_, [&](const auto& subkey) { return SameName(subkey->name_, name); }) > 0;
}

std::vector<std::string> TSettingsKey::SubkeyNames() const {
  std::vector<std::string> names;
  for (const std::unique_ptr<TSettingsKey>& subkey : subkeys_) names.push_back(subkey->name_);
  return names;
}

TSettingsKey::TValue* TSettingsKey::FindValue(std::string_view name) {
  for (TValue& value : values_)
    if (SameName(value.name, name)) return &value;
  return nullptr;
}

const TSettingsKey::TValue* TSettingsKey::FindValue(std::string_view name) const {
  return const_cast<TSettingsKey*>(this)->FindValue(name);
}

std::optional<std::string> TSettingsKey::ReadString(std::string_view name) const {
  const TValue* value = FindValue(name);
  if (!value) return std::nullopt;
  return value->text;
}

void TSettingsKey::WriteString(std::string_view name, std::string text) {
  if (TValue* existing = FindValue(name)) {
    existing->text = std::move(text);
    return;
  }
  ThrowIfNameTaken(OpenKey(name) != nullptr, name);
  values_.push_back({std::string(name), std::move(text)});
}

std::vector<std::string> TSettingsKey::ValueNames() const {
  std::vector<std::string> names;
  for (const TValue& value : values_) names.push_back(value.name);
  return names;
}

std::string DefaultSettingsFolder() {
  const auto variable = [](const char* name) -> std::string {
    const char* value = std::getenv(name);
    return value ? value : "";
  };
  if (const std::string folder = variable("FOLIVANT_CONFIG_DIR"); !folder.empty()) return folder;
  if (const std::string config = variable("XDG_CONFIG_HOME"); !config.empty()) return JoinPath(config, "folivant");
  return JoinPath(JoinPath(variable("HOME"), ".config"), "folivant");
}

TSettingsStore::TSettingsStore(std::string folder)
    : folder_(std::move(folder)),
      file_name_(JoinPath(folder_, "settings.json")),
      root_(std::make_unique<TSettingsKey>("")) {}

namespace {

// Deeper nesting than any settings need means the file is not ours.
constexpr int kMaxDepth = 32;

// Copies a JSON object into `key`; false when the JSON is not a tree of objects
// and texts. Numbers and flags written by hand are taken as their text, which is
// what the program itself would have stored. A name repeated in any letter case
// keeps its first occurrence.
bool CopyJsonTree(const TJson& object, TSettingsKey& key, int depth) {
  if (!object.is_object() || depth > kMaxDepth) return false;
  for (const auto& [name, value] : object.items()) {
    if (key.OpenKey(name) || key.ReadString(name)) continue;
    if (value.is_object()) {
      if (name.empty() || name.find('\\') != std::string::npos) return false;
      if (!CopyJsonTree(value, key.CreateKey(name), depth + 1)) return false;
    } else if (value.is_string()) {
      key.WriteString(name, value.get<std::string>());
    } else if (value.is_boolean()) {
      key.WriteString(name, value.get<bool>() ? "1" : "0");
    } else if (value.is_number()) {
      key.WriteString(name, value.dump());
    } else {
      return false;
    }
  }
  return true;
}

TJson ToJson(const TSettingsKey& key) {
  TJson object = TJson::object();
  for (const std::string& name : key.ValueNames()) object[name] = *key.ReadString(name);
  for (const std::string& name : key.SubkeyNames()) object[name] = ToJson(*key.OpenKey(name));
  return object;
}

// Renames `path` to the first free name of "path.damaged", "path.2.damaged", ...
// never replacing an earlier damaged file. Returns the new name, "" on failure.
std::string RenameAside(const std::string& path) {
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string target = attempt == 1 ? path + ".damaged" : path + "." + std::to_string(attempt) + ".damaged";
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return target;
    if (errno == EEXIST) continue;
    // File systems without RENAME_NOREPLACE: test first, then rename.
    if ((errno == EINVAL || errno == ENOSYS) && !FileExists(target) && ::rename(path.c_str(), target.c_str()) == 0)
      return target;
    if (errno != EINVAL && errno != ENOSYS) return "";
  }
  return "";
}

}  // namespace

TSettingsKey& TSettingsStore::Load() {
  root_ = std::make_unique<TSettingsKey>("");
  unreadable_.clear();
  struct stat info {};
  const int found = ::stat(file_name_.c_str(), &info) == 0 ? 0 : errno;
  if (found == ENOENT) return *root_;
  std::string bytes;
  try {
    if (found != 0) ThrowFileError("Cannot read file", file_name_, found);
    if (!S_ISREG(info.st_mode)) ThrowFileError("Cannot read file", file_name_, EISDIR);
    bytes = ReadFileBytes(file_name_);
  } catch (const TError& error) {
    warning_ = error.what();
    unreadable_ = error.what();
    return *root_;
  }
  if (bytes.empty()) return *root_;
  const TJson json = TJson::parse(bytes, nullptr, /*allow_exceptions=*/false);
  if (!json.is_discarded() && CopyJsonTree(json, *root_, 0)) return *root_;
  root_ = std::make_unique<TSettingsKey>("");
  SetDamagedFileAside(file_name_);
  return *root_;
}

void TSettingsStore::SetDamagedFileAside(const std::string& path) {
  const std::string aside = RenameAside(path);
  if (aside.empty()) {
    warning_ = "The settings file \"" + path +
               "\" is damaged and could not be renamed. Folivant uses its default settings and will not "
               "save settings over that file.";
    unreadable_ = warning_;
    return;
  }
  warning_ = "The settings file \"" + path + "\" was damaged. It has been renamed to \"" + aside +
             "\" and Folivant uses its default settings.";
}

void TSettingsStore::Save() {
  if (!unreadable_.empty()) throw TError(unreadable_);
  // Texts that are not valid UTF-8 are written with replacement characters rather than refused.
  const std::string text = ToJson(*root_).dump(2, ' ', false, TJson::error_handler_t::replace) + "\n";
  if (!ForceDirectories(folder_)) ThrowFileError("Cannot create folder", folder_, errno);
  WriteFileAtomically(file_name_, text);
}

std::string TSettingsStore::TakeWarning() { return std::exchange(warning_, std::string()); }

}  // namespace folivant
