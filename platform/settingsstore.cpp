#include "platform/settingsstore.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "platform/environment.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {

using TJson = nlohmann::ordered_json;

static void ThrowIfNameTaken(bool taken, std::string_view name) {
  if (taken) throw TError("The settings name \"" + std::string(name) + "\" is used by both a key and a value.");
}

TSettingsKey& TSettingsKey::CreateKey(std::string_view name) {
  if (TSettingsKey* existing = OpenKey(name)) return *existing;
  if (name.empty() || name.find('\\') != std::string_view::npos)
    throw TError("\"" + std::string(name) + "\" is not a valid settings key name.");
  ThrowIfNameTaken(Find(name) != nullptr, name);
  entries_.emplace(AsciiLowerCase(name), TEntry{true, subkeys_.size()});
  return *subkeys_.emplace_back(std::make_unique<TSettingsKey>(std::string(name)));
}

const TSettingsKey::TEntry* TSettingsKey::Find(std::string_view name) const {
  const auto found = entries_.find(AsciiLowerCase(name));
  return found == entries_.end() ? nullptr : &found->second;
}

TSettingsKey* TSettingsKey::OpenKey(std::string_view name) {
  const TEntry* entry = Find(name);
  return entry && entry->is_key ? subkeys_[entry->position].get() : nullptr;
}

const TSettingsKey* TSettingsKey::OpenKey(std::string_view name) const {
  return const_cast<TSettingsKey*>(this)->OpenKey(name);
}

bool TSettingsKey::DeleteKey(std::string_view name) {
  const TEntry* entry = Find(name);
  if (!entry || !entry->is_key) return false;
  const size_t position = entry->position;
  entries_.erase(AsciiLowerCase(name));
  subkeys_.erase(subkeys_.begin() + static_cast<std::ptrdiff_t>(position));
  for (size_t i = position; i < subkeys_.size(); ++i) entries_[AsciiLowerCase(subkeys_[i]->name_)].position = i;
  return true;
}

std::vector<std::string> TSettingsKey::SubkeyNames() const {
  std::vector<std::string> names;
  for (const std::unique_ptr<TSettingsKey>& subkey : subkeys_) names.push_back(subkey->name_);
  return names;
}

TSettingsKey::TValue* TSettingsKey::FindValue(std::string_view name) {
  const TEntry* entry = Find(name);
  return entry && !entry->is_key ? &values_[entry->position] : nullptr;
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
  ThrowIfNameTaken(Find(name) != nullptr, name);
  entries_.emplace(AsciiLowerCase(name), TEntry{false, values_.size()});
  values_.push_back({std::string(name), std::move(text)});
}

std::vector<std::string> TSettingsKey::ValueNames() const {
  std::vector<std::string> names;
  for (const TValue& value : values_) names.push_back(value.name);
  return names;
}

std::string DefaultSettingsFolder() {
  if (std::string folder = EnvironmentValue("FOLIVANT_CONFIG_DIR"); !folder.empty()) return folder;
  return ProgramBaseFolder("XDG_CONFIG_HOME", ".config");
}

TSettingsStore::TSettingsStore(std::string folder)
    : folder_(std::move(folder)),
      file_name_(JoinPath(folder_, "settings.json")),
      root_(std::make_unique<TSettingsKey>("")) {}

namespace {

// The program nests keys two below the root; far deeper nesting is not settings.
constexpr size_t kMaxDepth = 32;

// The program's own file is a few kilobytes, but the stylesheet template keeps
// one value per line: the largest template file the editor opens (1 MiB, all
// line breaks) stores as some 25 MiB, and the program must read back what it saved.
constexpr size_t kMaxSettingsFileSize = 64 << 20;

bool IsKeyName(std::string_view name) { return !name.empty() && name.find('\\') == std::string_view::npos; }

// Builds the key tree straight from the parser's events, keeping its sound
// part: it skips (and counts) nulls, lists, objects nested deeper than
// kMaxDepth or under a name no key may have, and anything but an object at the
// top, where the program keeps keys only (a text there would block the key of
// that name). Numbers and flags written by hand are taken as their text, which
// is what the program itself would have stored. A name repeated in any letter
// case keeps its first occurrence. Going without a JSON document in between
// keeps loading linear: an ordered document searches its members one by one
// on every insertion, and a stylesheet template holds a value per line.
class TSettingsReader : public nlohmann::json_sax<TJson> {
 public:
  explicit TSettingsReader(TSettingsKey& root) : root_(root) {}
  /// False when the text's top level was no object.
  bool TopIsObject() const { return top_is_object_; }
  size_t Skipped() const { return skipped_; }

