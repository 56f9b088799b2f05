#include "editor/windowstate.h"

#include <charconv>
#include <optional>
#include <string>

#include "platform/settingsstore.h"

namespace folivant {

static const char kSettingsKey[] = "Settings";
static const char kWindowPosKey[] = "WindowPos";

static int32_t ReadInteger(const TSettingsKey& program_key, const char* key, const char* value, int32_t fallback) {
  const TSettingsKey* sub_key = program_key.OpenKey(key);
  if (!sub_key) return fallback;
  const std::optional<std::string> text = sub_key->ReadString(value);
  if (!text) return fallback;
  int32_t result = 0;
  const char* const end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, result);
  return error == std::errc() && stop == end && !text->empty() ? result : fallback;
}

TWindowState ReadWindowState(const TSettingsKey& program_key, TExtent design, TExtent screen) {
  TWindowState state;
  state.CurrentTip = ReadInteger(program_key, kSettingsKey, "CurrentTip", -1);
  state.Top = ReadInteger(program_key, kWindowPosKey, "Top", (screen.Height - design.Height) / 2);
  state.Left = ReadInteger(program_key, kWindowPosKey, "Left", (screen.Width - design.Width) / 2);
  state.Width = ReadInteger(program_key, kWindowPosKey, "Width", design.Width);
  state.Height = ReadInteger(program_key, kWindowPosKey, "Height", design.Height);
  state.Maximized = ReadInteger(program_key, kSettingsKey, "Maximized", 0) != 0;
  return state;
}

void WriteWindowState(TSettingsKey& program_key, const TWindowState& state) {
  TSettingsKey& settings = program_key.CreateKey(kSettingsKey);
  settings.WriteString("CurrentTip", std::to_string(state.CurrentTip));
  settings.WriteString("Maximized", state.Maximized ? "1" : "0");
  if (state.Maximized) return;
  TSettingsKey& position = program_key.CreateKey(kWindowPosKey);
  position.WriteString("Top", std::to_string(state.Top));
  position.WriteString("Left", std::to_string(state.Left));
  position.WriteString("Width", std::to_string(state.Width));
  position.WriteString("Height", std::to_string(state.Height));
}

}  // namespace folivant
