// folivant-cli: makes and generates web photo albums without a window.

#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace {

int Run(const folivant::cli::TOptions& options) {
  using folivant::cli::TCommand;
  switch (options.Command) {
    case TCommand::Help: std::fputs(folivant::cli::kHelp, stdout); return 0;
    case TCommand::Version: std::printf("folivant-cli %s\n", FOLIVANT_VERSION); return 0;
    case TCommand::Generate: return folivant::cli::Generate(options);
    case TCommand::Create: return folivant::cli::Create(options);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  folivant::cli::TOptions options;
  try {
    options = folivant::cli::ParseArguments(arguments, static_cast<int>(std::thread::hardware_concurrency()));
  } catch (const folivant::cli::TUsageError& error) {
    std::fprintf(stderr, "folivant-cli: %s\n%s", error.what(), folivant::cli::kUsage);
    return 2;
  }
  try {
    return Run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "folivant-cli: %s\n", error.what());
    return 1;
  }
}
