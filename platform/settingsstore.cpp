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

// The program nests keys two below the root; far deeper nesting is not settings.
constexpr int kMaxDepth = 32;

// The program's own file is a few kilobytes; a hundred thousand template lines
// (the most the stylesheet store reads) would fill about 10 MiB.
constexpr size_t kMaxSettingsFileSize = 16 << 20;

bool IsKeyName(std::string_view name) { return !name.empty() && name.find('\\') == std::string_view::npos; }

// Copies the sound part of a JSON object into `key` and returns how many
// members it skipped: nulls, lists, objects nested deeper than kMaxDepth or
// under a name no key may have, and anything but an object at the top, where
// the program keeps keys only (a text there would block the key of that name).
// Numbers and flags written by hand are taken as their text, which is what the
// program itself would have stored. A name repeated in any letter case keeps
// its first occurrence.
size_t CopyJsonTree(const TJson& object, TSettingsKey& key, int depth) {
  size_t skipped = 0;
  for (const auto& [name, value] : object.items()) {
    if (key.OpenKey(name) || key.ReadString(name)) continue;
    if (value.is_object() && IsKeyName(name) && depth < kMaxDepth) {
      skipped += CopyJsonTree(value, key.CreateKey(name), depth + 1);
    } else if (depth == 0) {
      ++skipped;
    } else if (value.is_string()) {
      key.WriteString(name, value.get<std::string>());
    } else if (value.is_boolean()) {
      key.WriteString(name, value.get<bool>() ? "1" : "0");
    } else if (value.is_number()) {
      key.WriteString(name, value.dump());
    } else {
      ++skipped;
    }
  }
  return skipped;
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

constexpr const char* kNotSavedOver = "Folivant uses its default settings and will not save settings over that file.";

}  // namespace

TSettingsKey& TSettingsStore::Load() {
  root_ = std::make_unique<TSettingsKey>("");
  unreadable_.clear();
  struct stat info {};
  // A link to a file not yet there counts as no file: saving creates its target.
  if (::stat(file_name_.c_str(), &info) != 0 && errno == ENOENT) return *root_;
  std::string bytes;
  try {
    bytes = ReadFileBytes(file_name_, kMaxSettingsFileSize);
  } catch (const TError& error) {
    warning_ = std::string(error.what()) + ". " + kNotSavedOver;
    unreadable_ = warning_;
    return *root_;
  }
  if (bytes.empty()) return *root_;
  const TJson json = TJson::parse(bytes, nullptr, /*allow_exceptions=*/false);
  if (!json.is_object()) {
    SetDamagedFileAside(file_name_);
    return *root_;
  }
  const size_t skipped = CopyJsonTree(json, *root_, 0);
  if (skipped > 0 && !skipped_reported_) {
    warning_ = "The settings file \"" + file_name_ + "\" holds " + std::to_string(skipped) +
               " entries Folivant cannot use (null values, lists, texts where a key belongs, keys nested too deep "
               "or with a name no key may have). Folivant reads the rest and leaves these out when it next saves its "
               "settings.";
    skipped_reported_ = true;
  }
  return *root_;
}

void TSettingsStore::SetDamagedFileAside(const std::string& path) {
  const std::string aside = RenameAside(path);
  if (aside.empty()) {
    warning_ = "The settings file \"" + path + "\" is damaged and could not be renamed. " + kNotSavedOver;
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
