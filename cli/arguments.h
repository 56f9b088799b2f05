#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/albumclasses.h"

namespace folivant::cli {

/// A command line that does not fit the usage; what() says what is wrong.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TCommand { Help, Version, Generate, Create };
enum class TSortOrder { Title, Date, FileName };

/// What the command line asks for; each command reads only its own options.
struct TOptions {
  TCommand Command = TCommand::Help;
  std::string Album;
  /// generate: stands for the wizard's output folder field.
  std::optional<std::string> Output;
  int Jobs = 1;
  bool Force = false;
  /// generate: render every photograph; remove files of earlier runs the album no longer has.
  bool Full = false;
  bool Prune = false;
  std::optional<std::string> Stylesheet;
  /// generate: the page style and camera data for this run, instead of the album's.
  std::optional<TPageStyle> Style;
  bool CameraData = false;
  /// generate: leave the copy of the album file out of the folder, for this run.
  bool NoAlbumCopy = false;
  /// generate: the album's web address, a zip of its photographs and the
  /// photographs' own files to download, for this run.
  std::optional<std::string> WebAddress;
  bool Zip = false;
  bool Download = false;
  /// create:
  std::string FromFolder;
  std::optional<std::string> Title;
  std::optional<TSortOrder> Sort;
};

/// The short usage text printed with every usage error.
extern const char kUsage[];
/// The full --help text.
extern const char kHelp[];

/// Parses the arguments after the program name; `default_jobs` is used when
/// --jobs is not given. Throws TUsageError.
TOptions ParseArguments(const std::vector<std::string>& arguments, int default_jobs);

}  // namespace folivant::cli
