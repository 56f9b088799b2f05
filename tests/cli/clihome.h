#pragma once

// A user's world for the command-line tests: a home folder with its own
// settings, cache and desktop, never the real ones, and folivant-cli run there
// as a user runs it; for the tests of interrupted runs, confined by a seccomp
// filter that can stand in for a file system without unnamed files and kill the
// run at a chosen change to the files.

#include <sys/types.h>

#include <string>
#include <vector>

#include "samplephotos.h"
#include "testutil.h"

namespace folivant::test {

struct TResult {
  int status = -1;
  std::string out;
  std::string err;
  /// Ended by SIGKILL.
  bool killed = false;
  /// The system calls that change files (see TConfinement) the run started.
  int file_changes = 0;
};

/// The exit status of a confined run that could not be confined here (no
/// seccomp user notification, as in some containers); nothing was run.
inline constexpr int kCannotConfine = 125;

struct TConfinement {
  /// The run's files behave as on FAT through FUSE (fusefat): opening an
  /// unnamed file (O_TMPFILE) fails with EOPNOTSUPP, so the run falls back to
  /// named temporary files, and giving a file an owner fails with ENOSYS. The
  /// kernel answers for the file system, so the program needs no switch for tests.
  bool FatFileSystem = false;
  /// Kills the run with SIGKILL as it starts its KillAt-th system call that
  /// changes files (an open that creates one, write, link, rename, unlink,
  /// mkdir), before that call takes effect; 0: never.
  int KillAt = 0;
};

class TCliHome : public TTempDir {
 public:
  /// Runs folivant-cli with `arguments` in the home folder, standard input empty.
  TResult Run(const std::vector<std::string>& arguments) const;
  /// The same, confined; the status is kCannotConfine where that is impossible.
  TResult RunConfined(const std::vector<std::string>& arguments, const TConfinement& confinement) const;
  /// Starts folivant-cli as Run does, without waiting; the process is folivant-cli's own, for the caller to reap.
  pid_t Start(const std::vector<std::string>& arguments) const;

  /// Writes sample photographs into the sub-folder `folder`.
  void WritePhotos(const std::string& folder, const std::vector<samples::TSamplePicture>& pictures) const;

 private:
  TResult Spawn(const std::vector<std::string>& arguments, const TConfinement* confinement) const;
  /// Forks and runs folivant-cli; a confined run sends its filter's listener through `listener_socket`.
  pid_t Launch(const std::vector<std::string>& arguments, const TConfinement* confinement, int listener_socket) const;
};

}  // namespace folivant::test
