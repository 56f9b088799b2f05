#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace folivant {

class TSettingsKey;

/// Whether the user wants the tip box at start-up: "Settings" / "ShowTips" in
/// the program key, on unless it holds "0".
bool ReadShowTips(const TSettingsKey& program_key);
void WriteShowTips(TSettingsKey& program_key, bool show);

/// The tip of the day, read from "tips.ini" beside the program: section "Info"
/// key "Count", section "Tips" keys "Tip0", "Tip1", ... The file is read afresh
/// for every tip; no failure to read it ever escapes.
class TTips {
 public:
  /// Reads the number of tips (0 when the file or the count is missing) and
  /// starts at `initial_index`, the index of the tip shown last (-1 when none).
  TTips(std::string program_folder, int32_t initial_index);

  int32_t TipCount() const { return tip_count_; }
  /// The index of the tip shown last.
  int32_t CurrentIndex() const { return current_; }
  /// Moves to the following tip, back to 0 after the last, and returns its text:
  /// "Error loading tips." when the file lacks it, "" when the file cannot be read.
  std::string NextTip();
  /// The tip the start page shows at start-up (NextTip), or nothing when it
  /// shows no tip box: `show_tips` is off or the file counts no tips. The index
  /// moves only when a tip is shown.
  std::optional<std::string> StartUpTip(bool show_tips);

 private:
  std::string program_folder_;
  int32_t tip_count_ = 0;
  int32_t current_;
};

}  // namespace folivant
