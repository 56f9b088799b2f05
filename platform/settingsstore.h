#pragma once

// The per-user settings: a tree of keys holding text values, kept in one JSON
// file. The file's top level is the program key "\Software\Folivant\"; its
// subkeys are nested objects and its values strings. Key and value names match
// without regard to ASCII case, as registry names do.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace folivant {

/// One key: named subkeys and named text values, each kept in the order they were first written.
class TSettingsKey {
 public:
  explicit TSettingsKey(std::string name) : name_(std::move(name)) {}
  TSettingsKey(const TSettingsKey&) = delete;
  TSettingsKey& operator=(const TSettingsKey&) = delete;

  /// The name as first created; lookups ignore ASCII case.
  const std::string& Name() const { return name_; }

  /// The subkey `name`, appended when missing. Throws TError for an empty name
  /// or one holding "\" (a key path separator), or when a value has this name.
  TSettingsKey& CreateKey(std::string_view name);
  /// The subkey `name` or nullptr; never creates it.
  TSettingsKey* OpenKey(std::string_view name);
  const TSettingsKey* OpenKey(std::string_view name) const;
  /// Removes the subkey with all its subkeys and values; false when there was none.
  bool DeleteKey(std::string_view name);
  /// The subkeys' names in the order they were created.
  std::vector<std::string> SubkeyNames() const;

  /// The value's text, or nothing when there is no such value.
  std::optional<std::string> ReadString(std::string_view name) const;
  /// Replaces or appends the value. Throws TError when a subkey has this name.
  void WriteString(std::string_view name, std::string text);
  /// The values' names in the order they were first written.
  std::vector<std::string> ValueNames() const;

 private:
  struct TValue {
    std::string name;
    std::string text;
  };
  /// A name's place: a subkey or a value, and its position among them.
  struct TEntry {
    bool is_key;
    size_t position;
  };
  std::string name_;
  std::vector<TValue> values_;
  std::vector<std::unique_ptr<TSettingsKey>> subkeys_;
  /// Every name in ASCII lower case, so that a lookup costs the same in a key
  /// of any size (a stylesheet template keeps one value per line).
  std::unordered_map<std::string, TEntry> entries_;

  const TEntry* Find(std::string_view name) const;
  TValue* FindValue(std::string_view name);
  const TValue* FindValue(std::string_view name) const;
};

/// The folder of the settings file: $FOLIVANT_CONFIG_DIR when set, else
/// $XDG_CONFIG_HOME/folivant, else ~/.config/folivant.
std::string DefaultSettingsFolder();

/// The settings file of one folder. Every operation that reads settings calls
/// Load, which reads the file afresh; every operation that changes them ends
/// with Save, which replaces the whole file atomically. The file is never held
/// open, so several running programs each see the others' completed saves.
class TSettingsStore {
 public:
  /// The store of `folder`/settings.json; reads nothing yet.
  explicit TSettingsStore(std::string folder = DefaultSettingsFolder());

  /// The full path of the settings file.
  const std::string& FileName() const { return file_name_; }
  /// Reads the file afresh and returns its root key, the program key. A missing
  /// file gives an empty root. Unsound entries (nulls, lists, a text at the top
  /// level where only keys belong, keys too deep or misnamed) are skipped and
  /// the rest is read, the first time with a message for TakeWarning. A file
  /// that is not JSON, or whose top level is no object, is renamed aside with a
  /// ".damaged" suffix, and one that cannot be read (no regular file, larger
  /// than 64 MiB) is never saved over; the root then starts empty and the
  /// message waits for TakeWarning. Never throws.
  TSettingsKey& Load();
  /// The root key as last loaded or changed.
  TSettingsKey& Root() { return *root_; }
  /// Writes the whole tree, creating the folder when needed. Throws TError with
  /// the platform's message; the previous file then stays intact.
  void Save();
  /// The message about a damaged or unusable settings file found since the last call, "" when none.
  std::string TakeWarning();

 private:
  std::string folder_;
  std::string file_name_;
  std::unique_ptr<TSettingsKey> root_;
  std::string warning_;
  /// Skipped values are reported once per store, not at every Load.
  bool skipped_reported_ = false;
  /// Set when the file exists but could not be read: saving then would replace it unseen.
  std::string unreadable_;

  void SetDamagedFileAside(const std::string& path);
};

}  // namespace folivant
