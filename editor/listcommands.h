#pragma once

// The photo list's commands that need no window: moving selected rows, which
// move commands are enabled, which dropped files are photographs, and the name
// an album file is saved under.

#include <string>
#include <vector>

namespace folivant {

/// Selection state of the photo list's rows, in row order.
using TRowSelection = std::vector<bool>;

/// Moves every run of selected rows one place up, except a run that already
/// touches the top. Updates `selected` and returns, in the order they happen,
/// the rows i whose entry moved to i - 1 (swapping with the unselected row there).
std::vector<int> MoveSelectedUp(TRowSelection& selected);
/// The same downwards: returns the rows i whose entry moved to i + 1.
std::vector<int> MoveSelectedDown(TRowSelection& selected);

/// Which of "Move Photo Up" and "Move Photo Down" can move anything.
struct TMoveCommands {
  bool Up = false;
  bool Down = false;
};

/// With k rows selected, Up is enabled when some row among the first k is not
/// selected, Down when some row among the last k is not; both off with no selection.
TMoveCommands UpdateMoveCommands(const TRowSelection& selected);

/// The filter of the dialogs that choose photographs ("description|patterns").
inline constexpr char kPhotoFileFilter[] = "JPEG Image File (*.jpg; *.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe";

/// A caption as the caption field shows it: lines separated by "\n" instead of CR LF.
std::string CaptionToField(const std::string& caption);
/// The caption field's text as a caption: CR LF between lines, as album files keep it.
std::string CaptionFromField(const std::string& text);

/// The path an album is saved under: ".alb" is added when the file name typed has no extension.
std::string WithAlbumExtension(const std::string& path);

}  // namespace folivant
