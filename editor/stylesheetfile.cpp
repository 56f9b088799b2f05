#include "editor/stylesheetfile.h"

#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {

// The default stylesheet is under 3 KiB; a template hundreds of times that is not one.
constexpr size_t kMaxStylesheetFileSize = 1 << 20;

TLineList ReadStylesheetFile(const std::string& path) {
  const std::string bytes = ReadFileBytes(path, kMaxStylesheetFileSize);
  std::string_view text = bytes;
  // A byte-order mark would otherwise end up inside every "main.css".
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  return SplitLines(AnsiToUtf8(text));
}

}  // namespace folivant
