#pragma once

// The main window's placement and the index of the tip shown last, kept per
// user in the settings store: "Settings" holds "CurrentTip" and "Maximized",
// "WindowPos" holds "Top", "Left", "Width" and "Height", all as decimal text.

#include <cstdint>
#include <vector>

namespace folivant {

class TSettingsKey;

/// The main window's stored state. Top and Left place the window's frame in
/// screen pixels; Width and Height are the window's size.
struct TWindowState {
  int32_t CurrentTip = -1;
  bool Maximized = false;
  int32_t Top = 0;
  int32_t Left = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

/// Width and height of a window or a screen, in pixels.
struct TExtent {
  int32_t Width = 0;
  int32_t Height = 0;
};

/// A rectangle in screen pixels: left and top edge, width and height.
struct TScreenRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

/// The state with its bounds moved, and shrunk where they must be, inside the
/// screen area they overlap most of `screens` (each screen's available area,
/// the primary first), or inside the primary one when they overlap none: a
/// placement saved at another scale or on a screen that is gone stays
/// reachable. Bounds that lie inside a screen are kept as they are.
TWindowState FitOnScreen(TWindowState state, const std::vector<TScreenRect>& screens);

/// Reads the state from the program key. A value that is missing or not an
/// integer gives its default: tip -1, not maximized, the design size centred on the screen.
TWindowState ReadWindowState(const TSettingsKey& program_key, TExtent design, TExtent screen);

/// Writes the tip and the maximized flag, and the bounds only when not
/// maximized, so that the normal placement survives a run that ended maximized.
void WriteWindowState(TSettingsKey& program_key, const TWindowState& state);

}  // namespace folivant
