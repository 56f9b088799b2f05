#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/collation.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Title order must not depend on the machine's locale.
  folivant::SetCollationLocale("en_US");
  // Generation runs keep their record in the user's cache folder: never the real one.
  std::string cache = (std::filesystem::temp_directory_path() / "folivant-test-cache-XXXXXX").string();
  if (!::mkdtemp(cache.data()) || ::setenv("XDG_CACHE_HOME", cache.c_str(), 1) != 0) return 1;
  const int status = RUN_ALL_TESTS();
  std::filesystem::remove_all(cache);
  return status;
}
