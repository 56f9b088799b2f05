#include <gtest/gtest.h>

#include "platform/collation.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Title order must not depend on the machine's locale.
  folivant::SetCollationLocale("en_US");
  return RUN_ALL_TESTS();
}
