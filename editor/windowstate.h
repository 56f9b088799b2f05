#pragma once

// The main window's placement and the index of the tip shown last, kept per
// user in the settings store: "Settings" holds "CurrentTip" and "Maximized",
// "WindowPos" holds "Top", "Left", "Width", "Height" and "Scale", all as
// decimal text.

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
  /// The desktop's scale the bounds were taken at, in percent (200 at 2x);
  /// 0 when unknown (stored by older versions).
  int32_t Scale = 0;
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

/// The state with its bounds taken from the scale they were saved at to
/// `scale` (percent), so that the window covers as much of the screen as it
/// did: bounds saved at 2x are doubled at 1x. Bounds of unknown scale stay.
TWindowState AtScale(TWindowState state, int32_t scale);

/// Reads the state from the program key. A value that is missing or not an
/// integer gives its default: tip -1, not maximized, the design size centred on the screen.
TWindowState ReadWindowState(const TSettingsKey& program_key, TExtent design, TExtent screen);

/// Writes the tip and the maximized flag, and the bounds with their scale only
/// when not maximized, so that the normal placement survives a run that ended maximized.
void WriteWindowState(TSettingsKey& program_key, const TWindowState& state);

}  // namespace folivant
