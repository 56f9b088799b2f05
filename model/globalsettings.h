#pragma once

#include <string>
#include <vector>

#include "platform/settingsstore.h"

namespace folivant {

/// What is kept per user rather than per album: the stylesheet template from
/// which every generation run writes "main.css". The template lives in the
/// settings key "Stylesheet Template" as "LineCount" and "Line0", "Line1", ...
class TGlobalSettings {
 public:
  /// Keeps the program's folder and loads the template; `store` must outlive
  /// this object. Writes nothing: until the first save, the default template is used.
  TGlobalSettings(std::string program_folder, TSettingsStore& store);

  const std::string& ProgramFolder() const { return program_folder_; }
  /// The settings store the template is kept in, for the editor's other per-user choices.
  TSettingsStore& Store() const { return store_; }
  /// The template lines, UTF-8, without line terminators; may be empty.
  const std::vector<std::string>& StylesheetTemplate() const { return stylesheet_template_; }
  void SetStylesheetTemplate(std::vector<std::string> lines) { stylesheet_template_ = std::move(lines); }
  /// The template becomes the built-in default.
  void RestoreDefaultStylesheet();
  /// Writes the template to the settings file. Throws TError when it cannot be written.
  void SaveStylesheetTemplate();
  /// Reads the template from the settings file, or takes the default when it holds none.
  void LoadStylesheetTemplate();

 private:
  std::string program_folder_;
  TSettingsStore& store_;
  std::vector<std::string> stylesheet_template_;
};

}  // namespace folivant
