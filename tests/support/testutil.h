#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// Expects `statement` to throw an exception whose what() is exactly `message`:
/// the user's words, not just "it threw".
#define EXPECT_THROW_MSG(statement, message)                                \
  do {                                                                      \
    try {                                                                   \
      statement;                                                            \
      ADD_FAILURE() << "expected an exception with message: " << (message); \
    } catch (const std::exception& thrown) {                                \
      EXPECT_EQ(std::string(thrown.what()), std::string(message));          \
    }                                                                       \
  } while (false)

namespace folivant::test {

/// A fresh folder for one test, removed with everything in it at the end.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return path_; }
  /// Path() + "/" + name.
  std::string File(const std::string& name) const;
  /// Writes `bytes` to Path()/name and returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);

/// An environment variable that gets its old value back when the test ends.
class TEnvironment {
 public:
  explicit TEnvironment(const char* name);
  ~TEnvironment();
  TEnvironment(const TEnvironment&) = delete;
  TEnvironment& operator=(const TEnvironment&) = delete;
  /// Sets the variable; nullptr unsets it.
  void Set(const char* value);

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

/// The bytes a process ("self", or a process id) has read from files and pipes
/// so far, all its threads together, as the kernel counts them; nothing where
/// it does not tell.
std::optional<uint64_t> BytesReadByProcess(const std::string& process = "self");

struct TCommandResult {
  int status = -1;
  std::string output;
};

/// Waits until the clock that stamps files (FileClockNowNs, which lags behind
/// the time by some milliseconds) has passed this moment, so that every file
/// written so far is older than what starts next.
void WaitForFileClockTick();

/// Runs a shell command and collects its standard output and error.
TCommandResult RunCommand(const std::string& command);

/// Validates pages as XHTML 1.0 Strict against the DTDs that Debian's
/// w3c-sgml-lib registers in the XML catalog; --nonet makes a DTD missing from
/// the catalog a failure, not a download.
TCommandResult ValidateXhtml(const std::vector<std::string>& paths);

}  // namespace folivant::test
