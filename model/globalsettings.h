#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/albumclasses.h"
#include "platform/settingsstore.h"

namespace folivant {

/// What is kept per user rather than per album: the stylesheet template of
/// each page style, from which every generation run writes "main.css". A
/// template lives in the settings key StylesheetTemplateKey(style) as
/// "LineCount" and "Line0", "Line1", ...
class TGlobalSettings {
 public:
  /// Keeps the program's folder and loads every template; `store` must outlive
  /// this object. Writes nothing: until the first save, the default templates are used.
  TGlobalSettings(std::string program_folder, TSettingsStore& store);

  const std::string& ProgramFolder() const { return program_folder_; }
  /// The template lines of `style`, UTF-8, without line terminators; may be empty.
  const std::vector<std::string>& StylesheetTemplate(TPageStyle style = TPageStyle::Classic) const {
    return templates_[Slot(style)];
  }
  void SetStylesheetTemplate(std::vector<std::string> lines, TPageStyle style = TPageStyle::Classic) {
    templates_[Slot(style)] = std::move(lines);
  }
  /// The template of `style` becomes its built-in default.
  void RestoreDefaultStylesheet(TPageStyle style = TPageStyle::Classic);
  /// Writes the template of `style` to the settings file. Throws TError when it cannot be written.
  void SaveStylesheetTemplate(TPageStyle style = TPageStyle::Classic);
  /// Reads the template of `style` from the settings file, or takes its default when it holds none.
  void LoadStylesheetTemplate(TPageStyle style = TPageStyle::Classic);

 private:
  static size_t Slot(TPageStyle style) { return static_cast<size_t>(style); }

  std::string program_folder_;
  TSettingsStore& store_;
  std::array<std::vector<std::string>, std::size(kPageStyles)> templates_;
};

/// "Stylesheet Template" for the classic style (the key older versions use),
/// "Modern Stylesheet Template" for the modern one.
const char* StylesheetTemplateKey(TPageStyle style);
/// The name of the built-in default stylesheet of `style` (platform/resources.h).
const char* DefaultStylesheetResource(TPageStyle style);

}  // namespace folivant
