#include "editor/listcommands.h"

#include <algorithm>

#include "platform/filesystem.h"

namespace folivant {

std::vector<int> MoveSelectedUp(TRowSelection& selected) {
  std::vector<int> moved;
  for (size_t i = 1; i < selected.size(); ++i) {
    if (selected[i] && !selected[i - 1]) {
      selected[i - 1] = true;
      selected[i] = false;
      moved.push_back(static_cast<int>(i));
    }
  }
  return moved;
}

std::vector<int> MoveSelectedDown(TRowSelection& selected) {
  std::vector<int> moved;
  for (size_t i = selected.size(); i-- > 1;) {
    const size_t row = i - 1;
    if (selected[row] && !selected[row + 1]) {
      selected[row + 1] = true;
      selected[row] = false;
      moved.push_back(static_cast<int>(row));
    }
  }
  return moved;
}

TMoveCommands UpdateMoveCommands(const TRowSelection& selected) {
  const auto count = std::count(selected.begin(), selected.end(), true);
  const auto any_unselected = [](auto begin, auto end) { return std::find(begin, end, false) != end; };
  return {any_unselected(selected.begin(), selected.begin() + count),
          any_unselected(selected.end() - count, selected.end())};
}

std::string CaptionToField(const std::string& caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i)
    if (!(caption[i] == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n')) text += caption[i];
  return text;
}

std::string CaptionFromField(const std::string& text) {
  std::string caption;
  for (const char c : text) {
    if (c == '\n') caption += '\r';
    caption += c;
  }
  return caption;
}

std::string WithAlbumExtension(const std::string& path) { return ExtractFileExt(path).empty() ? path + ".alb" : path; }

}  // namespace folivant
