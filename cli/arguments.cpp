#include "cli/arguments.h"

#include <charconv>

namespace folivant::cli {

const char kUsage[] =
    "Usage: folivant-cli generate ALBUM.alb [--output DIR] [--jobs N] [--force] [--full] [--prune]\n"
    "                                       [--stylesheet FILE] [--style classic|modern] [--exif]\n"
    "                                       [--no-album-copy] [--base-url URL] [--zip] [--download]\n"
    "       folivant-cli create ALBUM.alb --from-folder DIR [--title TEXT] [--sort title|date|filename] [--force]\n"
    "       folivant-cli --help | --version\n";

const char kHelp[] =
    "folivant-cli makes web photo albums without a window.\n"
    "\n"
    "folivant-cli generate ALBUM.alb [--output DIR] [--jobs N] [--force] [--full] [--prune]\n"
    "                      [--stylesheet FILE] [--style classic|modern] [--exif] [--no-album-copy]\n"
    "                      [--base-url URL] [--zip] [--download]\n"
    "  Writes the web album of ALBUM.alb (either album file format): main.css, a copy\n"
    "  of the album file, a photograph and a thumbnail per photograph, one page per\n"
    "  photograph and the index pages, exactly as the application's wizard does.\n"
    "  --output DIR       the album folder; without it, the folder stored in the album,\n"
    "                     else a folder named after the album's title on the desktop\n"
    "  --jobs N           render photographs on N threads (default: the number of\n"
    "                     processors); the files are the same for every N\n"
    "  --force            write into an existing folder without asking; without it\n"
    "                     an existing folder is refused, or asked about at a terminal\n"
    "  --full             render every photograph again; without it, a photograph\n"
    "                     whose images an earlier run wrote into DIR is rendered\n"
    "                     only when its file, rotation or the image sizes changed,\n"
    "                     or its images there were changed or removed\n"
    "  --prune            remove the files an earlier run wrote into DIR that this\n"
    "                     album no longer has (photographs removed or renamed),\n"
    "                     when they are unchanged since; nothing else is removed\n"
    "  --stylesheet FILE  fill main.css from FILE instead of your stylesheet template\n"
    "                     (the one the application keeps for the album's page style,\n"
    "                     or its built-in default)\n"
    "  --style STYLE      the page style, instead of the album's own: classic (fixed\n"
    "                     XHTML pages) or modern (HTML5 pages that show each\n"
    "                     photograph as large as the screen allows, at the size\n"
    "                     each screen needs; arrow keys and swipes, light and dark)\n"
    "  --exif             modern pages show each photograph's camera data (make,\n"
    "                     model, lens, focal length, aperture, exposure, ISO, date\n"
    "                     taken) under its caption; location data is never published\n"
    "  --no-album-copy    write no copy of the album file into DIR (it lists where\n"
    "                     the photographs lie on this computer); --prune then\n"
    "                     leaves a copy of an earlier run alone. An album whose\n"
    "                     wizard had its copy turned off gets none either\n"
    "  --base-url URL     where DIR will be on the web (http:// or https://), so\n"
    "                     that modern pages give link previews in chats and social\n"
    "                     networks absolute addresses of the page and its picture\n"
    "  --zip              modern index pages offer one zip file of the album's\n"
    "                     photographs, made again only when a photograph changed\n"
    "  --download         modern photo pages offer each photograph's own file,\n"
    "                     copied into DIR as it is (with all its metadata,\n"
    "                     location included)\n"
    "  --style, --exif, --no-album-copy, --base-url, --zip and --download apply to\n"
    "  this run and to the album's copy in DIR, never to ALBUM.alb itself.\n"
    "  What earlier runs wrote is recorded in $XDG_CACHE_HOME/folivant (else\n"
    "  ~/.cache/folivant), never in the album folder; without that record every\n"
    "  photograph is rendered. Unfinished files that a killed run left in DIR\n"
    "  (NAME.tmp-XXXXXX) are removed at the start.\n"
    "  Photographs whose files are missing, are not .jpg or .jpeg files, cannot be\n"
    "  read or decoded, or need more than the run's 1024 MB of memory get no\n"
    "  images; the run goes on, and they are listed at the end with the reason.\n"
    "\n"
    "folivant-cli create ALBUM.alb --from-folder DIR [--title TEXT] [--sort ORDER] [--force]\n"
    "  Makes a new album of the photographs in DIR (the .jpg files, then the .jpeg\n"
    "  files, any letter case, no sub-folders), with titles and captions taken from\n"
    "  their IPTC headlines and captions, else their XMP titles and descriptions,\n"
    "  each turned upright as its EXIF orientation says, and saves it as ALBUM.alb.\n"
    "  --title TEXT       the album's title (default: \"Untitled Album\")\n"
    "  --sort ORDER       title, date (when taken) or filename; default: as found\n"
    "  --force            replace an existing ALBUM.alb\n"
    "\n"
    "Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)\n"
    "stops the work within a second; every file written is complete, and the\n"
    "program ends by that signal. Exit status: 0 on success, 1 when the work\n"
    "failed (the message says why), 2 for a usage error, 3 when the album was\n"
    "written but some photographs got no images.\n"
    "Settings are read from the same per-user settings file as the application.\n";

namespace {

class TArgumentReader {
 public:
  explicit TArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  bool AtEnd() const { return next_ >= arguments_.size(); }
  std::string Next() { return arguments_[next_++]; }
  /// The value of an option given as "--name VALUE" or "--name=VALUE".
  std::string Value(const std::string& name, const std::optional<std::string>& inline_value) {
    if (inline_value) return *inline_value;
    if (AtEnd()) throw TUsageError(name + " needs a value");
    return Next();
  }
  /// A value that names a file or folder: blanks alone are refused, not taken
  /// as some default place.
  std::string PathValue(const std::string& name, const std::optional<std::string>& inline_value) {
    std::string value = Value(name, inline_value);
    if (value.find_first_not_of(" \t") == std::string::npos)
      throw TUsageError(name + " needs a file or folder name, not \"" + value + "\"");
    return value;
  }

