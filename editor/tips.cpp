#include "editor/tips.h"

#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/ini.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "platform/text.h"

namespace folivant {

namespace {

constexpr size_t kMaxTipCharacters = 2047;
// Kept beside "CurrentTip" (windowstate.cpp).
constexpr char kSettingsKey[] = "Settings";
constexpr char kShowTipsValue[] = "ShowTips";

// Missing file reads as an empty one, as profile reads do; a file that exists
// but cannot be read throws TError.
TIniFile ReadTipsFile(const std::string& program_folder) {
  const std::string path = FindDataFile(program_folder, "tips.ini");
  const TIniOptions options{.first_occurrence_wins = true, .strip_quotes = true, .max_value_length = 0};
  if (!FileExists(path)) return TIniFile("", options);
  return TIniFile::FromFile(path, options);
}

// Decimal, or hexadecimal after "0x"; anything else, "$" included, counts as 0.
int32_t CountOf(const std::string& text) {
  if (text.starts_with('$')) return 0;
  return ParseIniInteger(text).value_or(0);
}

}  // namespace

bool ReadShowTips(const TSettingsKey& program_key) {
  const TSettingsKey* settings = program_key.OpenKey(kSettingsKey);
  return !settings || settings->ReadString(kShowTipsValue) != "0";
}

void WriteShowTips(TSettingsKey& program_key, bool show) {
  program_key.CreateKey(kSettingsKey).WriteString(kShowTipsValue, show ? "1" : "0");
}

TTips::TTips(std::string program_folder, int32_t initial_index)
    : program_folder_(std::move(program_folder)), current_(initial_index) {
  try {
    tip_count_ = CountOf(ReadTipsFile(program_folder_).ReadString("Info", "Count", "0"));
  } catch (const TError&) {
    tip_count_ = 0;
  }
}

std::string TTips::NextTip() {
  // 64-bit so that an index or count edited to the limits of 32 bits cannot overflow.
  const int64_t next = int64_t{current_} + 1;
  current_ = next > int64_t{tip_count_} - 1 ? 0 : static_cast<int32_t>(next);
  try {
    const std::string tip =
        ReadTipsFile(program_folder_).ReadString("Tips", "Tip" + std::to_string(current_), "Error loading tips.");
    return std::string(FirstCharacters(tip, kMaxTipCharacters));
  } catch (const TError&) {
    return "";
  }
}

std::optional<std::string> TTips::StartUpTip(bool show_tips) {
  if (!show_tips || tip_count_ <= 0) return std::nullopt;
  return NextTip();
}

}  // namespace folivant
