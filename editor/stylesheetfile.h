#pragma once

#include <string>

#include "generator/utilities.h"

namespace folivant {

/// The lines of a stylesheet template file. The file is read as UTF-8; bytes
/// that are not valid UTF-8 are taken as Windows-1252, as older editors saved
/// them, and a leading UTF-8 byte-order mark is dropped. Lines end at CR LF, CR
/// or LF. Throws TError with the platform's message when the file cannot be read,
/// and a plain one when it is no regular file or larger than 1 MiB.
/// (Template files are written by WriteLinesToFile: UTF-8, CR LF after every line.)
TLineList ReadStylesheetFile(const std::string& path);

}  // namespace folivant
