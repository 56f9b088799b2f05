// folivant-cli: makes and generates web photo albums without a window.

#include <sys/time.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "platform/error.h"
#include "platform/memory.h"
#include "platform/stoprequest.h"

namespace {

// SIGINT and SIGTERM ask the work to stop at its next stop point (a few
// milliseconds away, also while a large photograph is decoded), so that it
// unwinds and no file is left half-written; the process then ends by the same
// signal, as the shell expects. Should the work not have ended within
// kStopDeadlineMicroseconds (a write to a slow disk, a read from a network file system
// that hangs), or should the signal come again, it ends at once.
constexpr suseconds_t kStopDeadlineMicroseconds = 800'000;

volatile std::sig_atomic_t stop_signal = 0;

// Async-signal-safe: signal() and raise() are.
void EndBySignal(int signal_number) {
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void OnStopSignal(int signal_number) {
  if (stop_signal != 0) EndBySignal(signal_number);
  stop_signal = signal_number;
  folivant::RequestStop();
  const itimerval deadline{{0, 0}, {0, kStopDeadlineMicroseconds}};
  ::setitimer(ITIMER_REAL, &deadline, nullptr);
}

void OnStopDeadline(int) { EndBySignal(stop_signal); }

// Without SA_RESTART, so that a question waiting at the terminal is interrupted too.
void HandleStopSignals() {
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_handler = OnStopSignal;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  action.sa_handler = OnStopDeadline;
  ::sigaction(SIGALRM, &action, nullptr);
}

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
  folivant::KeepFreedMemoryForReuse();
  HandleStopSignals();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  folivant::cli::TOptions options;
  try {
    options = folivant::cli::ParseArguments(arguments, static_cast<int>(std::thread::hardware_concurrency()));
  } catch (const folivant::cli::TUsageError& error) {
    std::fprintf(stderr, "folivant-cli: %s\n%s", error.what(), folivant::cli::kUsage);
    return 2;
  }
  int status = 1;
  try {
    status = Run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "folivant-cli: %s\n", folivant::ErrorMessage(error).c_str());
  }
  if (stop_signal != 0) EndBySignal(stop_signal);
  return status;
}
