#include "editor/windowstate.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
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
  state.Scale = std::max(ReadInteger(program_key, kWindowPosKey, "Scale", 0), 0);
  return state;
}

TWindowState AtScale(TWindowState state, int32_t scale) {
  if (state.Scale <= 0 || scale <= 0 || state.Scale == scale) return state;
  const auto convert = [&](int32_t& value) {
    value = static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} * state.Scale / scale,
                                                     std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
  };
  for (int32_t* bound : {&state.Top, &state.Left, &state.Width, &state.Height}) convert(*bound);
  state.Scale = scale;
  return state;
}

static int64_t Overlap(int64_t start, int64_t length, int64_t other_start, int64_t other_length) {
  return std::max<int64_t>(0, std::min(start + length, other_start + other_length) - std::max(start, other_start));
}

static int64_t OverlapArea(const TWindowState& state, const TScreenRect& screen) {
  return Overlap(state.Left, state.Width, screen.Left, screen.Width) *
         Overlap(state.Top, state.Height, screen.Top, screen.Height);
}

// The window's start and length along one axis, inside the screen's.
static void FitAxis(int32_t& start, int32_t& length, int32_t screen_start, int32_t screen_length) {
  length = std::min(length, screen_length);
  start = static_cast<int32_t>(
      std::clamp<int64_t>(start, screen_start, int64_t{screen_start} + screen_length - std::max(length, 0)));
}

TWindowState FitOnScreen(TWindowState state, const std::vector<TScreenRect>& screens) {
  if (screens.empty()) return state;
  const auto most = std::max_element(screens.begin(), screens.end(), [&](const TScreenRect& a, const TScreenRect& b) {
    return OverlapArea(state, a) < OverlapArea(state, b);
  });
  const TScreenRect& screen = OverlapArea(state, *most) > 0 ? *most : screens.front();
  FitAxis(state.Left, state.Width, screen.Left, screen.Width);
  FitAxis(state.Top, state.Height, screen.Top, screen.Height);
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
  if (state.Scale > 0) position.WriteString("Scale", std::to_string(state.Scale));
}

}  // namespace folivant
