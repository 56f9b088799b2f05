#pragma once

#include "cli/arguments.h"

namespace folivant::cli {

/// Writes the album folder of options.Album. Throws TError; returns the exit status.
int Generate(const TOptions& options);
/// Makes and saves a new album of the photographs of a folder. Throws TError.
int Create(const TOptions& options);

}  // namespace folivant::cli
