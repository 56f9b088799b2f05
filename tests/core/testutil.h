#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

}  // namespace folivant::test