  bool null() override { return Value(std::nullopt); }
  bool boolean(bool value) override { return Value(value ? "1" : "0"); }
  bool number_integer(number_integer_t value) override { return Value(std::to_string(value)); }
  bool number_unsigned(number_unsigned_t value) override { return Value(std::to_string(value)); }
  bool number_float(number_float_t value, const string_t&) override { return Value(TJson(value).dump()); }
  bool string(string_t& value) override { return Value(std::move(value)); }
  bool binary(binary_t&) override { return Value(std::nullopt); }
  bool key(string_t& name) override {
    if (skipping_ == 0) name_ = std::move(name);
    return true;
  }
  bool start_object(std::size_t) override {
    if (skipping_ == 0 && open_.empty()) {
      top_is_object_ = true;
      open_.push_back(&root_);
    } else if (skipping_ == 0 && !Repeated() && IsKeyName(name_) && open_.size() <= kMaxDepth) {
      open_.push_back(&open_.back()->CreateKey(name_));
    } else {
      StartSkipping();
    }
    return true;
  }
  bool start_array(std::size_t) override {
    StartSkipping();
    return true;
  }
  bool end_object() override { return End(); }
  bool end_array() override { return End(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

 private:
  TSettingsKey& root_;
  std::vector<TSettingsKey*> open_;  // the keys being read, the root first
  std::string name_;                 // the name of the member whose value comes next
  size_t skipping_ = 0;              // how deep inside a skipped list or object
  size_t skipped_ = 0;
  bool top_is_object_ = false;

  bool Repeated() const { return open_.back()->OpenKey(name_) || open_.back()->ReadString(name_); }

  void StartSkipping() {
    if (skipping_++ == 0 && !open_.empty() && !Repeated()) ++skipped_;
  }

  bool Value(std::optional<std::string> text) {
    if (skipping_ > 0 || open_.empty() || Repeated()) return true;
    if (text && open_.size() > 1)
      open_.back()->WriteString(name_, std::move(*text));
    else
      ++skipped_;
    return true;
  }

  bool End() {
    if (skipping_ > 0)
      --skipping_;
    else
      open_.pop_back();
    return true;
  }
};

TJson ToJson(const TSettingsKey& key) {
  TJson object = TJson::object();
  // The names are unique already: appending to the member list directly spares
  // the ordered map its search of every member on each insertion.
  TJson::object_t& members = object.get_ref<TJson::object_t&>();
  for (const std::string& name : key.ValueNames()) members.emplace_back(name, *key.ReadString(name));
  for (const std::string& name : key.SubkeyNames()) members.emplace_back(name, ToJson(*key.OpenKey(name)));
  return object;
}

// Renames `path` to the first free name of "path.damaged", "path.2.damaged", ...
// never replacing an earlier damaged file. Returns the new name, "" on failure.
std::string RenameAside(const std::string& path) {
  for (int attempt = 1; attempt <= 100; ++attempt) {
    std::string target = attempt == 1 ? path + ".damaged" : path + "." + std::to_string(attempt) + ".damaged";
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
  TSettingsReader reader(*root_);
  if (!TJson::sax_parse(bytes, &reader) || !reader.TopIsObject()) {
    root_ = std::make_unique<TSettingsKey>("");
    SetDamagedFileAside(file_name_);
    return *root_;
  }
  if (reader.Skipped() > 0 && !skipped_reported_) {
    warning_ = "The settings file \"" + file_name_ + "\" holds " + std::to_string(reader.Skipped()) +
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