 private:
  const std::vector<std::string>& arguments_;
  size_t next_ = 0;
};

int ParseJobs(const std::string& text) {
  int jobs = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  if (error != std::errc() || end != text.data() + text.size() || jobs < 1 || jobs > 256)
    throw TUsageError("--jobs needs a whole number from 1 to 256, not \"" + text + "\"");
  return jobs;
}

TSortOrder ParseSort(const std::string& text) {
  if (text == "title") return TSortOrder::Title;
  if (text == "date") return TSortOrder::Date;
  if (text == "filename") return TSortOrder::FileName;
  throw TUsageError("--sort takes title, date or filename, not \"" + text + "\"");
}

TPageStyle ParseStyle(const std::string& text) {
  for (const TPageStyle style : kPageStyles)
    if (text == PageStyleToText(style)) return style;
  throw TUsageError("--style takes classic or modern, not \"" + text + "\"");
}

std::string ParseWebAddress(const std::string& text) {
  if (!IsWebAddress(text))
    throw TUsageError("--base-url needs an address that begins with http:// or https://, not \"" + text + "\"");
  return text;
}

TCommand ParseCommand(const std::string& word) {
  if (word == "generate") return TCommand::Generate;
  if (word == "create") return TCommand::Create;
  if (word == "--help" || word == "-h" || word == "help") return TCommand::Help;
  if (word == "--version") return TCommand::Version;
  throw TUsageError("unknown command \"" + word + "\"");
}

// Applies one option of the command; false when the command has no such option.
bool ApplyOption(TOptions& options, const std::string& name, const std::optional<std::string>& inline_value,
                 TArgumentReader& reader) {
  const bool generate = options.Command == TCommand::Generate;
  if (name == "--force") {
    if (inline_value) throw TUsageError("--force takes no value");
    options.Force = true;
  } else if (generate && (name == "--full" || name == "--prune")) {
    if (inline_value) throw TUsageError(name + " takes no value");
    (name == "--full" ? options.Full : options.Prune) = true;
  } else if (generate && name == "--output") {
    options.Output = reader.PathValue(name, inline_value);
  } else if (generate && name == "--jobs") {
    options.Jobs = ParseJobs(reader.Value(name, inline_value));
  } else if (generate && name == "--stylesheet") {
    options.Stylesheet = reader.PathValue(name, inline_value);
  } else if (generate && name == "--style") {
    options.Style = ParseStyle(reader.Value(name, inline_value));
  } else if (generate && (name == "--exif" || name == "--no-album-copy" || name == "--zip" || name == "--download")) {
    if (inline_value) throw TUsageError(name + " takes no value");
    (name == "--exif"            ? options.CameraData
     : name == "--no-album-copy" ? options.NoAlbumCopy
     : name == "--zip"           ? options.Zip
                                 : options.Download) = true;
  } else if (generate && name == "--base-url") {
    options.WebAddress = ParseWebAddress(reader.Value(name, inline_value));
  } else if (!generate && name == "--from-folder") {
    options.FromFolder = reader.PathValue(name, inline_value);
  } else if (!generate && name == "--title") {
    options.Title = reader.Value(name, inline_value);
  } else if (!generate && name == "--sort") {
    options.Sort = ParseSort(reader.Value(name, inline_value));
  } else {
    return false;
  }
  return true;
}

}  // namespace

TOptions ParseArguments(const std::vector<std::string>& arguments, int default_jobs) {
  TArgumentReader reader(arguments);
  if (reader.AtEnd()) throw TUsageError("no command given");
  TOptions options;
  options.Command = ParseCommand(reader.Next());
  options.Jobs = default_jobs < 1 ? 1 : default_jobs;
  if (options.Command == TCommand::Help || options.Command == TCommand::Version) {
    if (!reader.AtEnd()) throw TUsageError("unexpected \"" + reader.Next() + "\"");
    return options;
  }
  while (!reader.AtEnd()) {
    const std::string argument = reader.Next();
    if (argument == "--help" || argument == "-h") {
      options.Command = TCommand::Help;
      return options;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      const size_t equals = argument.find('=');
      const std::string name = argument.substr(0, equals);
      const std::optional<std::string> inline_value =
          equals == std::string::npos ? std::nullopt : std::optional<std::string>(argument.substr(equals + 1));
      if (!ApplyOption(options, name, inline_value, reader)) throw TUsageError("unknown option \"" + name + "\"");
    } else if (options.Album.empty()) {
      options.Album = argument;
    } else {
      throw TUsageError("unexpected \"" + argument + "\"");
    }
  }
  if (options.Album.empty()) throw TUsageError("no album file given");
  if (options.Command == TCommand::Create && options.FromFolder.empty())
    throw TUsageError("create needs --from-folder DIR");
  return options;
}

}  // namespace folivant::cli
